#include <gtest/gtest.h>

#include "DocumentTesting.h"

namespace orv::engine {
namespace {

using namespace std::string_literals;
using test::Blocks;
using test::Lines;

DocumentText Po(const std::string& bytes) {
    return test::Read(bytes, DocumentFormat::Po);
}

std::string Header(const std::string& charset) {
    return "msgid \"\"\nmsgstr \"\"\n\"Project-Id-Version: demo\\n\"\n"
           "\"Content-Type: text/plain; charset=" +
           charset + "\\n\"\n\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"\n\n";
}

TEST(PoDocumentTest, ReadsEachMsgidAndPluralAsABlockWithoutHeaderOrObsoleteEntries) {
    const DocumentText document =
        Po(Header("UTF-8") +
           "# A translator's comment\n#. An extracted comment\n#: src/main.c:12\n#, fuzzy\n"
           "#| msgid \"Old text\"\n"
           "msgid \"\"\n\"Joined \"\n\"across lines\"\nmsgstr \"\"\n\"Zusammen\"\n\n"
           "msgctxt \"menu\"\nmsgid \"File\"\nmsgstr \"Datei\"\n\n"
           "msgid \"One file\"\nmsgid_plural \"Many files\"\n"
           "msgstr[0] \"Eine Datei\"\nmsgstr[1] \"Viele Dateien\"\n\n"
           "msgid \"Tab\\there, \\\"quoted\\\", back\\\\slash\\101\\x42\"\nmsgstr \"\"\n\n"
           "#~ msgid \"Obsolete\"\n#~ msgstr \"Veraltet\"\n"
           "msgid \"Last\"   \r\nmsgstr \"Letzte\"");
    EXPECT_EQ(Blocks(document), (Lines{L"Joined across lines", L"File", L"One file", L"Many files",
                                       L"Tab\there, \"quoted\", back\\slashAB", L"Last"}));
    EXPECT_EQ(document.taggingErrors, 0);
}

TEST(PoDocumentTest, PlaceholdersAreStandaloneCodes) {
    struct Case {
        std::string msgid;
        std::string codes;  // the placeholders, one a line
    };
    const Case cases[] = {
        {"%s of %d files", "%s\n%d\n"},
        {"%1$s and %2$-10.3lf", "%1$s\n%2$-10.3lf\n"},
        {"%(name)s has %(count)05d", "%(name)s\n%(count)05d\n"},
        {"Width %*d and %.*s", "%*d\n%.*s\n"},
        {"Copy %1 to %2", "%1\n%2\n"},
        {"{name} owes {0:N2} to {1,-8} by {}", "{name}\n{0:N2}\n{1,-8}\n{}\n"},
        {"100%% sure, 50% off, {{literal}}, a { b }", ""},
        {"Object %@ at %p", "%@\n%p\n"},
        {"Saved 50%off, then %1%2", "%1\n%2\n"},  // a percentage, then two in a row
    };
    for (const Case& c : cases) {
        const DocumentText document = Po("msgid \"" + c.msgid + "\"\nmsgstr \"\"\n");
        ASSERT_EQ(document.blocks.size(), 1u) << c.msgid;
        std::string codes;
        for (const InlineCode& code : document.blocks[0].text.codes) {
            EXPECT_EQ(code.kind, InlineCode::Kind::Standalone);
            codes += std::string(code.content.begin(), code.content.end()) + "\n";
        }
        EXPECT_EQ(codes, c.codes) << c.msgid;
    }
    // A message of nothing but a placeholder is kept, as its text.
    const DocumentText alone = Po("msgid \"%s\"\nmsgstr \"\"\n\nmsgid \" {0} \"\nmsgstr \"\"\n");
    ASSERT_EQ(alone.blocks.size(), 2u);
    EXPECT_EQ(alone.blocks[0].text, (Segment{L"%s", {}}));
    EXPECT_EQ(alone.blocks[1].text, (Segment{L"{0}", {}}));
    // An entry that says it is no format string has none.
    EXPECT_TRUE(
        Po("#, no-c-format\nmsgid \"%s and {x}\"\nmsgstr \"\"\n").blocks[0].text.codes.empty());
}

TEST(PoDocumentTest, ReadsTheCharsetThatTheHeaderNames) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"no header", "msgid \"Caf\xC3\xA9\"\nmsgstr \"\"\n"},
        {"template placeholder", Header("CHARSET") + "msgid \"Caf\xC3\xA9\"\nmsgstr \"\"\n"},
        {"Latin-1", Header("ISO-8859-1") + "msgid \"Caf\xE9\"\nmsgstr \"\"\n"},
        {"Windows-1252", Header("CP1252") + "msgid \"Caf\xE9\"\nmsgstr \"\"\n"},
        {"UTF-8 with BOM", "\xEF\xBB\xBFmsgid \"Caf\xC3\xA9\"\nmsgstr \"\"\n"},
        {"UTF-16 LE with BOM",
         "\xFF\xFEm\0s\0g\0i\0d\0 \0\"\0C\0a\0f\0\xE9\0\"\0\n\0m\0s\0g\0s\0t\0r\0 \0\"\0\"\0"s},
    };
    for (const Case& c : cases) EXPECT_EQ(Blocks(Po(c.bytes)), Lines{L"Caf\u00E9"}) << c.name;
    // Shift_JIS puts a backslash in the second byte of some characters: it is no escape.
    EXPECT_EQ(Blocks(Po(Header("Shift_JIS") + "msgid \"\x95\x5C\"\nmsgstr \"\"\n")),
              Lines{L"\u8868"});
}

TEST(PoDocumentTest, AFileThatIsNoPoIsRefusedInWords) {
    struct Case {
        std::string bytes;
        std::wstring reason;
    };
    const Case cases[] = {
        {"msgid \"open", L"The PO file is not well-formed: a string is not closed on its line"},
        {"msgid \"a\" x\nmsgstr \"\"",
         L"The PO file is not well-formed: a string is followed by more text"},
        {"\"stray\"\n", L"The PO file is not well-formed: a string continues no keyword"},
        {"msgstr \"b\"\n", L"The PO file is not well-formed: a translation comes before its msgid"},
        {"<html>\n",
         L"The PO file is not well-formed: a line is neither a keyword with its string, a string "
         L"nor a comment"},
        {"msgid\n",
         L"The PO file is not well-formed: a line is neither a keyword with its "
         L"string, a string nor a comment"},
        {Header("X-NO-SUCH-CHARSET") + "msgid \"a\"\nmsgstr \"\"\n",
         L"The PO file's header names a character set that is not known"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(test::FailureOf([&] { Po(c.bytes); }), c.reason) << c.bytes;
    EXPECT_EQ(Blocks(Po("")), Lines{});
    EXPECT_EQ(Blocks(Po("# only a comment\n\n")), Lines{});
}

}  // namespace
}  // namespace orv::engine
