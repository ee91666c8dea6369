#include "engine/text/Tokenizer.h"

#include <gtest/gtest.h>

#include "TextTesting.h"

namespace orv::engine {

void PrintTo(Token::Kind kind, std::ostream* out) {
    const char* names[] = {"Word", "Number", "Punctuation", "Code", "Url", "Email", "Placeholder"};
    *out << names[static_cast<int>(kind)];
}

namespace {

using Kind = Token::Kind;
using test::Tagged;

// "text/kind" for each token, kinds as W N P C U E, and V for a placeholder.
std::wstring Describe(const std::wstring& markup) {
    std::wstring described;
    for (const Token& token : Tokenize(Tagged(markup)).tokens) {
        if (!described.empty()) described += L' ';
        described += token.kind == Kind::Code ? L"#" : token.text;
        described += L'/';
        described += L"WNPCUEV"[static_cast<int>(token.kind)];
    }
    return described;
}

TEST(TokenizerTest, SplitsTextIntoWordsNumbersPunctuationCodesUrlsAndEmails) {
    struct Case {
        const wchar_t* text;
        const wchar_t* tokens;
    };
    const Case cases[] = {
        {L"Don't panic.", L"Don't/W panic/W ./P"},
        {L"It’s 3.5 or 1,000 (42%)", L"It’s/W 3.5/N or/W 1,000/N (/P 42/N %/P )/P"},
        {L"e-mail the 3rd file_name", L"e/W -/P mail/W the/W 3rd/W file_name/W"},
        {L"See https://example.com/a_(b)?x=1.", L"See/W https://example.com/a_(b)?x=1/U ./P"},
        {L"(www.example.org), ok", L"(/P www.example.org/U )/P ,/P ok/W"},
        {L"Write to first.last@example.co.uk!", L"Write/W to/W first.last@example.co.uk/E !/P"},
        {L"mailto:info@example.com", L"mailto:info@example.com/U"},
        {L"not@mail or a@b.c or x@y..com", L"not@mail/W or/W a@b.c/W or/W x@y/W ./P ./P com/W"},
        {L"Press <b>Save</b><br/>now", L"Press/W #/C Save/W #/C #/C now/W"},
        {L"a<b>www.example.com</b>", L"a/W #/C www.example.com/U #/C"},
        {L"我们去学校。", L"我们/W 去/W 学校/W 。/P"},
        {L"$5 + €3 = ?", L"$/P 5/N +/P €/P 3/N =/P ?/P"},
        {L"  \t\n ", L""},
        {L"a\u200Bb", L"a/W b/W"},  // an invisible zero-width space is no token
    };
    for (const Case& c : cases) EXPECT_EQ(Describe(c.text), c.tokens) << c.text;
}

TEST(TokenizerTest, APlaceholderIsOneTokenWhetherACodeOrWrittenOut) {
    struct Case {
        const wchar_t* text;
        const wchar_t* tokens;
    };
    const Case cases[] = {
        {L"Cannot open file %s for writing", L"Cannot/W open/W file/W %s/V for/W writing/W"},
        {L"Cannot open file ⟨%s⟩ for writing", L"Cannot/W open/W file/W %s/V for/W writing/W"},
        {L"%1$s of {0} ({count})", L"%1$s/V of/W {0}/V (/P {count}/V )/P"},
        {L"⟨%1$s⟩ of ⟨{0}⟩", L"%1$s/V of/W {0}/V"},
        {L"%1%2 and %d%%", L"%1/V %2/V and/W %d/V %/P %/P"},
        {L"{0, number} left", L"{0, number}/V left/W"},
        {L"Hi {nom_élève} %(año)s", L"Hi/W {nom_élève}/V %(año)s/V"},  // in any locale
        {L"50%off, 100% sure", L"50/N %/P off/W ,/P 100/N %/P sure/W"},
        {L"{{literal}} and a { b }", L"{/P {/P literal/W }/P }/P and/W a/W {/P b/W }/P"},
        {L"Go to https://example.com/a%20b", L"Go/W to/W https://example.com/a%20b/U"},
        {L"Mail ⟨%s⟩@example.com", L"Mail/W %s/V @example.com/W"},
    };
    for (const Case& c : cases) EXPECT_EQ(Describe(c.text), c.tokens) << c.text;
}

TEST(TokenizerTest, APlaceholderCodeReadsAsTheTextItHoldsAndIsNoFormatting) {
    const wchar_t* const pairs[][2] = {
        {L"Cannot open file ⟨%s⟩ for writing", L"Cannot open file %s for writing"},
        {L"⟨%(name)s⟩ has ⟨%05d⟩ files", L"%(name)s has %05d files"},
        {L"⟨%1⟩⟨%2⟩", L"%1%2"},
        {L"Width: ⟨{0:N2}⟩ <b>mm</b>", L"Width: {0:N2} <b>mm</b>"},
    };
    for (const auto& pair : pairs) {
        const Segment coded = Tagged(pair[0]), written = Tagged(pair[1]);
        EXPECT_EQ(Tokenize(coded).tokens, Tokenize(written).tokens) << pair[1];
        EXPECT_EQ(NormalisedText(coded), NormalisedText(written)) << pair[1];
        EXPECT_EQ(FormattingCodeKinds(coded), FormattingCodeKinds(written)) << pair[1];
    }
    // A code that holds more than a placeholder, or is paired, is formatting.
    using Code = InlineCode::Kind;
    EXPECT_EQ(FormattingCodeKinds(Tagged(L"a ⟨%s and⟩ <b>b</b><br/>")),
              (std::vector<Code>{Code::Standalone, Code::Begin, Code::End, Code::Standalone}));
    EXPECT_EQ(NormalisedText(Tagged(L"a ⟨<br>⟩")), L"a ￼");
}

TEST(TokenizerTest, APairedCodeInsideAWordSplitsItNotButAStandaloneCodeDoes) {
    struct Case {
        const wchar_t* text;
        const wchar_t* tokens;
    };
    const Case cases[] = {
        {L"<code>Buffer</code>s", L"#/C Buffers/W #/C"},
        {L"foo<b>bar</b>baz", L"foobarbaz/W #/C #/C"},
        {L"un<i>believ</i>able story", L"unbelievable/W #/C #/C story/W"},
        {L"foo<br/>bar", L"foo/W #/C bar/W"},
        {L"foo <b>bar</b> baz", L"foo/W #/C bar/W #/C baz/W"},
        {L"<b>Save</b>, now", L"#/C Save/W #/C ,/P now/W"},
        {L"我们<b>去</b>学校", L"我们/W #/C 去/W #/C 学校/W"},
        {L"1<sup>st</sup> of 3<b>.5</b>", L"1st/W #/C #/C of/W 3.5/N #/C #/C"},
    };
    for (const Case& c : cases) EXPECT_EQ(Describe(c.text), c.tokens) << c.text;
}

TEST(TokenizerTest, FoldsCaseFullyAndComposesAccents) {
    auto tokens = Tokenize(Segment{L"STRASSE Straße Cafe\u0301 Ǆ", {}}).tokens;
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].folded, L"strasse");
    EXPECT_EQ(tokens[1].folded, L"strasse");
    EXPECT_EQ(tokens[1].text, L"Straße");
    EXPECT_EQ(tokens[2].text, L"Caf\u00E9");  // NFC
    EXPECT_EQ(tokens[2].folded, L"caf\u00E9");
    EXPECT_EQ(tokens[3].folded, L"ǆ");
}

