// Whole analyses of documents in legacy encodings: the readable log says which encoding each
// was read in and how it was chosen, a document whose encoding cannot be told is refused in its
// row, and the encoding a program gives the engine is used where the document does not say.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "app/AppTesting.h"
#include "engine/app/EngineExtras.h"
#include "front/BatchAnalyse.h"
#include "platform/NarrowText.h"

namespace orv::engine::test {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;

// "Мы получили ваш заказ и начали работу над переводом. Документы будут готовы к пятнице." in
// KOI8-R: 14 words.
const std::string kKoi8Letter =
    "\xED\xD9 \xD0\xCF\xCC\xD5\xDE\xC9\xCC\xC9 \xD7\xC1\xDB \xDA\xC1\xCB\xC1\xDA \xC9 "
    "\xCE\xC1\xDE\xC1\xCC\xC9 \xD2\xC1\xC2\xCF\xD4\xD5 \xCE\xC1\xC4 \xD0\xC5\xD2\xC5\xD7\xCF"
    "\xC4\xCF\xCD. \xE4\xCF\xCB\xD5\xCD\xC5\xCE\xD4\xD9 \xC2\xD5\xC4\xD5\xD4 \xC7\xCF\xD4\xCF"
    "\xD7\xD9 \xCB \xD0\xD1\xD4\xCE\xC9\xC3\xC5.\n";

using DocumentEncodings = GoldenAnalysis;

TEST_F(DocumentEncodings, TheLogSaysHowEachDocumentWasReadAndRefusesOneThatCannotBeTold) {
    folder.Write("letter.txt", kKoi8Letter);
    folder.Write("brief.xml",
                 "<?xml version=\"1.0\" encoding=\"latin2\"?><brief>D\xECkujeme.</brief>");
    folder.Write("short.txt", "caf\xE9");
    for (const char* name : {"letter.txt", "brief.xml", "short.txt"})
        ba.get_Files()->Add(folder.wpath(name));
    ASSERT_TRUE(ba.Analyse());

    EXPECT_EQ(ba.get_Files()->Item(1)->get_WordsTotal(), 14);
    EXPECT_EQ(ba.get_Files()->Item(2)->get_WordsTotal(), 1);
    EXPECT_TRUE(ba.get_Files()->Item(3)->get_ProcessingError());
    const std::string log = ReadBytes(folder.path() / "out/analysis.log");
    // Digits, then "% confident": no regular expression, which GoogleTest reads differently on
    // each system.
    const std::string detected = "letter.txt\r\n  Encoding: KOI8-R (detected, ";
    ASSERT_THAT(log, HasSubstr(detected));
    const std::string after = log.substr(log.find(detected) + detected.size());
    const std::size_t digits = after.find_first_not_of("0123456789");
    EXPECT_GT(digits, 0u);
    EXPECT_EQ(after.substr(digits, 14), "% confident)\r\n");
    // The standard name, whatever alias the document wrote.
    EXPECT_THAT(log, HasSubstr("brief.xml\r\n  Encoding: ISO-8859-2 (declared)\r\n"));
    EXPECT_THAT(log, HasSubstr("Not analysed: Cannot tell its encoding: give --encoding"));
    EXPECT_THAT(ReadBytes(folder.path() / "out/analysis.csv"),
                HasSubstr("short.txt;Cannot tell its encoding: give --encoding;"));
}

TEST_F(DocumentEncodings, TheGivenEncodingReadsWhatTheDocumentDoesNotSay) {
    control->SetExtras({"cp1251", {}, {}});
    folder.Write("letter.txt", kKoi8Letter);
    ba.get_Files()->Add(folder.wpath("letter.txt"));
    ASSERT_TRUE(ba.Analyse());
    EXPECT_THAT(ReadBytes(folder.path() / "out/analysis.log"),
                HasSubstr("  Encoding: windows-1251 (given)\r\n"));
}

TEST_F(DocumentEncodings, AnEncodingIcuDoesNotKnowFailsTheJobBeforeAnyDocumentIsRead) {
    control->SetExtras({"klingon-8", {}, {}});
    folder.Write("letter.txt", kKoi8Letter);
    ba.get_Files()->Add(folder.wpath("letter.txt"));
    EXPECT_TRUE(RaisedBy([&] { ba.Analyse(); }));
    EXPECT_EQ(control->LastJobFailure(), L"The encoding given for the documents is not known");
    EXPECT_FALSE(fs::exists(folder.path() / "out/analysis.csv"));
}

}  // namespace
}  // namespace orv::engine::test
