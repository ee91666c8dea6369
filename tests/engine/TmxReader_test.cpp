#include "engine/tm/TmxReader.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "platform/AutomationError.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

using Kind = InlineCode::Kind;

std::string Tmx(const std::string& body,
                const std::string& header = "<header srclang=\"en-US\"/>") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n" + header +
           "\n<body>\n" + body + "</body>\n</tmx>\n";
}

std::string Unit(const std::string& source, const std::string& target = "x") {
    return "<tu><tuv xml:lang=\"en-US\"><seg>" + source +
           "</seg></tuv><tuv xml:lang=\"de-DE\"><seg>" + target + "</seg></tuv></tu>\n";
}

// The first `lines` lines of `text`, each with its break, in CR LF or as written.
std::string FirstLines(const std::string& text, int lines, bool crLf) {
    std::string cut;
    std::size_t start = 0;
    for (int n = 0; n < lines; ++n) {
        const std::size_t end = text.find('\n', start);
        cut += text.substr(start, end - start) + (crLf ? "\r\n" : "\n");
        start = end + 1;
    }
    return cut;
}

class TmxReaderTest : public testing::Test {
protected:
    TranslationMemory Read(const std::string& bytes) {
        folder_.Write("tm.tmx", bytes);
        return ReadTmxFile(folder_.wpath("tm.tmx"));
    }

    // The description of the error that reading raises, or "(no error)".
    std::wstring ErrorOf(const std::string& bytes) {
        return ErrorReading(folder_.Write("tm.tmx", bytes).wstring());
    }
    static std::wstring ErrorReading(const std::wstring& path) {
        try {
            ReadTmxFile(path);
        } catch (const AutomationError& error) {
            return error.description();
        }
        return L"(no error)";
    }

    test::TempFolder folder_;
};

TEST_F(TmxReaderTest, TakesTheVariantInTheHeaderLanguageAsSourceAndTheOthersAsTargets) {
    const TranslationMemory tm = Read(Tmx(
        Unit("Hello", "Hallo") +
        // The source need not come first, may be written in another case or with the old
        // attribute; prop, note and unknown elements are skipped with all they hold.
        "<tu><prop type=\"x\">p</prop><note>n</note><tuv xml:lang=\"fr-FR\"><seg>Au revoir</seg>"
        "</tuv><tuv lang=\"EN-us\"><seg>Good bye</seg><x-extra><seg>hidden</seg></x-extra></tuv>"
        "<x-unknown><tuv xml:lang=\"en-US\"><seg>hidden</seg></tuv></x-unknown>"
        "<tuv xml:lang=\"de-DE\"><seg>Tsch\xC3\xBC\xC3\x9F</seg><seg>second</seg></tuv></tu>\n"
        // Without a variant in the source language there is nothing to match.
        "<tu><tuv xml:lang=\"de-DE\"><seg>Nur Deutsch</seg></tuv></tu>\n"));

    EXPECT_EQ(tm.sourceLanguage, L"en-US");
    EXPECT_EQ(tm.targetLanguages, (std::vector<std::wstring>{L"de-DE", L"fr-FR"}));
    ASSERT_EQ(tm.units.size(), 2u);
    EXPECT_EQ(tm.units[0].source.text, L"Hello");
    EXPECT_EQ(tm.units[1].source.text, L"Good bye");
    ASSERT_EQ(tm.units[1].targets.size(), 2u);
    EXPECT_EQ(tm.units[1].targets[0].language, L"fr-FR");
    EXPECT_EQ(tm.units[1].targets[1].language, L"de-DE");
    EXPECT_EQ(tm.units[1].targets[1].segment.text, L"Tsch\u00fc\u00df");
}

