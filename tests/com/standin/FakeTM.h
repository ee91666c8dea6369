#pragma once
// The TM of the fake application: it keeps what it was given so that a test can read it,
// and fails as a TM fails, with number 50001 and a description in Tessera's words: password
// "wrong" (50003 in the text), user "nobody" (50000), a target language it does not have,
// an empty job file path.

#include <functional>
#include <string>
#include <vector>

#include "tessera/TessappTM.h"

namespace orv::test {

class FakeTM final : public TessappTM {
public:
    int32_t get_SourceLanguage() const override { return sourceLanguage; }
    void Close() override { open = false; }
    void Open(const std::wstring& path, const std::wstring& userName, const std::wstring& password,
              const std::wstring& mode) override;
    void ExecuteJobFile(const std::wstring& jobFilePath) override;
    std::vector<int32_t> get_TargetLanguages() const override { return targetLanguages; }
    void put_TargetLanguage(int32_t languageId) override;
    bool get_IsOpen() const override { return open; }

    bool open = false;
    int32_t sourceLanguage = 1033;
    std::vector<int32_t> targetLanguages{1031, 1036, 1040};
    int32_t targetLanguage = 0;
    std::wstring lastOpen;  // "path|user|password|mode"
    std::vector<std::wstring> jobFiles;
    // Called by ExecuteJobFile before it returns (the application raises its event there).
    std::function<void()> duringJob;
};

}  // namespace orv::test