TEST(TokenizerTest, NormalisedTextCollapsesWhitespaceComposesAndKeepsOnlyCodePlaces) {
    struct Case {
        const wchar_t* text;
        const wchar_t* normalised;
    };
    const Case cases[] = {
        {L"  Open \t the\r\nfile.\u00A0 ", L"Open the file."},
        {L"Cafe\u0301", L"Caf\u00E9"},
        {L"Click <b>here</b>", L"Click \uFFFChere\uFFFC"},
        {L"Click <i class='x'>here</i>", L"Click \uFFFChere\uFFFC"},
        {L"Open", L"Open"},
        {L"", L""},
        {L" \n ", L""},
        // Characters beyond the first plane take two units in UTF-16.
        {L" \U0001F600  ok\u3000\U00020000 ", L"\U0001F600 ok \U00020000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormalisedText(Tagged(c.text)), c.normalised) << c.text;
        EXPECT_EQ(Tokenize(Tagged(c.text)).normalised, c.normalised) << c.text;
    }
}

TEST(TokenizerTest, LongRunsOfPunctuationAndAddressesTakeLinearTime) {
    const std::wstring opened(30000, L'('), closed(30000, L')');
    auto tokens = Tokenize(Segment{opened + L"a@example.com" + closed, {}}).tokens;
    ASSERT_EQ(tokens.size(), 60001u);
    EXPECT_EQ(tokens[30000].kind, Kind::Email);

    std::wstring many;
    for (int i = 0; i < 20000; ++i) many += L"www.example.com <br/>";
    EXPECT_EQ(Tokenize(test::Tagged(many)).tokens.size(), 40000u);
}

TEST(TokenizerTest, CharactersThatAreNotUnicodeBecomeReplacementCharacters) {
    if constexpr (sizeof(wchar_t) == 4) {
        std::wstring text = L"a b";
        text[1] = static_cast<wchar_t>(0xD800);  // a lone surrogate
        EXPECT_EQ(NormalisedText(Segment{text, {}}), L"a\uFFFDb");
        text[1] = static_cast<wchar_t>(0x110000);
        EXPECT_EQ(NormalisedText(Segment{text, {}}), L"a\uFFFDb");
    }
}

}  // namespace
}  // namespace orv::engine