TEST_F(TmxReaderTest, KeepsInlineCodesApartFromTheText) {
    const TranslationMemory tm = Read(
        Tmx(Unit("<bpt i=\"1\">&lt;b&gt;</bpt><bpt i=\"2\">{i}</bpt>A<ept i=\"2\">{/i}</ept>"
                 "<ept i=\"1\">&lt;/b&gt;</ept> <hi type=\"b\">B <hi>C<ph>*</ph></hi></hi><hi/>"
                 "<it pos=\"end\">}</it><ut>{f}</ut><ph>&lt;img alt=\"<sub>Logo</sub>\"/&gt;</ph>"
                 "<x-mark>D</x-mark>\xEF\xBF\xBC")));

    const Segment& source = tm.units.at(0).source;
    const std::wstring m(1, kCodeMark);
    EXPECT_EQ(source.text, m + m + L"A" + m + m + L" " + m + L"B " + m + L"C" + m + m + m + m + m +
                               m + m + m + L"D" + m);
    EXPECT_EQ(source.codes, (std::vector<InlineCode>{
                                {Kind::Begin, L"1", L"<b>"},
                                {Kind::Begin, L"2", L"{i}"},
                                {Kind::End, L"2", L"{/i}"},
                                {Kind::End, L"1", L"</b>"},
                                // hi keeps its text as text, between codes of its own, numbered
                                // apart from the pairs in use.
                                {Kind::Begin, L"3", L""},
                                {Kind::Begin, L"4", L""},
                                {Kind::Standalone, L"", L"*"},
                                {Kind::End, L"4", L""},
                                {Kind::End, L"3", L""},
                                {Kind::Begin, L"5", L""},
                                {Kind::End, L"5", L""},
                                {Kind::Isolated, L"", L"}"},
                                {Kind::Standalone, L"", L"{f}"},
                                // A sub element's text belongs to its code.
                                {Kind::Standalone, L"", L"<img alt=\"Logo\"/>"},
                                // A mark character in the file stays in step with the codes.
                                {Kind::Standalone, L"", m},
                            }));
}

TEST_F(TmxReaderTest, ReadsEscapedTextCdataWhitespaceAndDeclaredEncodingsAsWritten) {
    const TranslationMemory tm =
        Read(Tmx(Unit("a &lt; b &amp;&amp; c &gt; &#x263A;", "<![CDATA[x < y & <b>z</b>]]>") +
                 Unit("  two  spaces\tand\na line  ", " ")));
    EXPECT_EQ(tm.units.at(0).source.text, L"a < b && c > \u263A");
    EXPECT_EQ(tm.units.at(0).targets.at(0).segment, (Segment{L"x < y & <b>z</b>", {}}));
    EXPECT_EQ(tm.units.at(1).source.text, L"  two  spaces\tand\na line  ");
    EXPECT_EQ(tm.units.at(1).targets.at(0).segment.text, L" ");

    const TranslationMemory latin1 = Read(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><tmx><header srclang=\"en-US\"/>"
        "<body>" +
        Unit("caf\xE9") + "</body></tmx>");
    EXPECT_EQ(latin1.units.at(0).source.text, L"caf\u00e9");
}

TEST_F(TmxReaderTest, WithoutASourceLanguageTheFirstVariantIsTheSourceAndTheMostCommonWins) {
    const std::string units =
        Unit("One", "Eins") + Unit("Two", "Zwei") +
        // Starts in German: turned round, as it holds the TM's source language.
        "<tu><tuv xml:lang=\"de-DE\"><seg>Drei</seg></tuv>"
        "<tuv xml:lang=\"en-us\"><seg>Three</seg></tuv></tu>\n"
        // Holds no English at all: left out.
        "<tu><tuv xml:lang=\"fr-FR\"><seg>Quatre</seg></tuv></tu>\n";

    for (const std::string header : {"<header srclang=\"*all*\"/>", "<header/>", ""}) {
        SCOPED_TRACE(header);
        const TranslationMemory tm = Read(Tmx(units, header));
        EXPECT_EQ(tm.sourceLanguage, L"en-US");
        EXPECT_EQ(tm.targetLanguages, std::vector<std::wstring>{L"de-DE"});
        ASSERT_EQ(tm.units.size(), 3u);
        EXPECT_EQ(tm.units[2].source.text, L"Three");
        EXPECT_EQ(tm.units[2].targets.at(0).language, L"de-DE");
        EXPECT_EQ(tm.units[2].targets.at(0).segment.text, L"Drei");
    }
}

