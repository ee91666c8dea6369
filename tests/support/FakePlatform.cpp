#include "support/FakePlatform.h"

#include <cwctype>

#include "support/MemoryFileSystem.h"

namespace orv::test {

std::wstring FakePlatform::GetEnvironmentVariable(const std::wstring& name) const {
    auto found = environment.find(name);
    return found == environment.end() ? std::wstring() : found->second;
}

std::wstring FakePlatform::CreateUniqueTempFile(const std::wstring& folder,
                                                const std::wstring& prefix) const {
    ++tempFileRequests;
    lastTempFolder = folder;
    if (failTempFile) return {};
    if (tempFilesIn) return tempFilesIn->CreateUniqueFile(folder, prefix);
    return DefaultPlatform()->CreateUniqueTempFile(folder, prefix);
}

OsFamily FakePlatform::GetOsFamily() const {
    ++osFamilyQueries;
    return osFamily;
}

std::wstring FakePlatform::FormatNineTenths() const {
    return std::wstring(L"0") + decimalSeparator + L"9";
}

std::optional<double> FakePlatform::ParseNumber(const std::wstring& text) const {
    std::size_t i = 0, end = text.size();
    while (i < end && text[i] == L' ') ++i;
    while (end > i && text[end - 1] == L' ') --end;
    std::wstring plain;
    bool digits = false, separator = false;
    for (std::size_t k = i; k < end; ++k) {
        wchar_t c = text[k];
        if ((c == L'-' || c == L'+') && k == i) {
            plain += c;
        } else if (std::iswdigit(c)) {
            plain += c;
            digits = true;
        } else if (c == decimalSeparator && !separator) {
            plain += L'.';
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    return std::stod(plain);
}

}  // namespace orv::test
