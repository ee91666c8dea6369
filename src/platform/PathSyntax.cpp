#include "platform/PathSyntax.h"

namespace orv {

bool IsPathSeparator(wchar_t c, PathStyle style) {
    return c == L'/' || (style == PathStyle::Windows && c == L'\\');
}

std::wstring::size_type LastSeparator(const std::wstring& path, PathStyle style) {
    for (auto i = path.size(); i-- > 0;) {
        if (IsPathSeparator(path[i], style)) return i;
    }
    return std::wstring::npos;
}

std::wstring LastPathComponent(const std::wstring& path, PathStyle style) {
    auto separator = LastSeparator(path, style);
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring FolderOfPath(const std::wstring& path, PathStyle style) {
    auto separator = LastSeparator(path, style);
    if (separator == std::wstring::npos) return path;
    // A file in the root keeps the root, so that the folder is never an empty text.
    return path.substr(0, separator == 0 ? 1 : separator);
}

std::wstring ExtensionOfPath(const std::wstring& path, PathStyle style) {
    std::wstring name = LastPathComponent(path, style);
    auto dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1);
}

std::wstring BaseNameOfPath(const std::wstring& path, PathStyle style) {
    std::wstring name = LastPathComponent(path, style);
    auto dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring WithExtension(const std::wstring& path, const std::wstring& extension,
                           PathStyle style) {
    if (path.empty()) return {};
    const auto separator = LastSeparator(path, style);
    const auto nameStart = separator == std::wstring::npos ? 0 : separator + 1;
    const auto dot = path.rfind(L'.');
    std::wstring result = path;
    if (dot != std::wstring::npos && dot >= nameStart) result.erase(dot);
    return result + extension;
}

bool MatchesWildcard(const std::wstring& pattern, const std::wstring& name) {
    // Backtracks only to the last "*", which is enough: a later star can match whatever an
    // earlier one would have taken.
    std::size_t p = 0, n = 0;
    std::size_t star = std::wstring::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            starName = n;
        } else if (star != std::wstring::npos) {
            p = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

}  // namespace orv
