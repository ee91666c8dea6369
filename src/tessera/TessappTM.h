#pragma once
// A translation memory inside Tessera, as the component calls it. Every failing call throws
// AutomationError with Tessera's own number, source and description.

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

class TessappTM {
public:
    virtual ~TessappTM() = default;

    virtual int32_t get_SourceLanguage() const = 0;
    virtual void Close() = 0;
    // A wrong password fails with a description that contains "50000" or "50003".
    virtual void Open(const std::wstring& path, const std::wstring& userName,
                      const std::wstring& password, const std::wstring& mode) = 0;
    // Runs the job file and returns when its tasks are done and the analysis log and its
    // CSV log file are written.
    virtual void ExecuteJobFile(const std::wstring& jobFilePath) = 0;
    virtual std::vector<int32_t> get_TargetLanguages() const = 0;
    // Selects the target language; throws when the TM cannot.
    virtual void put_TargetLanguage(int32_t languageId) = 0;
    virtual bool get_IsOpen() const = 0;
};

}  // namespace orv
