#pragma once
// The Tessera application reached by COM. Every member is a late-bound call by name; the TM
// and the option groups it hands out are wrapped once per object, so repeated reads reuse
// their looked-up dispatch ids. While this wrapper lives it is connected to the
// application's batch event interface, and OnBatchCancelledByUser is raised on the thread
// the event arrives on, before the application's call returns; destruction disconnects.
// Used on the thread that made it.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include "com/client/BatchEventSink.h"
#include "com/client/ComOptionGroups.h"
#include "com/client/ComTesseraTM.h"
#include "com/client/EventConnection.h"
#include "com/client/LateBoundDispatch.h"
#include "com/client/WrapperCache.h"
#include "tessera/TessappApplication.h"

namespace orv::com {

class ComTesseraApplication final : public TessappApplication {
public:
    explicit ComTesseraApplication(Microsoft::WRL::ComPtr<IDispatch> application);
    ~ComTesseraApplication() override;
    ComTesseraApplication(const ComTesseraApplication&) = delete;
    ComTesseraApplication& operator=(const ComTesseraApplication&) = delete;

    std::shared_ptr<TessappTM> get_CurrentTM() override;

#define ORV_COM_GROUP_GETTER(group, list) std::shared_ptr<Tessapp##group> get_##group() override;
    ORV_OPTION_GROUPS(ORV_COM_GROUP_GETTER)
#undef ORV_COM_GROUP_GETTER

    void Quit() override;
    void CreateTM(const std::wstring& path, const std::wstring& note1, int32_t sourceLanguage,
                  const std::wstring& note2, int32_t targetLanguage, const std::wstring& note3,
                  int32_t number1, int32_t number2, int32_t number3, int32_t number4,
                  int32_t number5, int32_t number6, int32_t number7, const std::wstring& text1,
                  const std::wstring& text2, const std::wstring& text3) override;

    // Whether the application took the event connection (an application without the
    // connection point is driven all the same, and raises no events).
    bool receivesEvents() const noexcept {
        return events_.active();
    }

private:
    Microsoft::WRL::ComPtr<IDispatch> Object(const wchar_t* property);

    LateBoundDispatch dispatch_;
    Microsoft::WRL::ComPtr<BatchEventSink> sink_;
    EventConnection events_;
    WrapperCache<ComTesseraTM> currentTM_;
#define ORV_COM_GROUP_CACHE(group, list) WrapperCache<Com##group> group##_;
    ORV_OPTION_GROUPS(ORV_COM_GROUP_CACHE)
#undef ORV_COM_GROUP_CACHE
};

}  // namespace orv::com
