#pragma once
// The SRX rules of one language applied to a text: at a position, the first rule whose
// `before` expression matches the text that ends there and whose `after` expression matches
// the text that begins there decides whether the position is a break.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <unicode/unistr.h>

#include "engine/seg/SrxRules.h"

U_NAMESPACE_BEGIN
class RegexMatcher;
U_NAMESPACE_END

namespace orv::engine {

class LanguageBreakRules {
public:
    explicit LanguageBreakRules(std::vector<SrxRule> rules);
    ~LanguageBreakRules();
    LanguageBreakRules(LanguageBreakRules&&) noexcept;
    LanguageBreakRules& operator=(LanguageBreakRules&&) noexcept;

    // The text the rules are tried on, until the next call; it must outlive that use.
    void SetText(const icu::UnicodeString& text);

    // Whether the first rule that matches at `position` of the text breaks there; none when
    // no rule matches.
    std::optional<bool> DecisionAt(int32_t position);

    // The positions inside the text (neither 0 nor its length) where a breaking rule
    // matches, in order, each once; an earlier rule may still keep one from being a break.
    std::vector<int32_t> ProposedBreaks();

private:
    struct Compiled {
        bool breaks;
        std::unique_ptr<icu::RegexMatcher> before;  // the expression, ending at the position
        std::unique_ptr<icu::RegexMatcher> after;
        std::unique_ptr<icu::RegexMatcher> both;  // before, then after as a look-ahead
    };

    std::vector<Compiled> rules_;
    int32_t length_ = 0;
};

}  // namespace orv::engine
