#include "engine/match/Substitution.h"

#include <unicode/regex.h>

#include "engine/model/EngineError.h"
#include "engine/text/IcuText.h"

namespace orv::engine {

namespace {

// One mark a kind: private-use characters, which no source text is expected to hold.
constexpr wchar_t kDateMark = L'\uE0D1';
constexpr wchar_t kTimeMark = L'\uE0D2';
constexpr wchar_t kMeasurementMark = L'\uE0D3';
constexpr wchar_t kNumberMark = L'\uE0D4';

std::wstring Escaped(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L' ') {
            out += L"\\s+";
            continue;
        }
        if (!iswalnum(c)) out += L'\\';
        out += c;
    }
    return out;
}

// The regular expression of an ICU date-format pattern.
std::wstring DatePatternRegex(const std::wstring& pattern) {
    std::wstring regex;
    for (std::size_t i = 0; i < pattern.size();) {
        const wchar_t c = pattern[i];
        if (c == L'\'') {
            const std::size_t end = pattern.find(L'\'', i + 1);
            if (end == std::wstring::npos)
                RaiseEngineError(L"The date or time pattern \"" + pattern +
                                 L"\" opens a quotation that it does not close");
            regex += end == i + 1 ? L"'" : Escaped(pattern.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        std::size_t run = i;
        while (run < pattern.size() && pattern[run] == c) ++run;
        const std::size_t width = run - i;
        i = run;
        switch (c) {
            case L'd':
            case L'H':
            case L'h':
            case L'm':
            case L's':
            case L'k':
            case L'K':
                regex += width >= 2 ? L"\\d{2}" : L"\\d{1,2}";
                break;
            case L'M':
            case L'L':
                regex += width >= 3 ? L"\\p{L}+\\.?" : width == 2 ? L"\\d{2}" : L"\\d{1,2}";
                break;
            case L'y':
                regex += width == 2 ? L"\\d{2}" : width == 4 ? L"\\d{4}" : L"\\d{1,4}";
                break;
            case L'E':
            case L'a':
                regex += L"\\p{L}+\\.?";
                break;
            default:
                if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'))
                    RaiseEngineError(L"The date or time pattern \"" + pattern +
                                     L"\" uses the letter " + std::wstring(1, c) +
                                     L", which stands for nothing the analysis recognises");
                regex += Escaped(std::wstring(width, c));
        }
    }
    return regex;
}

std::wstring NumberRegex(const SubstitutionOptions& options) {
    const std::wstring decimal =
        Escaped(options.decimalSeparator.empty() ? L"." : options.decimalSeparator);
    const std::wstring group =
        Escaped(options.groupSeparator.empty() ? L"," : options.groupSeparator);
    return L"[-+]?(?:\\d{1,3}(?:" + group + L"\\d{3})+|\\d+)(?:" + decimal + L"\\d+)?";
}

std::wstring UnitsRegex() {
    std::wstring units;
    for (const wchar_t* unit : kMeasurementUnits)
        units += (units.empty() ? L"" : L"|") + Escaped(unit);
    return L"(?:" + units + L")";
}

std::unique_ptr<icu::RegexPattern> Compile(const std::wstring& regex, const std::wstring& what) {
    // Not inside a word or a number, so that "A4" or "v2" keep their digits.
    const std::wstring whole = L"(?<![\\p{L}\\p{N}])(?:" + regex + L")(?![\\p{L}\\p{N}])";
    UErrorCode status = U_ZERO_ERROR;
    UParseError where{};
    std::unique_ptr<icu::RegexPattern> pattern(
        icu::RegexPattern::compile(ToIcu(whole), 0, where, status));
    if (U_FAILURE(status) || !pattern)
        RaiseEngineError(L"The " + what + L" cannot be recognised in texts: " + regex);
    return pattern;
}

}  // namespace

bool IsSubstitutionMark(const std::wstring& token) {
    return token.size() == 1 && token[0] >= kDateMark && token[0] <= kNumberMark;
}

struct Substitution::Patterns {
    std::vector<std::pair<std::unique_ptr<icu::RegexPattern>, wchar_t>> ordered;
};

Substitution::Substitution(const SubstitutionOptions& options)
    : options_(options), patterns_(std::make_unique<Patterns>()) {
    auto& ordered = patterns_->ordered;
    if (options.dates) {
        for (const std::wstring* pattern : {&options.longDatePattern, &options.shortDatePattern})
            if (!pattern->empty())
                ordered.emplace_back(Compile(DatePatternRegex(*pattern), L"date pattern"),
                                     kDateMark);
    }
    if (options.times && !options.timePattern.empty())
        ordered.emplace_back(Compile(DatePatternRegex(options.timePattern), L"time pattern"),
                             kTimeMark);
    if (options.measurements)
        ordered.emplace_back(Compile(NumberRegex(options) + L"\\s?" + UnitsRegex(), L"measurement"),
                             kMeasurementMark);
    if (options.numbers)
        ordered.emplace_back(Compile(NumberRegex(options), L"number"), kNumberMark);
}

Substitution::~Substitution() = default;

Segment Substitution::Apply(const Segment& segment) const {
    if (patterns_->ordered.empty()) return segment;
    icu::UnicodeString text = ToIcu(segment.text);
    for (const auto& [pattern, mark] : patterns_->ordered) {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(text, status));
        const icu::UnicodeString replacement(static_cast<UChar>(mark));
        icu::UnicodeString replaced = matcher->replaceAll(replacement, status);
        if (U_FAILURE(status)) RaiseEngineError(L"A text could not be searched for values");
        text = replaced;
    }
    return Segment{FromIcu(text), segment.codes};
}

}  // namespace orv::engine
