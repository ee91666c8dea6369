// Whole analyses through BatchAnalyse against the engine's object services:
// documents it cannot read, documents without words, a TM it cannot open, and an empty
// temporary TM that leaves nothing behind.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "app/AppTesting.h"
#include "engine/app/EngineObjectServices.h"
#include "front/BatchAnalyse.h"
#include "front/OrvBatchAnalyseErrors.h"
#include "platform/NarrowText.h"

namespace orv::engine::test {
namespace {

using BatchAnalyseOnEngine = GoldenAnalysis;

TEST_F(BatchAnalyseOnEngine, ADocumentTheEngineCannotReadEndsWithProcessingError) {
    folder.Write("binary.txt", std::string("\x01\x00\x02\x00", 4));
    folder.Write("symbols.txt", "+++\n\n***\n");
    const struct {
        const char* name;
        bool processed;
        int32_t segments, characters;
    } cases[] = {
        {"alpha.txt", true, 6, 245}, {"missing.txt", false, 0, 0},
        {"binary.txt", false, 0, 0}, {"temp", false, 0, 0},  // a folder
        {"symbols.txt", true, 2, 3},
    };
    for (const auto& c : cases) ba.get_Files()->Add(folder.wpath(c.name));
    ASSERT_TRUE(ba.Analyse());

    for (int32_t i = 0; i < ba.get_Files()->Count(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.name);
        const auto record = ba.get_Files()->Item(i + 1);
        EXPECT_EQ(record->get_FileProcessed(), c.processed);
        EXPECT_EQ(record->get_ProcessingError(), !c.processed);
        EXPECT_EQ(record->get_SegmentsTotal(), c.segments);
        EXPECT_EQ(record->get_CharactersTotal(), c.characters);
        if (std::string(c.name) == "symbols.txt") {
            EXPECT_EQ(record->get_WordsTotal(), 0);
            EXPECT_EQ(record->get_CharsPerWord(), 0.0);
            for (std::size_t b = 0; b < orv::kBandCount; ++b)
                EXPECT_EQ(record->Get(BandField(static_cast<orv::Band>(b), orv::Measure::Percent)),
                          0);
        }
    }
    EXPECT_EQ(CrLfLines(ToNarrow(ba.GetCsvLogFileContentWithoutHeader())).size(), 5u)
        << "every row is accepted";
}

TEST_F(BatchAnalyseOnEngine, TheLogSaysWhatADocumentLackedAndWhyABombWasRefused) {
    folder.Write("book.xml",
                 "<!DOCTYPE book SYSTEM \"docbook.dtd\"><book><para>Caf&eacute; &product;"
                 "</para></book>");
    std::string bomb = "<!DOCTYPE b [<!ENTITY a \"" + std::string(4000, 'a') + "\">]><b>";
    for (int i = 0; i < 4000; ++i) bomb += "&a;";
    folder.Write("bomb.xml", bomb + "</b>");
    for (const char* name : {"book.xml", "bomb.xml"}) ba.get_Files()->Add(folder.wpath(name));
    ASSERT_TRUE(ba.Analyse());

    EXPECT_TRUE(ba.get_Files()->Item(1)->get_FileProcessed());
    EXPECT_EQ(ba.get_Files()->Item(1)->get_WordsTotal(), 1) << "Caf\u00E9";
    EXPECT_TRUE(ba.get_Files()->Item(2)->get_ProcessingError());
    const std::string log = ReadBytes(folder.path() / "out/analysis.log");
    const std::string book = ToNarrow(folder.wpath("book.xml"));
    EXPECT_THAT(log, ::testing::HasSubstr("Note on " + book +
                                          ": The entity &eacute; is not "
                                          "declared in the file (its DTD is not read); it was "
                                          "counted as the HTML character of that name."));
    EXPECT_THAT(log, ::testing::HasSubstr("Note on " + book + ": The entity &product;"));
    EXPECT_THAT(log, ::testing::HasSubstr("Not analysed: The document is refused for its entity "
                                          "expansion"));
    EXPECT_THAT(ReadBytes(folder.path() / "out/analysis.csv"),
                ::testing::HasSubstr("bomb.xml;The document is refused for its entity expansion"));
}

TEST_F(BatchAnalyseOnEngine, ATmThatCannotBeReadIsUnableToOpenNeverAWrongPassword) {
    fs::create_directory(folder.path() / "50003");
    folder.Write("50003/memory.tmx", "<tmx><body>");
    ba.put_TranslationMemory(folder.wpath("50003/memory.tmx"));
    ba.get_Files()->Add(folder.wpath("alpha.txt"));

    const auto error = RaisedBy([&] { ba.Analyse(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), ovOrvBatchAnalyseErrorUnableToOpenTM);
    EXPECT_TRUE(Listing(folder.path() / "temp").empty());
    EXPECT_EQ(RunningEngine(), nullptr) << "the Tessera this analysis started has quit";
}

TEST_F(BatchAnalyseOnEngine, AnEmptyTemporaryTmMatchesNothingAndIsDeletedAfterwards) {
    ba.put_CreateEmptyTM(true);
    ba.put_TranslationMemory(L"");
    ba.put_TranslationMemoryUserName(L"");
    ba.put_TranslationMemorySourceLanguageId(1033);
    for (const char* name : {"alpha.txt", "beta.txt"}) ba.get_Files()->Add(folder.wpath(name));
    ASSERT_TRUE(ba.Analyse());

    // Only the repetitions (alpha's fourth and beta's fourth segment) escape no match.
    const int32_t segments[] = {6, 5};
    for (int32_t i = 0; i < 2; ++i) {
        const auto record = ba.get_Files()->Item(i + 1);
        EXPECT_TRUE(record->get_FileProcessed());
        EXPECT_EQ(record->get_SegmentsTotal(), segments[i]);
        EXPECT_EQ(record->get_SegmentsInRepetitions(), 1);
        EXPECT_EQ(record->get_SegmentsInNoMatches(), segments[i] - 1);
        EXPECT_EQ(record->get_PercentInRepetitions() + record->get_PercentInNoMatches(), 100);
    }
    EXPECT_TRUE(Listing(folder.path() / "temp").empty()) << "temporary TM and job file deleted";
    EXPECT_EQ(RunningEngine(), nullptr);
}

}  // namespace
}  // namespace orv::engine::test
