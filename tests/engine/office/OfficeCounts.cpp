#include "OfficeCounts.h"

#include <sstream>

#include "engine/app/AnalysisRun.h"
#include "engine/match/TmIndex.h"
#include "engine/text/Utf8.h"
#include "engine/tm/TmxReader.h"
#include "support/TempFolder.h"

namespace orv::engine::test {

const char* const kOfficeTmx = R"(<?xml version="1.0" encoding="UTF-8"?>
<tmx version="1.4"><header srclang="en-US" datatype="plaintext" segtype="sentence"
 adminlang="en-US" creationtool="tests" creationtoolversion="1" o-tmf="tmx"/><body>
<tu><tuv xml:lang="en-US"><seg>The quick brown fox jumps over the lazy dog.</seg></tuv>
<tuv xml:lang="de-DE"><seg>Der schnelle braune Fuchs springt über den faulen Hund.</seg></tuv></tu>
<tu><tuv xml:lang="en-US"><seg>Press the green button to start the machine.</seg></tuv>
<tuv xml:lang="de-DE"><seg>Drücken Sie die grüne Taste, um die Maschine zu starten.</seg></tuv></tu>
<tu><tuv xml:lang="en-US"><seg>Our office is closed on public holidays.</seg></tuv>
<tuv xml:lang="de-DE"><seg>Unser Büro ist an Feiertagen geschlossen.</seg></tuv></tu>
<tu><tuv xml:lang="en-US"><seg>Invoices are due within thirty days.</seg></tuv>
<tuv xml:lang="de-DE"><seg>Rechnungen sind innerhalb von dreißig Tagen fällig.</seg></tuv></tu>
</body></tmx>
)";

DocumentReport AnalyseDocument(const std::string& fileName, const std::string& bytes,
                               const DocumentSettings& settings, const MatchOptions& options,
                               const std::string& tmx) {
    const orv::test::TempFolder folder;
    folder.Write(fileName, bytes);
    const TranslationMemory memory = ReadTmxBytes(tmx, L"memory.tmx");
    const TmIndex index(memory, L"de-DE", 1);
    AnalysisRun run = RunAnalysis(memory, index, {folder.wpath(fileName)}, options, settings, 1);
    return run.report.documents.at(0);
}

std::string Figures(const DocumentReport& report) {
    std::ostringstream out;
    if (report.failure) out << "failed: " << ToUtf8(*report.failure) << "; ";
    out << "segments " << report.segments << ", words " << report.total.words << ", characters "
        << report.total.characters << ", placeables " << report.total.placeables
        << ", tagging errors " << report.taggingErrors;
    static const char* const kNames[] = {"rep", "100", "95", "85", "75", "50", "none", "relayed"};
    for (std::size_t i = 0; i < kReportBands; ++i) {
        const BandTally& tally = report.tally(kLogBandOrder[i]);
        if (tally.segments == 0) continue;
        out << "; " << kNames[i] << " " << tally.segments << "/" << tally.words << "/"
            << tally.placeables;
    }
    return out.str();
}

}  // namespace orv::engine::test
