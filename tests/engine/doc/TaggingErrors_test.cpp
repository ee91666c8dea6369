#include "engine/doc/TaggingErrors.h"

#include <gtest/gtest.h>

#include "DocumentTesting.h"
#include "engine/doc/MarkupDocument.h"

namespace orv::engine {
namespace {

using namespace std::string_literals;

TEST(TaggingErrorsTest, CountsEachFaultOfTheInlineTagsAsWritten) {
    struct Case {
        const char* markup;
        int64_t faults;
    };
    const Case cases[] = {
        {"<p>Fine <b>bold <i>both</i></b> <br> <img src=x> <br/></p>", 0},
        {"<p>Orphaned end</b></p>", 1},
        {"<p>Never closed <b>bold</p>", 1},
        {"<p><b><i>Crossed</b></i></p>", 1},
        {"<p><a><b><i>Twice crossed</a></b></i></p>", 2},
        {"<p><b>One</b> <B>case</b> <SPAN class='a>b'>quoted</SPAN></p>", 0},
        {"<p>Block tags do not count</div></li><td></p>", 0},
        // Across blocks an inline pair is still one pair.
        {"<a href=x><div>Card</div></a>", 0},
        {"<!-- <b> --><script>if (a <b) x = '</i>';</script><style>b</style><title><b></title>", 0},
        {"<![CDATA[<b>]]><?php echo '<i>' ?><!DOCTYPE x [<!ENTITY e '<b>'>]>", 0},
        {"a < b and c <= d, x<3 </ >", 0},
        {"<b title='it>s'>Quote opens only after =</b> <i class=it's>x</i>", 0},
        {"<i>The file ends inside a tag <b", 1},
        {"</b></i><u>", 3},
    };
    const MarkupRules html = DefaultHtmlRules();
    for (const Case& c : cases)
        EXPECT_EQ(CountMarkupTaggingErrors(c.markup, html, MarkupDialect::Html), c.faults)
            << c.markup;
}

TEST(TaggingErrorsTest, OnlyTheElementsThatTheRulesMakeInlineCount) {
    MarkupRules rules;
    EXPECT_EQ(CountMarkupTaggingErrors("<doc><p>a<e>b</p></doc>", rules, MarkupDialect::Xml), 0);
    rules.Set("e", ElementRole::Inline);
    EXPECT_EQ(CountMarkupTaggingErrors("<doc><p>a<e>b</p></doc>", rules, MarkupDialect::Xml), 1);
    EXPECT_EQ(CountMarkupTaggingErrors("<doc><p>a<e/>b</p></doc>", rules, MarkupDialect::Xml), 0);
    // In XML an element takes an end tag whatever its name.
    rules.Set("br", ElementRole::Inline);
    EXPECT_EQ(CountMarkupTaggingErrors("<p>a<br>b</p>", rules, MarkupDialect::Xml), 1);
    EXPECT_EQ(CountMarkupTaggingErrors("<p>a<br>b</p>", rules, MarkupDialect::Html), 0);
}

TEST(TaggingErrorsTest, MarkupInUtf16IsReadAsItsCharacters) {
    const std::string utf16 = "\xFF\xFE<\0b\0>\0x\0<\0/\0i\0>\0"s;
    EXPECT_EQ(CountMarkupTaggingErrors(*Utf16MarkupAsUtf8(utf16), DefaultHtmlRules(),
                                       MarkupDialect::Html),
              2);
    EXPECT_EQ(test::Read(utf16, DocumentFormat::Html).taggingErrors, 2);
}

}  // namespace
}  // namespace orv::engine
