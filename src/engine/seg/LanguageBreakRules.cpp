#include "engine/seg/LanguageBreakRules.h"

#include <algorithm>

#include <unicode/regex.h>

#include "engine/model/EngineError.h"

namespace orv::engine {
namespace {

// How far back from a position a `beforebreak` expression is tried. Rules look back a few
// words; the bound keeps a long paragraph from costing its length at every position. Where
// the paragraph begins farther back, "^" also matches where the look back begins.
constexpr int32_t kLookBehind = 500;

std::unique_ptr<icu::RegexMatcher> MatcherOf(const icu::RegexPattern& pattern) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(status));
    if (U_FAILURE(status) || !matcher)
        RaiseEngineError(L"The segmentation rules cannot be used: there is not enough memory");
    // The expressions see the text around the part they are tried on ("\b", look-arounds), and
    // "^" and "\z" match at that part's edges.
    matcher->useTransparentBounds(true);
    matcher->useAnchoringBounds(true);
    return matcher;
}

}  // namespace

LanguageBreakRules::LanguageBreakRules(std::vector<SrxRule> rules) {
    rules_.reserve(rules.size());
    for (const SrxRule& rule : rules)
        rules_.push_back(
            {rule.breaks, MatcherOf(*rule.before), MatcherOf(*rule.after), MatcherOf(*rule.both)});
}

LanguageBreakRules::~LanguageBreakRules() = default;
LanguageBreakRules::LanguageBreakRules(LanguageBreakRules&&) noexcept = default;
LanguageBreakRules& LanguageBreakRules::operator=(LanguageBreakRules&&) noexcept = default;

void LanguageBreakRules::SetText(const icu::UnicodeString& text) {
    length_ = text.length();
    for (Compiled& rule : rules_) {
        rule.before->reset(text);
        rule.after->reset(text);
        rule.both->reset(text);
    }
}

std::optional<bool> LanguageBreakRules::DecisionAt(int32_t position) {
    for (Compiled& rule : rules_) {
        UErrorCode status = U_ZERO_ERROR;
        rule.after->region(position, length_, status);
        if (U_FAILURE(status) || !rule.after->lookingAt(status) || U_FAILURE(status)) continue;
        rule.before->region(std::max(0, position - kLookBehind), position, status);
        if (U_FAILURE(status) || !rule.before->find()) continue;
        return rule.breaks;
    }
    return std::nullopt;
}

std::vector<int32_t> LanguageBreakRules::ProposedBreaks() {
    std::vector<int32_t> proposed;
    for (Compiled& rule : rules_) {
        if (!rule.breaks) continue;
        UErrorCode status = U_ZERO_ERROR;
        int32_t from = 0;
        while (from <= length_ && rule.both->find(from, status) && U_SUCCESS(status)) {
            const int32_t end = rule.both->end(status);
            if (U_FAILURE(status)) break;
            if (end > 0 && end < length_) proposed.push_back(end);
            // An empty match moves on by one, others from where they ended.
            from = std::max(end, rule.both->start(status) + 1);
        }
    }
    std::sort(proposed.begin(), proposed.end());
    proposed.erase(std::unique(proposed.begin(), proposed.end()), proposed.end());
    return proposed;
}

}  // namespace orv::engine
