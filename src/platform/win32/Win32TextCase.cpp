// Case folding without ICU: Windows' invariant lower-casing, corrected where Unicode's simple
// case folding differs from lower-casing, and a table for the scripts beyond the BMP, so that
// a text folds as it does on POSIX and keeps its length.
#include "platform/TextCase.h"

#include <climits>
#include <optional>

#include "platform/win32/WindowsApi.h"

namespace orv {

namespace {

struct Mapping {
    wchar_t from, to;
};

// Characters whose simple case folding is not their lower case (CaseFolding.txt, C and S).
constexpr Mapping kFoldingNotLowerCase[] = {
    {0x00B5, 0x03BC}, {0x0130, 0x0130}, {0x017F, 0x0073}, {0x0345, 0x03B9}, {0x03C2, 0x03C3},
    {0x03D0, 0x03B2}, {0x03D1, 0x03B8}, {0x03D5, 0x03C6}, {0x03D6, 0x03C0}, {0x03F0, 0x03BA},
    {0x03F1, 0x03C1}, {0x03F5, 0x03B5}, {0x1C80, 0x0432}, {0x1C81, 0x0434}, {0x1C82, 0x043E},
    {0x1C83, 0x0441}, {0x1C84, 0x0442}, {0x1C85, 0x0442}, {0x1C86, 0x044A}, {0x1C87, 0x0463},
    {0x1C88, 0xA64B}, {0x1E9B, 0x1E61}, {0x1E9E, 0x00DF}, {0x1FBE, 0x03B9},
};

std::optional<wchar_t> FoldingNotLowerCase(wchar_t c) {
    // Cherokee folds to its capital letters, the opposite way of lower-casing.
    if (c >= 0x13A0 && c <= 0x13F5) return c;
    if (c >= 0x13F8 && c <= 0x13FD) return static_cast<wchar_t>(c - 8);
    if (c >= 0xAB70 && c <= 0xABBF) return static_cast<wchar_t>(c - 0xAB70 + 0x13A0);
    for (const Mapping& mapping : kFoldingNotLowerCase) {
        if (mapping.from == c) return mapping.to;
    }
    return std::nullopt;
}

// The cased letters beyond the BMP: each range folds by one distance.
struct Range {
    char32_t first, last, distance;
};
constexpr Range kSupplementaryFolding[] = {
    {0x10400, 0x10427, 0x28},  // Deseret
    {0x104B0, 0x104D3, 0x28},  // Osage
    {0x10570, 0x1057A, 0x27}, {0x1057C, 0x1058A, 0x27},
    {0x1058C, 0x10592, 0x27}, {0x10594, 0x10595, 0x27},  // Vithkuqi
    {0x10C80, 0x10CB2, 0x40},                            // Old Hungarian
    {0x118A0, 0x118BF, 0x20},                            // Warang Citi
    {0x16E40, 0x16E5F, 0x20},                            // Medefaidrin
    {0x1E900, 0x1E921, 0x22},                            // Adlam
};

char32_t FoldSupplementary(char32_t c) {
    for (const Range& range : kSupplementaryFolding) {
        if (c >= range.first && c <= range.last) return c + range.distance;
    }
    return c;
}

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

int LowerCaseInto(const wchar_t* text, int length, wchar_t* out, int room) {
    return LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text, length, out, room, nullptr,
                         nullptr, 0);
}

// The invariant lower case, unit for unit. Should Windows ever map a unit to a different
// number of units, that unit is left as it is: the folding must keep positions.
std::wstring LowerCase(const std::wstring& text) {
    const int length = static_cast<int>(text.size());
    std::wstring lower(text.size(), L'\0');
    if (LowerCaseInto(text.data(), length, nullptr, 0) == length &&
        LowerCaseInto(text.data(), length, lower.data(), length) == length) {
        return lower;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t unit[2];
        lower[i] = LowerCaseInto(&text[i], 1, unit, 2) == 1 ? unit[0] : text[i];
    }
    return lower;
}

}  // namespace

std::wstring FoldCase(const std::wstring& text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return text;
    std::wstring folded = LowerCase(text);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            const char32_t c = FoldSupplementary(0x10000 + ((char32_t{text[i]} - 0xD800) << 10) +
                                                 (char32_t{text[i + 1]} - 0xDC00));
            folded[i] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            folded[++i] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else if (auto special = FoldingNotLowerCase(text[i])) {
            folded[i] = *special;
        }
    }
    return folded;
}

}  // namespace orv