// Reading a unit at a time, and reading only the outline, must make what the whole read makes
// of the same file, whichever way its source language is found.
TEST_F(TmxReaderTest, TheStreamedUnitsAndTheOutlineAreThoseOfTheWholeRead) {
    const std::string turnedRound =
        "<tu><tuv xml:lang=\"de-DE\"><seg>Drei</seg></tuv>"
        "<tuv xml:lang=\"en-us\"><seg>Three</seg></tuv></tu>\n";
    const std::string english = "<tu><tuv xml:lang=\"en-US\"><seg>Alone</seg></tuv></tu>\n";
    const std::string french =
        "<tu><tuv xml:lang=\"en-US\"><seg>Five</seg></tuv>"
        "<tuv xml:lang=\"fr-FR\"><seg>Cinq <ph>&lt;b/&gt;</ph></seg></tuv></tu>\n";
    const std::string noSource = "<tu><tuv xml:lang=\"fr-FR\"><seg>Quatre</seg></tuv></tu>\n";
    const std::string body =
        Unit("One <bpt i=\"1\">&lt;b&gt;</bpt>x<ept i=\"1\">&lt;/b&gt;</ept>", "Eins") +
        turnedRound + english + french + noSource + Unit("Two", "Zwei");
    const std::string files[] = {
        Tmx(body),
        Tmx(body, "<header srclang=\"*all*\"/>"),
        Tmx(body, ""),
        Tmx(body, "<header srclang=\"de-DE\"><prop type=\"x-targetlang\">it-IT</prop></header>"),
        Tmx(""),
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const TranslationMemory whole = Read(file);
        std::vector<TranslationUnit> streamed;
        const TranslationMemory rest = ReadTmxFileUnits(
            folder_.wpath("tm.tmx"), [&](TranslationUnit&& unit) { streamed.push_back(unit); });
        const TmxOutline outline = ReadTmxOutline(folder_.wpath("tm.tmx"));
        for (const TranslationMemory* tm : {&rest, &outline.tm}) {
            EXPECT_EQ(tm->sourceLanguage, whole.sourceLanguage);
            EXPECT_EQ(tm->targetLanguages, whole.targetLanguages);
            EXPECT_EQ(tm->users.size(), whole.users.size());
            EXPECT_TRUE(tm->units.empty());
        }
        EXPECT_EQ(outline.units, whole.units.size());
        ASSERT_EQ(streamed.size(), whole.units.size());
        for (std::size_t i = 0; i < streamed.size(); ++i) {
            EXPECT_EQ(streamed[i].source, whole.units[i].source);
            ASSERT_EQ(streamed[i].targets.size(), whole.units[i].targets.size());
            for (std::size_t t = 0; t < streamed[i].targets.size(); ++t) {
                EXPECT_EQ(streamed[i].targets[t].language, whole.units[i].targets[t].language);
                EXPECT_EQ(streamed[i].targets[t].segment, whole.units[i].targets[t].segment);
            }
        }
    }
}

