#pragma once
// Segmentation rules as SRX 2.0 files hold them: per language, an ordered list of rules, each
// a regular expression for the text before a position and one for the text after it, and
// whether a position where both match is a break or not; maps from language patterns to
// those lists choose the rules of a language. The regular expressions are ICU's, which is
// the syntax SRX 2.0 names. Every rule is compiled as the file is read, so that a bad one
// fails at once, not when a document happens to need it.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

namespace orv::engine {

// A rule without `beforebreak` or `afterbreak` matches any text there. None of the patterns
// is null.
struct SrxRule {
    bool breaks = true;
    // `beforebreak`, held to end where it is tried.
    std::shared_ptr<const icu::RegexPattern> before;
    // `afterbreak`, as written: it is tried from the position on.
    std::shared_ptr<const icu::RegexPattern> after;
    // `beforebreak` followed by `afterbreak` as a look-ahead: each match ends at a position
    // where the rule applies.
    std::shared_ptr<const icu::RegexPattern> both;
};

class SrxRules {
public:
    // The rules of the SRX file at `path`. Throws an engine error that names the file and
    // says why it cannot be used: it cannot be read, is no SRX, or a rule's or a map's
    // regular expression is bad (the error names that rule).
    static SrxRules ReadFile(const std::wstring& path);
    // The rules of SRX text; `origin` begins each error's description ("The segmentation
    // rules file \"/x.srx\"").
    static SrxRules Parse(std::string_view srx, const std::wstring& origin);
    // The rules compiled into the engine (DefaultRules.srx), read once.
    static const SrxRules& BuiltIn();

    // The rules for `language` (a BCP 47 tag), in the order they are tried: those of the
    // first map whose pattern matches the whole tag, without regard to case; when the header
    // says `cascade="yes"`, those of every map that matches, in the maps' order.
    std::vector<SrxRule> For(const std::wstring& language) const;

private:
    struct LanguageMap {
        std::shared_ptr<const icu::RegexPattern> pattern;
        std::wstring rulesName;
    };

    bool cascade_ = false;
    std::map<std::wstring, std::vector<SrxRule>> rulesByName_;
    std::vector<LanguageMap> maps_;
};

}  // namespace orv::engine
