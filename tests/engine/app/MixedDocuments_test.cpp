// The bundled example (examples/: a memory and an HTML, a text, a PO and an XLIFF document)
// analysed through BatchAnalyse against the engine, as it is and with its memory protected by
// a user and a password.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/AppTesting.h"
#include "engine/app/EngineObjectServices.h"
#include "engine/tm/TmUsers.h"
#include "front/BatchAnalyse.h"
#include "front/OrvBatchAnalyseErrors.h"
#include "results/StatisticsFields.h"

namespace orv::engine::test {
namespace {

using orv::BandField;
using orv::CountField;
using orv::kBandCount;
using orv::Measure;

const char* const kDocuments[] = {"guide.html", "notes.txt", "messages.po", "strings.xlf"};
constexpr int32_t kLanguageEnGb = 2057;
constexpr int32_t kLanguageDeDe = 1031;

int32_t BandSum(const clsBAFileInfo& record, Measure measure) {
    int32_t sum = 0;
    for (std::size_t b = 0; b < kBandCount; ++b)
        sum += record.Get(BandField(static_cast<orv::Band>(b), measure));
    return sum;
}

// The bands of every record add up to its totals.
void ExpectBandsAddUp(const clsBAFileInfo& record) {
    EXPECT_EQ(BandSum(record, Measure::Segments), record.get_SegmentsTotal());
    EXPECT_EQ(BandSum(record, Measure::Words), record.get_WordsTotal());
    EXPECT_EQ(BandSum(record, Measure::Placeables), record.get_PlaceablesTotal());
    // Each percent is rounded on its own.
    EXPECT_NEAR(BandSum(record, Measure::Percent), 100, kBandCount / 2);
}

class MixedDocuments : public ::testing::Test {
public:
    MixedDocuments() {
        fs::copy(ORV_EXAMPLES_DIR, folder.path() / "examples", fs::copy_options::recursive);
        fs::create_directory(folder.path() / "temp");
        ba.put_TranslationMemory(folder.wpath("examples/memory.tmx"));
        ba.put_TranslationMemoryUserName(L"demo");
        ba.put_TranslationMemorySourceLanguageId(kLanguageEnGb);
        ba.put_TranslationMemoryTargetLanguageId(kLanguageDeDe);
        ba.put_LogFileName(folder.wpath("analysis.log"));
        for (const char* name : kDocuments)
            ba.get_Files()->Add(folder.wpath(std::string("examples/docs/") + name));
    }

    std::shared_ptr<clsBAFileInfo> Record(std::size_t i) {
        return ba.get_Files()->Item(static_cast<int32_t>(i + 1));
    }

    TempFolder folder;
    ScopedTemp temp{folder.path() / "temp"};
    BatchAnalyse ba;
};

TEST_F(MixedDocuments, TheExampleHasSegmentsInEveryBandButRelayed) {
    ASSERT_TRUE(ba.Analyse());
    // Twelve each: the HTML's script, the XLIFF unit not to translate and the PO header are
    // not read.
    std::array<int32_t, kBandCount> batch{};
    for (std::size_t i = 0; i < std::size(kDocuments); ++i) {
        SCOPED_TRACE(kDocuments[i]);
        const auto record = Record(i);
        EXPECT_TRUE(record->get_FileProcessed());
        EXPECT_EQ(record->get_TaggingErrors(), 0);
        EXPECT_EQ(record->get_SegmentsTotal(), 12);
        ExpectBandsAddUp(*record);
        for (std::size_t b = 0; b < kBandCount; ++b)
            batch[b] += record->Get(BandField(static_cast<orv::Band>(b), Measure::Segments));
    }
    for (std::size_t b = 0; b < kBandCount; ++b)
        EXPECT_EQ(batch[b] > 0, static_cast<orv::Band>(b) != orv::Band::Relay) << "band " << b;
}

TEST_F(MixedDocuments, AProtectedExampleTmGivesTheSameAnalysisToItsUserAndRefusesOthers) {
    // A bold start never ended, in the one unit the memory does not know anyway.
    const fs::path xliff = folder.path() / "examples/docs/strings.xlf";
    std::string text = ReadBytes(xliff);
    const std::string tip = "<source>Tip: pin important notes";
    ASSERT_NE(text.find(tip), std::string::npos);
    text.replace(text.find(tip), tip.size(),
                 "<source>Tip: pin <bpt id=\"1\">&lt;b&gt;</bpt>important notes");
    folder.Write("examples/docs/strings.xlf", text);
    const std::array<int32_t, 4> taggingErrors = {0, 0, 0, 1};

    // Open to anyone first, for the numbers to compare with.
    ASSERT_TRUE(ba.Analyse());
    std::vector<clsBAFileInfo> open;
    for (std::size_t i = 0; i < std::size(kDocuments); ++i) open.push_back(*Record(i));

    AddTmUser(folder.wpath("examples/memory.tmx"), L"demo", L"n0tes-2024");
    ba.put_TranslationMemoryPassword(L"n0tes-2024");
    ASSERT_TRUE(ba.Analyse());
    for (std::size_t i = 0; i < std::size(kDocuments); ++i) {
        SCOPED_TRACE(kDocuments[i]);
        const auto record = Record(i);
        EXPECT_TRUE(record->get_FileProcessed());
        EXPECT_FALSE(record->get_ProcessingError());
        EXPECT_EQ(record->get_TaggingErrors(), taggingErrors[i]);
        ExpectBandsAddUp(*record);
        for (std::size_t f = 0; f < orv::kCountFieldCount; ++f) {
            const auto field = static_cast<CountField>(f);
            EXPECT_EQ(record->Get(field), open[i].Get(field)) << "field " << f;
        }
        EXPECT_EQ(record->get_CharsPerWord(), open[i].get_CharsPerWord());
    }

    const struct {
        const wchar_t* user;
        const wchar_t* password;
    } refused[] = {{L"demo", L"n0tes-2025"}, {L"guest", L"n0tes-2024"}};
    for (const auto& r : refused) {
        ba.put_TranslationMemoryUserName(r.user);
        ba.put_TranslationMemoryPassword(r.password);
        const auto error = RaisedBy([&] { ba.Analyse(); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), ovOrvBatchAnalyseErrorUnableToOpenTMWrongPassword);
        EXPECT_TRUE(Listing(folder.path() / "temp").empty());
        EXPECT_EQ(RunningEngine(), nullptr);
    }
}

}  // namespace
}  // namespace orv::engine::test
