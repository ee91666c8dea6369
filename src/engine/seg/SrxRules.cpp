#include "engine/seg/SrxRules.h"

#include <unicode/regex.h>

#include "engine/model/EngineError.h"
#include "engine/seg/BuiltInRules.h"
#include "engine/text/IcuText.h"
#include "engine/text/PlainTextDocument.h"
#include "engine/text/Utf8.h"
#include "engine/xml/Libxml.h"
#include "platform/AutomationError.h"

namespace orv::engine {
namespace {

using libxml::View;

// SRX 2.0 elements are in a namespace, older files' in none: both are read by local name.
bool Is(xmlNodePtr node, std::string_view name) {
    return node && node->type == XML_ELEMENT_NODE && View(node->name) == name;
}

xmlNodePtr Child(xmlNodePtr parent, std::string_view name) {
    for (xmlNodePtr child = parent ? parent->children : nullptr; child; child = child->next)
        if (Is(child, name)) return child;
    return nullptr;
}

std::vector<xmlNodePtr> Children(xmlNodePtr parent, std::string_view name) {
    std::vector<xmlNodePtr> children;
    for (xmlNodePtr child = parent ? parent->children : nullptr; child; child = child->next)
        if (Is(child, name)) children.push_back(child);
    return children;
}

// A rule without the element matches anything there: the empty expression.
std::string TextOf(xmlNodePtr element) {
    return element ? libxml::TextContent(element) : std::string();
}

bool IsYes(const std::string& value) {
    return value == "yes" || value == "true";
}

std::wstring WhyBad(UErrorCode status) {
    switch (status) {
        case U_REGEX_MISMATCHED_PAREN:
            return L"a parenthesis is not matched";
        case U_REGEX_MISSING_CLOSE_BRACKET:
            return L"a bracket is not closed";
        case U_REGEX_INVALID_RANGE:
            return L"a range of characters is not written right";
        case U_REGEX_MAX_LT_MIN:
            return L"a count's maximum is less than its minimum";
        case U_REGEX_BAD_ESCAPE_SEQUENCE:
            return L"it holds an escape sequence that is not known";
        case U_REGEX_PROPERTY_SYNTAX:
            return L"a character property is not written right";
        case U_REGEX_LOOK_BEHIND_LIMIT:
            return L"a look-behind has no bounded length";
        case U_REGEX_RULE_SYNTAX:
            return L"it has a syntax error";
        default:
            return L"it is not a valid regular expression";
    }
}

class SrxReader {
public:
    explicit SrxReader(const std::wstring& origin) : origin_(origin) {}

    [[noreturn]] void Fail(const std::wstring& why) const {
        RaiseEngineError(origin_ + L" cannot be used: " + why);
    }

    std::shared_ptr<const icu::RegexPattern> Compile(const std::string& expression, uint32_t flags,
                                                     const std::wstring& where) const {
        UParseError position{};
        UErrorCode status = U_ZERO_ERROR;
        std::shared_ptr<const icu::RegexPattern> pattern(
            icu::RegexPattern::compile(ToIcu(FromUtf8(expression)), flags, position, status));
        if (U_FAILURE(status) || !pattern)
            Fail(where + L" has a bad regular expression \"" + FromUtf8(expression) + L"\": " +
                 WhyBad(status));
        return pattern;
    }

private:
    const std::wstring& origin_;
};

}  // namespace

SrxRules SrxRules::ReadFile(const std::wstring& path) {
    const std::wstring origin = L"The segmentation rules file \"" + path + L"\"";
    std::string bytes;
    try {
        bytes = ReadDocumentFileBytes(path);
    } catch (const AutomationError& error) {
        std::wstring reason = error.description();
        if (!reason.empty() && reason[0] >= L'A' && reason[0] <= L'Z') reason[0] += L'a' - L'A';
        RaiseEngineError(origin + L" cannot be read: " + reason);
    }
    return Parse(bytes, origin);
}

SrxRules SrxRules::Parse(std::string_view srx, const std::wstring& origin) {
    const SrxReader reader(origin);
    const libxml::ParsedXml xml = libxml::ParseXml(srx, false);
    if (!xml.wellFormed || !xml.document) reader.Fail(L"it is not well-formed XML");
    const xmlNodePtr root = xmlDocGetRootElement(xml.document.get());
    if (!Is(root, "srx")) reader.Fail(L"it is not an SRX file (its root element is not srx)");
    const xmlNodePtr body = Child(root, "body");
    if (!body) reader.Fail(L"it has no body");

    SrxRules rules;
    const xmlNodePtr header = Child(root, "header");
    rules.cascade_ = header && IsYes(libxml::Attribute(header, "cascade"));
    for (xmlNodePtr languageRule : Children(Child(body, "languagerules"), "languagerule")) {
        const std::wstring name = FromUtf8(libxml::Attribute(languageRule, "languagerulename"));
        if (name.empty()) reader.Fail(L"a languagerule has no languagerulename");
        std::vector<SrxRule>& list = rules.rulesByName_[name];
        int number = 0;
        for (xmlNodePtr rule : Children(languageRule, "rule")) {
            const std::wstring where =
                L"rule " + std::to_wstring(++number) + L" of the language rules \"" + name + L"\"";
            const std::string breaks = libxml::Attribute(rule, "break");
            SrxRule compiled;
            compiled.breaks = breaks.empty() || IsYes(breaks);
            const std::string before = TextOf(Child(rule, "beforebreak"));
            const std::string after = TextOf(Child(rule, "afterbreak"));
            // Each on its own first, so that the error names the one that is wrong.
            reader.Compile(before, 0, where + L" (its beforebreak)");
            compiled.after = reader.Compile(after, 0, where + L" (its afterbreak)");
            compiled.before = reader.Compile("(?:" + before + ")\\z", 0, where);
            compiled.both = reader.Compile("(?:" + before + ")(?=" + after + ")", 0, where);
            list.push_back(std::move(compiled));
        }
    }
    for (xmlNodePtr map : Children(Child(body, "maprules"), "languagemap")) {
        LanguageMap languageMap;
        languageMap.rulesName = FromUtf8(libxml::Attribute(map, "languagerulename"));
        const std::string pattern = libxml::Attribute(map, "languagepattern");
        const std::wstring where = L"the languagemap for \"" + languageMap.rulesName + L"\"";
        if (!rules.rulesByName_.contains(languageMap.rulesName))
            reader.Fail(where + L" names language rules that the file does not hold");
        languageMap.pattern = reader.Compile(pattern, UREGEX_CASE_INSENSITIVE, where);
        rules.maps_.push_back(std::move(languageMap));
    }
    return rules;
}

const SrxRules& SrxRules::BuiltIn() {
    static const SrxRules rules = Parse(BuiltInSrxText(), L"The built-in segmentation rules");
    return rules;
}

std::vector<SrxRule> SrxRules::For(const std::wstring& language) const {
    const icu::UnicodeString tag = ToIcu(language);
    std::vector<SrxRule> chosen;
    for (const LanguageMap& map : maps_) {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::RegexMatcher> matcher(map.pattern->matcher(tag, status));
        if (U_FAILURE(status) || !matcher || !matcher->matches(status) || U_FAILURE(status))
            continue;
        const std::vector<SrxRule>& rules = rulesByName_.at(map.rulesName);
        chosen.insert(chosen.end(), rules.begin(), rules.end());
        if (!cascade_) break;
    }
    return chosen;
}

}  // namespace orv::engine