TEST_F(TmxReaderTest, DamagedFilesFailWithTheFileTheLineAndTheFault) {
    const std::pair<std::string, std::wstring> cases[] = {
        {Tmx(Unit("a") + "\n\n<tu><tuv xml:lang=\"en-US\"><seg>x</tuv>\n"),
         L"line 8: Opening and ending tag mismatch"},
        {Tmx(Unit("a")).substr(0, 120), L"line 5: "},
        // Cut short after a line: the fault is on the last line, whatever the line breaks.
        {FirstLines(Tmx(Unit("a")), 5, false), L": line 5: "},
        {FirstLines(Tmx(Unit("a")), 5, true), L": line 5: "},
        {FirstLines(Tmx(Unit("a")), 4, true), L": line 4: "},
        {Tmx(Unit("a")) + "<tmx/>", L"line 8: Extra content"},
        {"", L": the file is empty"},
        {"hello", L": line 1: the file holds no XML element"},
        {Tmx(Unit("caf\xE9")), L"line 5: Input is not proper UTF-8"},
        {"<?xml version=\"1.0\"?>\n<html/>", L": line 2: the root element is <html>, not <tmx>"},
        {Tmx("<tu>\n<tuv xml:lang=\"en-US\"><seg>a</seg></tuv>\n<tuv><seg>b</seg></tuv></tu>\n"),
         L": line 7: a <tuv> element has no xml:lang attribute"},
        {Tmx(Unit("&nbsp;")), L"line 5: Entity 'nbsp' not defined"},
        // A byte no decoder takes for US-ASCII (windows-1252 maps 0x81 with some, not others).
        {"<?xml version=\"1.0\" encoding=\"US-ASCII\"?><tmx>\x81</tmx>", L": line 1: "},
        // Taken for UCS-4 by its first bytes, which already fail as the reader is made.
        {std::string("<\0\0\0a", 5), L": line 1: the XML is not well-formed"},
    };
    // Faults reach the caller, never the console.
    testing::internal::CaptureStderr();
    for (const auto& [bytes, expected] : cases) {
        const std::wstring error = ErrorOf(bytes);
        EXPECT_EQ(error.rfind(L"Cannot read TM " + folder_.wpath("tm.tmx") + L": ", 0), 0u);
        EXPECT_NE(error.find(expected), std::wstring::npos) << testing::PrintToString(error);
        // The outline of a TM is refused as the TM is, with the same words.
        std::wstring outlineError = L"(no error)";
        try {
            ReadTmxOutline(folder_.wpath("tm.tmx"));
        } catch (const AutomationError& failure) {
            outlineError = failure.description();
        }
        EXPECT_EQ(outlineError, error);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    const std::wstring missing = folder_.wpath("none.tmx");
    EXPECT_EQ(ErrorReading(missing), L"Cannot read TM " + missing + L": the file does not exist");
    EXPECT_EQ(ErrorReading(folder_.wpath()),
              L"Cannot read TM " + folder_.wpath() + L": the path names a folder, not a file");
}

TEST_F(TmxReaderTest, AttributesAreTheFilesOwnWithTheirEntitiesResolvedAndNoDtdDefaults) {
    const std::string dtd =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE tmx [<!ENTITY src \"en-US\"><!ENTITY one \"1\">"
        "<!ATTLIST tuv xml:lang CDATA \"de-DE\"><!ATTLIST bpt i CDATA \"9\">]>\n";
    const TranslationMemory tm =
        Read(dtd + "<tmx><header srclang=\"&src;\"/><body>" +
             Unit("<bpt i=\"&one;\">&one;</bpt><bpt>x</bpt>") + "</body></tmx>");
    EXPECT_EQ(tm.sourceLanguage, L"en-US");
    EXPECT_EQ(tm.units.at(0).source.codes,
              (std::vector<InlineCode>{{Kind::Begin, L"1", L"&one;"}, {Kind::Begin, L"", L"x"}}));
    EXPECT_NE(ErrorOf(dtd + "<tmx><body><tu><tuv><seg>a</seg></tuv></tu></body></tmx>")
                  .find(L"line 3: a <tuv> element has no xml:lang attribute"),
              std::wstring::npos);
}

TEST_F(TmxReaderTest, EntitiesThatMultiplyThemselvesAreRefused) {
    std::string declarations = "<!ENTITY lol0 \"lollollollollollollollollollol\">\n";
    for (int level = 1; level <= 9; ++level) {
        declarations += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i) declarations += "&lol" + std::to_string(level - 1) + ";";
        declarations += "\">\n";
    }
    EXPECT_NE(ErrorOf("<?xml version=\"1.0\"?>\n<!DOCTYPE tmx [\n" + declarations + "]>\n" +
                      "<tmx><body>" + Unit("&lol9;") + "</body></tmx>")
                  .find(L"entity reference loop"),
              std::wstring::npos);
}

}  // namespace
}  // namespace orv::engine
