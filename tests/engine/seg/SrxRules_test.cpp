#include "engine/seg/SrxRules.h"

#include <gtest/gtest.h>

#include "TextTesting.h"
#include "engine/doc/DocumentSegmenter.h"
#include "platform/AutomationError.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

using Lines = std::vector<std::wstring>;

std::string Srx(const std::string& cascade, const std::string& languageRules,
                const std::string& maps) {
    return "<?xml version=\"1.0\"?>\n<srx xmlns=\"http://www.lisa.org/srx20\" version=\"2.0\">"
           "<header segmentsubflows=\"yes\" cascade=\"" +
           cascade + "\"/><body><languagerules>" + languageRules + "</languagerules><maprules>" +
           maps + "</maprules></body></srx>";
}

std::string Rules(const std::string& name, const std::string& rules) {
    return "<languagerule languagerulename=\"" + name + "\">" + rules + "</languagerule>";
}

std::string Rule(const std::string& breaks, const std::string& before, const std::string& after) {
    return "<rule break=\"" + breaks + "\"><beforebreak>" + before + "</beforebreak><afterbreak>" +
           after + "</afterbreak></rule>";
}

std::string Map(const std::string& pattern, const std::string& name) {
    return "<languagemap languagepattern=\"" + pattern + "\" languagerulename=\"" + name + "\"/>";
}

// English keeps "fig." and breaks after ";"; every other language breaks after ",".
std::string Example(const std::string& cascade) {
    return Srx(cascade,
               Rules("English", Rule("no", "\\bfig\\.", "\\s") + Rule("yes", ";", "\\s")) +
                   Rules("Other", Rule("yes", ",", "\\s")),
               Map("EN.*", "English") + Map(".*", "Other"));
}

Lines Split(const SrxRules& rules, const std::wstring& language, const std::wstring& text) {
    Segmenter segmenter(language, rules);
    Lines lines;
    for (const Segment& segment : segmenter.Split(test::Tagged(text)))
        lines.push_back(segment.text);
    return lines;
}

TEST(SrxRulesTest, TheMapsChooseTheRulesOfALanguageWithOrWithoutCascade) {
    orv::test::TempFolder folder;
    const SrxRules first = SrxRules::ReadFile(folder.Write("first.srx", Example("no")).wstring());
    const SrxRules all = SrxRules::ReadFile(folder.Write("all.srx", Example("yes")).wstring());
    const std::wstring text = L"See fig. Three, then stop; go on. Done.";
    struct Case {
        const SrxRules& rules;
        std::wstring language;
        Lines segments;
    };
    const Case cases[] = {
        // The pattern matches the whole tag, without regard to case.
        {first, L"en-US", {L"See fig. Three, then stop;", L"go on.", L"Done."}},
        {first, L"sw", {L"See fig.", L"Three,", L"then stop; go on.", L"Done."}},
        {first, L"xen", {L"See fig.", L"Three,", L"then stop; go on.", L"Done."}},
        {all, L"en-GB", {L"See fig. Three,", L"then stop;", L"go on.", L"Done."}},
        {all, L"", {L"See fig.", L"Three,", L"then stop; go on.", L"Done."}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Split(c.rules, c.language, text), c.segments) << c.language;
}

TEST(SrxRulesTest, ARulesFileTakesThePlaceOfTheBuiltInRules) {
    orv::test::TempFolder folder;
    const SrxRules rules = SrxRules::ReadFile(folder.Write("own.srx", Example("no")).wstring());
    const std::wstring text = L"Read http://host.example/a?Page=2 now. 1. Step";
    EXPECT_EQ(Split(SrxRules::BuiltIn(), L"en", text),
              (Lines{L"Read http://host.example/a?Page=2 now.", L"1.", L"Step"}));
    EXPECT_EQ(Split(rules, L"en", text),
              (Lines{L"Read http://host.example/a?", L"Page=2 now.", L"1.", L"Step"}));
    // Rules without expressions match everywhere: nothing is split at all.
    const SrxRules none = SrxRules::Parse(
        Srx("no", Rules("Keep", "<rule break=\"no\"/>"), Map(".*", "Keep")), L"Test rules");
    EXPECT_EQ(Split(none, L"en", L"One. Two! Three?"), (Lines{L"One. Two! Three?"}));
}

TEST(SrxRulesTest, AFileThatCannotBeUsedFailsWithTheFileAndTheRuleNamed) {
    orv::test::TempFolder folder;
    const std::wstring missing = folder.wpath("missing.srx");
    struct Case {
        std::string content;  // none: the file is not there
        std::wstring description;
    };
    const std::wstring english = L"rule 2 of the language rules \"English\"";
    const std::string good = Rule("no", "a", "b");
    const Case cases[] = {
        {"", L"cannot be read: the file does not exist"},
        {"<srx><body>", L"cannot be used: it is not well-formed XML"},
        {"<rules/>", L"cannot be used: it is not an SRX file (its root element is not srx)"},
        {Srx("no", Rules("English", good + Rule("no", "(abc", "x")), Map(".*", "English")),
         L"cannot be used: " + english +
             L" (its beforebreak) has a bad regular expression \"(abc\": a parenthesis is not "
             L"matched"},
        {Srx("no", Rules("English", good + Rule("yes", "x", "[ab")), Map(".*", "English")),
         L"cannot be used: " + english +
             L" (its afterbreak) has a bad regular expression \"[ab\": a bracket is not closed"},
        {Srx("no", Rules("English", good), Map("*en", "English")),
         L"cannot be used: the languagemap for \"English\" has a bad regular expression \"*en\": "
         L"it has a syntax error"},
        {Srx("no", Rules("English", good), Map(".*", "German")),
         L"cannot be used: the languagemap for \"German\" names language rules that the file "
         L"does not hold"},
        {Srx("no", "<languagerule>" + good + "</languagerule>", ""),
         L"cannot be used: a languagerule has no languagerulename"},
    };
    for (const Case& c : cases) {
        const std::wstring path =
            c.content.empty() ? missing : folder.Write("bad.srx", c.content).wstring();
        try {
            DocumentSegmenter segmenter(L"en", path);
            ADD_FAILURE() << "no error for " << c.content;
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.description(),
                      L"The segmentation rules file \"" + path + L"\" " + c.description);
        }
    }
}

}  // namespace
}  // namespace orv::engine
