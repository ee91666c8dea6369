#pragma once
// Tessera's application object, as the component calls it. Whatever stands in Tessera's
// place implements this: the embedded engine, the real application reached through COM, or
// a fake in tests. Every failing call throws AutomationError with its own number, source and
// description.

#include <cstdint>
#include <memory>
#include <string>

#include "tessera/EventSource.h"
#include "tessera/TessappOptions.h"
#include "tessera/TessappTM.h"

namespace orv {

class TessappApplication {
public:
    virtual ~TessappApplication() = default;

    // The application's TM object, or none.
    virtual std::shared_ptr<TessappTM> get_CurrentTM() = 0;

#define ORV_GROUP_GETTER(group, list) virtual std::shared_ptr<Tessapp##group> get_##group() = 0;
    ORV_OPTION_GROUPS(ORV_GROUP_GETTER)
#undef ORV_GROUP_GETTER

    // Ends the application.
    virtual void Quit() = 0;

    // Creates a TM at `path` in the two languages and makes it the open CurrentTM. The
    // component passes empty texts for the four note arguments, -1 for the seven numbers
    // and empty texts for the last three; their meaning is the application's.
    virtual void CreateTM(const std::wstring& path, const std::wstring& note1,
                          int32_t sourceLanguage, const std::wstring& note2, int32_t targetLanguage,
                          const std::wstring& note3, int32_t number1, int32_t number2,
                          int32_t number3, int32_t number4, int32_t number5, int32_t number6,
                          int32_t number7, const std::wstring& text1, const std::wstring& text2,
                          const std::wstring& text3) = 0;

    // Raised when the user cancels a batch; the argument is the number of files processed.
    EventSource<int32_t> OnBatchCancelledByUser;
};

}  // namespace orv
