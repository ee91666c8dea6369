#include "engine/seg/Segmenter.h"

#include <gtest/gtest.h>

#include "TextTesting.h"

namespace orv::engine {
namespace {

using Lines = std::vector<std::wstring>;

// The segments with their codes written back as their content.
Lines Split(const std::wstring& markup, const std::wstring& language = L"en-US") {
    Segmenter segmenter(language);
    Lines lines;
    for (const Segment& segment : segmenter.Split(test::Tagged(markup))) {
        std::wstring line;
        std::size_t code = 0;
        for (wchar_t c : segment.text)
            line += c == kCodeMark ? segment.codes.at(code++).content : std::wstring(1, c);
        EXPECT_EQ(code, segment.codes.size()) << line;
        lines.push_back(line);
    }
    return lines;
}

TEST(SegmenterTest, SplitsSentencesButNotAfterTheLanguagesAbbreviations) {
    EXPECT_EQ(Split(L"Mr. Smith arrived. He said e.g. this. Prof. Jones left!  Why? Yes."),
              (Lines{L"Mr. Smith arrived.", L"He said e.g. this.", L"Prof. Jones left!", L"Why?",
                     L"Yes."}));
    // Without a language there are no abbreviations.
    EXPECT_EQ(Split(L"Mr. Smith arrived.", L""), (Lines{L"Mr.", L"Smith arrived."}));
    EXPECT_EQ(Split(L"Mr. Smith arrived.", L"not a tag!"), (Lines{L"Mr.", L"Smith arrived."}));
    EXPECT_EQ(Split(L"Mr. Smith arrived.", L"en_GB"), (Lines{L"Mr. Smith arrived."}));
    EXPECT_EQ(Split(L"これはペンです。あれは本です。", L"ja"),
              (Lines{L"これはペンです。", L"あれは本です。"}));
}

// The built-in rules over the sentence boundaries: addresses are one token, and a number that
// starts a paragraph or a line numbers a heading or an item.
TEST(SegmenterTest, NoSentenceEndsInsideAnAddressOrAfterAHeadingsNumber) {
    struct Case {
        std::wstring text;
        std::wstring language;
        Lines segments;
    };
    const Case cases[] = {
        {L"See http://www.ietf.org/rfc.cgi?number=2119 for details. Then go.",
         L"en-US",
         {L"See http://www.ietf.org/rfc.cgi?number=2119 for details.", L"Then go."}},
        {L"Get ftp://host.example/Pub/rfc2119.txt?Mode=A now.",
         L"en",
         {L"Get ftp://host.example/Pub/rfc2119.txt?Mode=A now."}},
        {L"Write to mailto:john@example.com?Subject=Hi now.",
         L"en",
         {L"Write to mailto:john@example.com?Subject=Hi now."}},
        {L"Go to x.org/?q=1 or run ./configure?Yes, then stop!",
         L"en",
         {L"Go to x.org/?q=1 or run ./configure?Yes, then stop!"}},
        {L"Visit www.Example.com. It is new.", L"en", {L"Visit www.Example.com.", L"It is new."}},
        {L"Write to John.Smith@Example.com today.",
         L"en",
         {L"Write to John.Smith@Example.com today."}},
        {L"Open readme.Txt first.", L"fr", {L"Open readme.Txt first."}},
        {L"2. Installation", L"en-US", {L"2. Installation"}},
        {L"<b>3.1. Scope</b> of this part. Next.",
         L"en-US",
         {L"<b>3.1. Scope</b> of this part.", L"Next."}},
        {L"Steps:\n1. Open it.\n2. Save it.", L"en", {L"Steps:\n1. Open it.", L"2. Save it."}},
        {L"We counted 2. Then we left.", L"en", {L"We counted 2.", L"Then we left."}},
        {L"Er kam am 3. Oktober an.", L"de-DE", {L"Er kam am 3. Oktober an."}},
        {L"He came on the 3. October is late.",
         L"en-US",
         {L"He came on the 3.", L"October is late."}},
    };
    for (const Case& c : cases) EXPECT_EQ(Split(c.text, c.language), c.segments) << c.text;
}

TEST(SegmenterTest, ABlankLineAlwaysEndsASegment) {
    const std::wstring text =
        L"Title without a stop\n\nFirst sentence\ncontinues here. Second one.\r\n \t\r\n"
        L"Mr.\n\nSmith\u2029Last";
    EXPECT_EQ(Split(text), (Lines{L"Title without a stop", L"First sentence\ncontinues here.",
                                  L"Second one.", L"Mr.", L"Smith", L"Last"}));
}

TEST(SegmenterTest, TrimsSegmentsAndDropsThoseWithoutText) {
    EXPECT_EQ(Split(L"  Hello.   \n\n \u00A0 \n\n\tWorld.  "), (Lines{L"Hello.", L"World."}));
    EXPECT_EQ(Split(L""), Lines{});
    EXPECT_EQ(Split(L" \r\n\t "), Lines{});
    EXPECT_EQ(Split(L"<br/>\n\n<b> </b>\n\nText."), (Lines{L"Text."}));
}

TEST(SegmenterTest, InlineCodesStayInTheSegmentOfTheirMark) {
    EXPECT_EQ(Split(L"<b>First sentence.</b> Second <i>one</i>. <br/>Third."),
              (Lines{L"<b>First sentence.</b>", L"Second <i>one</i>.", L"<br/>Third."}));
    EXPECT_EQ(Split(L"Done.<br/> Next. <i>Last.</i>"),
              (Lines{L"Done.<br/>", L"Next.", L"<i>Last.</i>"}));
    EXPECT_EQ(Split(L"Done. </b>Next."), (Lines{L"Done. </b>", L"Next."}));

    // A mark that the caller gave no code for still gets one.
    Segmenter segmenter(L"en");
    auto segments = segmenter.Split(Segment{L"A is done.\uFFFC Then B.", {}});
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0], (Segment{L"A is done.\uFFFC", {InlineCode{}}}));
    EXPECT_EQ(segments[1], (Segment{L"Then B.", {}}));
}

TEST(SegmenterTest, OneSegmenterSplitsManyTexts) {
    Segmenter segmenter(L"en-GB");
    for (int round = 0; round < 3; ++round) {
        auto segments = segmenter.Split(Segment{L"One. Two.", {}});
        ASSERT_EQ(segments.size(), 2u);
        EXPECT_EQ(segments[1].text, L"Two.");
    }
}

}  // namespace
}  // namespace orv::engine
