#include "standin/FakeApplication.h"

#include "platform/AutomationError.h"

namespace orv::test {

FakeApplication::FakeApplication() {
    tm->duringJob = [this] {
        if (cancelProcessedFiles >= 0) OnBatchCancelledByUser.Raise(cancelProcessedFiles);
    };
}

void FakeApplication::Quit() {
    ++quitCalls;
    tm->Close();
}

void FakeApplication::CreateTM(const std::wstring& path, const std::wstring& note1,
                               int32_t sourceLanguage, const std::wstring& note2,
                               int32_t targetLanguage, const std::wstring& note3, int32_t number1,
                               int32_t number2, int32_t number3, int32_t number4, int32_t number5,
                               int32_t number6, int32_t number7, const std::wstring& text1,
                               const std::wstring& text2, const std::wstring& text3) {
    std::wstring arguments = path + L"|" + note1 + L"|" + std::to_wstring(sourceLanguage) + L"|" +
                             note2 + L"|" + std::to_wstring(targetLanguage) + L"|" + note3;
    for (const int32_t number : {number1, number2, number3, number4, number5, number6, number7})
        arguments += L"|" + std::to_wstring(number);
    lastCreateTM = arguments + L"|" + text1 + L"|" + text2 + L"|" + text3;
    if (sourceLanguage <= 0 || targetLanguage <= 0)
        throw AutomationError(50001, L"Tessapp", L"Tessera does not know the language");
    tm->sourceLanguage = sourceLanguage;
    tm->targetLanguages = {targetLanguage};
    tm->open = true;
}

}  // namespace orv::test
