// The SubstitutionLocalisation options of a BatchAnalyse reaching the engine's matching.

#include <gtest/gtest.h>

#include <memory>

#include "app/AppTesting.h"
#include "front/BatchAnalyse.h"
#include "tessera/clsBATesseraSettings.h"

namespace orv::engine::test {
namespace {

using SubstitutionOptions = GoldenAnalysis;

constexpr const char* kMemory = R"(<?xml version="1.0" encoding="UTF-8"?>
<tmx version="1.4"><header creationtool="t" creationtoolversion="1" segtype="sentence"
 o-tmf="tmx" adminlang="en-US" srclang="en-US" datatype="plaintext"/><body>
<tu><tuv xml:lang="en-US"><seg>The pump runs for 30 minutes at 60 °C.</seg></tuv>
<tuv xml:lang="de-DE"><seg>Die Pumpe läuft 30 Minuten bei 60 °C.</seg></tuv></tu>
</body></tmx>
)";

TEST_F(SubstitutionOptions, NumbersAndMeasurementsSubstitutedOnlyWhenTheOptionsSaySo) {
    const struct {
        const char* text;
        bool substitute;
        int32_t exact;  // segments at 100%
    } cases[] = {
        {"The pump runs for 45 minutes at 80 °C.", false, 0},
        {"The pump runs for 45 minutes at 80 °C.", true, 1},
        {"The pump stops for 45 minutes at 80 °C.", true, 0},
    };
    folder.Write("memory.tmx", kMemory);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        folder.Write("doc.txt", std::string(c.text) + "\n");
        auto settings = std::make_shared<clsBATesseraSettings>();
        settings->put_WasInitialised(true);
        settings->put_OptionsSubstitutionLocalisationSubstituteNumbers(c.substitute);
        settings->put_OptionsSubstitutionLocalisationSubstituteMeasurements(c.substitute);
        ba.putref_BATesserasettings(settings);
        while (ba.get_Files()->Count() > 0) ba.get_Files()->Remove(1);
        ba.get_Files()->Add(folder.wpath("doc.txt"));
        ASSERT_TRUE(ba.Analyse());
        const auto record = ba.get_Files()->Item(1);
        EXPECT_EQ(record->get_SegmentsTotal(), 1);
        EXPECT_EQ(record->Get(BandField(orv::Band::Matches100, orv::Measure::Segments)), c.exact);
    }
}

}  // namespace
}  // namespace orv::engine::test
