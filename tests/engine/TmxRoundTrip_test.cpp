#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/text/Utf8.h"
#include "engine/tm/TmxReader.h"
#include "engine/tm/TmxWriter.h"
#include "platform/AutomationError.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

using Kind = InlineCode::Kind;

// The TM as one list, to compare two at once: its languages, then each unit's source and
// targets.
std::vector<std::pair<std::wstring, Segment>> Flat(const TranslationMemory& tm) {
    std::vector<std::pair<std::wstring, Segment>> flat{{tm.sourceLanguage, {}}};
    for (const auto& language : tm.targetLanguages) flat.push_back({language, {}});
    for (const TranslationUnit& unit : tm.units) {
        flat.push_back({L"(source)", unit.source});
        for (const Variant& target : unit.targets)
            flat.push_back({target.language, target.segment});
    }
    return flat;
}

std::vector<std::filesystem::path> SortedFilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    return files;
}

TranslationMemory SampleTm() {
    TranslationMemory tm;
    tm.sourceLanguage = L"en-US";
    // ja-JP has no unit: a language the TM was created with is kept all the same.
    tm.targetLanguages = {L"de-DE", L"fr-FR", L"ja-JP"};
    tm.units.push_back(
        {{L"Click \uFFFC\uFFFChere\uFFFC\uFFFC <&> \"quoted\" 'single' ]]>\uFFFC\uFFFC",
          {{Kind::Begin, L"1", L"<b>"},
           {Kind::Begin, L"2", L"{\\i & \"x\"}"},
           {Kind::End, L"2", L"{/i}"},
           {Kind::End, L"1", L"</b>"},
           {Kind::Isolated, L"", L"<span class=\"a&b\">"},
           {Kind::Standalone, L"", L""}}},
         {{L"de-DE",
           {L"Klicken Sie \uFFFChier\uFFFC \u00e4\u00f6\u00fc\u00df \U0001F600",
            {
                {Kind::Begin, L"1", L"<b>"},
                {Kind::End, L"1", L"</b>"},
            }}},
          {L"fr-FR", {L"Cliquez ici", {}}}}});
    tm.units.push_back({{L"Line one\r\nline two\ttab  ", {}}, {{L"de-DE", {L"", {}}}}});
    tm.units.push_back({{L"\u65E5\u672C\u8A9E", {}}, {}});
    return tm;
}

TEST(TmxRoundTrip, WritingThenReadingGivesTheSameTm) {
    test::TempFolder folder;
    const TranslationMemory tm = SampleTm();
    WriteTmxFile(tm, folder.wpath("tm.tmx"));
    EXPECT_EQ(Flat(ReadTmxFile(folder.wpath("tm.tmx"))), Flat(tm));
}

TEST(TmxRoundTrip, AnEmptyTmKeepsItsLanguagesAndAStandardHeader) {
    test::TempFolder folder;
    TranslationMemory tm;
    tm.sourceLanguage = L"en-US";
    tm.targetLanguages = {L"en-GB"};
    WriteTmxFile(tm, folder.wpath("ORV1.tmv"));

    EXPECT_EQ(Flat(ReadTmxFile(folder.wpath("ORV1.tmv"))), Flat(tm));
    const std::string text = test::ReadBytes(folder.path() / "ORV1.tmv");
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">", 0),
              0u);
    for (const char* attribute :
         {"creationtool=\"OrvBatchAnalyse engine\"", "srclang=\"en-US\"", "segtype=\"sentence\"",
          "o-tmf=\"TMX\"", "adminlang=\"en-US\"", "datatype=\"plaintext\""}) {
        EXPECT_NE(text.find(attribute), std::string::npos) << attribute;
    }
}

TEST(TmxRoundTrip, AUtf16FileReadsLikeItsUtf8Twin) {
    const std::string utf8 = TmxText(SampleTm());
    // The same text as UTF-16LE with a byte-order mark and a declaration to match.
    std::wstring text = FromUtf8(utf8);
    text.replace(text.find(L"UTF-8"), 5, L"UTF-16");
    std::string utf16 = "\xFF\xFE";
    const auto put = [&](char32_t unit) { utf16 += {char(unit & 0xFF), char(unit >> 8)}; };
    for (const auto c : text) {
        if (c > 0xFFFF) put(0xD800 + ((c - 0x10000) >> 10)), put(0xDC00 + (c & 0x3FF));
        if (c <= 0xFFFF) put(c);
    }
    test::TempFolder folder;
    EXPECT_EQ(Flat(ReadTmxFile(folder.Write("utf16.tmx", utf16).wstring())),
              Flat(ReadTmxFile(folder.Write("utf8.tmx", utf8).wstring())));
}

TEST(TmxRoundTrip, WhatXmlCannotHoldOrMarksWithoutCodesNeverMakeAnUnreadableFile) {
    TranslationMemory tm;
    tm.sourceLanguage = L"en-US";
    tm.units.push_back({{std::wstring{L'a', L'\0', L'\u0001', L'\uFFFF'}, {}}, {}});
    // A mark without a code is dropped; a code without a mark is kept, at the end.
    tm.units.push_back({{L"a\uFFFCb\uFFFCc", {{Kind::Standalone, L"", L"1"}}}, {}});
    tm.units.push_back({{L"d", {{Kind::Standalone, L"", L"2"}}}, {}});
    const TranslationMemory back = ReadTmxBytes(TmxText(tm), L"memory");
    EXPECT_EQ(back.units.at(0).source.text, L"a\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(back.units.at(1).source, (Segment{L"a\uFFFCbc", {{Kind::Standalone, L"", L"1"}}}));
    EXPECT_EQ(back.units.at(2).source, (Segment{L"d\uFFFC", {{Kind::Standalone, L"", L"2"}}}));
}

TEST(TmxRoundTrip, AFailedWriteLeavesNoHalfFileAndKeepsTheOldOne) {
    test::TempFolder folder;
    WriteTmxFile(SampleTm(), folder.wpath("tm.tmx"));
    const std::string before = test::ReadBytes(folder.path() / "tm.tmx");
    EXPECT_EQ(SortedFilesIn(folder.path()), std::vector<std::filesystem::path>{"tm.tmx"});

    // A folder in the way of the TM: everything is written, then the last step fails.
    std::filesystem::create_directory(folder.path() / "taken.tmx");
    std::filesystem::create_directory(folder.path() / "taken.tmx" / "inside");
    EXPECT_THROW(WriteTmxFile(SampleTm(), folder.wpath("taken.tmx")), AutomationError);
    try {
        WriteTmxFile(SampleTm(), folder.wpath("missing/tm.tmx"));
        ADD_FAILURE() << "no error";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.description(), L"Cannot write TM " + folder.wpath("missing/tm.tmx") +
                                           L": the folder does not exist");
    }

    TranslationMemory noSource;
    noSource.units.push_back({{L"x", {}}, {}});
    EXPECT_THROW(WriteTmxFile(noSource, folder.wpath("tm.tmx")), AutomationError);

    EXPECT_EQ(test::ReadBytes(folder.path() / "tm.tmx"), before);
    EXPECT_EQ(SortedFilesIn(folder.path()),
              (std::vector<std::filesystem::path>{"taken.tmx", "tm.tmx"}));
}

}  // namespace
}  // namespace orv::engine
