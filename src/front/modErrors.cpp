#include "front/modErrors.h"

namespace orv::modErrors {
namespace {

constexpr const wchar_t* kLineBreak = L"\r\n";

std::wstring RequiredPropertiesText() {
    return std::wstring(L"Required properties are:") + kLineBreak +
           L"1. path to tm; 2. user name; 3. target language" + kLineBreak + L"or" + kLineBreak +
           L"1. source language; 2. target language (with CreateEmptyTM = true)";
}

std::wstring WithRequiredProperties(const wchar_t* firstLine) {
    return firstLine + std::wstring(kLineBreak) + RequiredPropertiesText();
}

std::wstring Quoted(const std::wstring& detail) {
    return L"\"" + detail + L"\"";
}

}  // namespace

std::wstring GetErrorMessage(int32_t code, const std::wstring& detail) {
    switch (code) {
        case ovOrvBatchAnalyseErrorUnableToOpenTes:
            return L"Unable to open Tessera";
        case ovOrvBatchAnalyseErrorDuringAnalysis:
            return L"Error during analysis.";
        case ovOrvBatchAnalyseErrorUnableToFindFile:
            return L"Unable to find file: " + Quoted(detail);
        case ovOrvBatchAnalyseErrorUnableToFindDirectory:
            return L"Unable to find directory: " + Quoted(detail);
        case ovOrvBatchAnalyseErrorUnableToFindLogFile:
            return L"Unable to find log file.";
        case ovOrvBatchAnalyseErrorNoSourceLanguageSpecified:
            return WithRequiredProperties(L"No source language specified.");
        case ovOrvBatchAnalyseErrorNoTargetLanguageSpecified:
            return WithRequiredProperties(L"No target language specified.");
        case ovOrvBatchAnalyseErrorNoTmSpecified:
            return WithRequiredProperties(L"No translation memory specified.");
        case ovOrvBatchAnalyseErrorNoUserNameSpecified:
            return WithRequiredProperties(L"No user name specified.");
        case ovOrvBatchAnalyseErrorTmDoesntExist:
            return L"Translation memory doesn't exist.";
        case ovOrvBatchAnalyseErrorFileBiggerThan64kOnWin9x:
            return L"Tessera can't read job files bigger than 64kB on Win9x systems.";
        default:
            return L"Unknown error";
    }
}

void RaiseError(int32_t code, const std::wstring& detail, const std::wstring& source) {
    throw AutomationError(code, source, GetErrorMessage(code, detail));
}

}  // namespace orv::modErrors
