#include "standin/FakeTM.h"

#include <algorithm>

#include "platform/AutomationError.h"

namespace orv::test {
namespace {

constexpr int32_t kTesseraFailure = 50001;

[[noreturn]] void Fail(const std::wstring& description) {
    throw AutomationError(kTesseraFailure, L"Tessapp", description);
}

}  // namespace

void FakeTM::Open(const std::wstring& path, const std::wstring& userName,
                  const std::wstring& password, const std::wstring& mode) {
    lastOpen = path + L"|" + userName + L"|" + password + L"|" + mode;
    if (userName == L"nobody") Fail(L"Error 50000: the user is not known in " + path);
    if (password == L"wrong") Fail(L"Error 50003: the password is wrong for " + path);
    open = true;
}

void FakeTM::ExecuteJobFile(const std::wstring& jobFilePath) {
    if (jobFilePath.empty()) Fail(L"No job file given");
    jobFiles.push_back(jobFilePath);
    if (duringJob) duringJob();
}

void FakeTM::put_TargetLanguage(int32_t languageId) {
    if (std::find(targetLanguages.begin(), targetLanguages.end(), languageId) ==
        targetLanguages.end())
        Fail(L"The TM has no target language " + std::to_wstring(languageId));
    targetLanguage = languageId;
}

}  // namespace orv::test
