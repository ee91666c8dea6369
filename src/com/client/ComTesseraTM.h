#pragma once
// A TM of the Tessera application reached by COM: every member a late-bound call by name.
// Failures throw AutomationError with Tessera's own number, source and description.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include "com/client/LateBoundDispatch.h"
#include "tessera/TessappTM.h"

namespace orv::com {

class ComTesseraTM final : public TessappTM {
public:
    explicit ComTesseraTM(Microsoft::WRL::ComPtr<IDispatch> tm);

    int32_t get_SourceLanguage() const override;
    void Close() override;
    void Open(const std::wstring& path, const std::wstring& userName, const std::wstring& password,
              const std::wstring& mode) override;
    void ExecuteJobFile(const std::wstring& jobFilePath) override;
    // Read in whichever array form Tessera hands it out (see LongsOf).
    std::vector<int32_t> get_TargetLanguages() const override;
    void put_TargetLanguage(int32_t languageId) override;
    bool get_IsOpen() const override;

private:
    LateBoundDispatch dispatch_;
};

}  // namespace orv::com
