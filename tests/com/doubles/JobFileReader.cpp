#include "JobFileReader.h"

#include <cwchar>
#include <cwctype>
#include <map>

namespace orv::testdoubles {
namespace {

std::wstring Trimmed(const std::wstring& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::iswspace(text[begin])) ++begin;
    while (end > begin && std::iswspace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::wstring Unquoted(std::wstring value) {
    if (!value.empty() && value.front() == L'"') value.erase(0, 1);
    if (!value.empty() && value.back() == L'"') value.pop_back();
    return value;
}

bool SameName(const std::wstring& a, const wchar_t* b) {
    return _wcsicmp(a.c_str(), b) == 0;
}

// The n of a key "File<n>", or 0 for any other key.
unsigned long DocumentNumber(const std::wstring& key) {
    if (key.size() < 5 || _wcsnicmp(key.c_str(), L"File", 4) != 0) return 0;
    unsigned long number = 0;
    for (size_t i = 4; i < key.size(); ++i) {
        if (!std::iswdigit(key[i]) || number > 100000) return 0;
        number = number * 10 + static_cast<unsigned long>(key[i] - L'0');
    }
    return number;
}

}  // namespace

JobFileContent ReadJobFileContent(const std::wstring& text) {
    JobFileContent content;
    std::map<unsigned long, std::wstring> documents;
    std::wstring section;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t equals = line.find(L'=');
        if (equals == std::wstring::npos) continue;
        const std::wstring key = Trimmed(line.substr(0, equals));
        const std::wstring value = Unquoted(Trimmed(line.substr(equals + 1)));
        if (SameName(section, L"Analyse") && SameName(key, L"LogFile")) {
            content.logFile = value;
        } else if (SameName(section, L"Task1")) {
            if (const unsigned long number = DocumentNumber(key)) documents[number] = value;
        }
    }
    for (unsigned long expected = 1; documents.count(expected); ++expected)
        content.documents.push_back(documents[expected]);
    return content;
}

}  // namespace orv::testdoubles
