#pragma once
// Helpers of the engine application tests: the golden batch copied into a real temporary
// folder, a TEMP that points where the test says for as long as it runs, and the fields of
// the CSV log file.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/app/EngineControl.h"
#include "engine/app/EngineObjectServices.h"
#include "front/BatchAnalyse.h"
#include "platform/AutomationError.h"
#include "support/ScopedEnvironmentVariable.h"
#include "support/TempFolder.h"

namespace orv::engine::test {

using orv::test::ReadBytes;
using orv::test::TempFolder;
namespace fs = std::filesystem;

// The golden batch: memory.tmx (en-US to de-DE, one unit into fr-FR only), alpha.txt and
// beta.txt. Copied into `folder`, so that a run writes nothing into the source tree.
inline void CopyGolden(const TempFolder& folder) {
    for (const char* name : {"memory.tmx", "alpha.txt", "beta.txt"})
        fs::copy_file(fs::path(ORV_GOLDEN_DIR) / name, folder.path() / name);
}

// TEMP set to `folder` until the end of the scope, then put back as it was.
class ScopedTemp {
public:
    explicit ScopedTemp(const fs::path& folder) : temp_("TEMP", folder.string()) {}

private:
    orv::test::ScopedEnvironmentVariable temp_;
};

// A BatchAnalyse whose engine applications answer to `control`.
inline ServiceSet EngineServicesFor(std::shared_ptr<EngineControl> control) {
    return ServiceSet(nullptr, nullptr, std::make_shared<EngineObjectServices>(std::move(control)));
}

// An analysis through BatchAnalyse against the golden memory, for German, its job file in
// temp/ and its logs in out/; its engine answers to `control`.
class GoldenAnalysis : public ::testing::Test {
protected:
    GoldenAnalysis() {
        CopyGolden(folder);
        fs::create_directory(folder.path() / "temp");
        fs::create_directory(folder.path() / "out");
        ba.put_TranslationMemory(folder.wpath("memory.tmx"));
        ba.put_TranslationMemoryUserName(L"anna");
        ba.put_TranslationMemoryTargetLanguageId(1031);
        ba.put_LogFileName(folder.wpath("out/analysis.log"));
    }

    TempFolder folder;
    ScopedTemp temp{folder.path() / "temp"};
    std::shared_ptr<EngineControl> control = std::make_shared<EngineControl>();
    BatchAnalyse ba{EngineServicesFor(control)};
};

template <class Work>
std::optional<AutomationError> RaisedBy(Work&& work) {
    try {
        work();
    } catch (const AutomationError& error) {
        return error;
    }
    return std::nullopt;
}

// The fields of a line of the CSV log file.
inline std::vector<std::string> Fields(const std::string& line, const std::string& by = ";") {
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find(by, start);
        fields.push_back(line.substr(start, end - start));
        if (end == std::string::npos) return fields;
        start = end + by.size();
    }
}

// The lines of a text whose lines end in CR LF.
inline std::vector<std::string> CrLfLines(const std::string& text) {
    auto lines = Fields(text, "\r\n");
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

// The names in a folder.
inline std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// The two header lines of the CSV log file.
inline const std::string kCsvLabels =
    ";;;Repetitions;;;;100% Matches;;;;95% - 99%;;;;85% - 94%;;;;75% - 84%;;;;50% - 74%;;;;"
    "No Match;;;;Relayed;;;;Total;;;";
inline const std::string kCsvColumns = [] {
    std::string columns = "File;Tagging Errors;Chars/Word";
    for (int band = 0; band < 8; ++band) columns += ";Segments;Words;Placeables;Percent";
    return columns + ";Segments;Words;Characters;Placeables";
}();

// What the readable log says when an analysis used the previous one's match index again.
inline const std::string kReuseNote = "The match index of the previous analysis was used again.";

// The CSV data rows of the golden documents after their paths, target de-DE (counted by
// hand in GoldenBatch_test.cpp).
inline const std::string kAlphaRow =
    ";0;4.80;1;6;0;12;2;11;1;22;1;18;0;35;1;8;0;16;0;0;0;0;0;0;0;0;1;8;2;16;0;0;0;0;6;51;245;3";
inline const std::string kBetaRow =
    ";0;4.33;1;8;0;21;0;0;0;0;0;0;0;0;0;0;0;0;1;7;0;18;1;10;0;26;1;9;1;23;1;5;0;13;5;39;169;1";

// Columns of a CSV data row: the bands in the log's order, then the totals, each four
// columns wide (a band's segments, words, placeables, percent; the totals' segments, words,
// characters, placeables).
// clang-format off
enum class LogBand { Repetitions, Exact, Fuzzy95, Fuzzy85, Fuzzy75, Fuzzy50, NoMatch, Relayed,
                     Total };
// clang-format on

inline std::string Cell(const std::string& row, LogBand band, int column) {
    const auto fields = Fields(row);
    const std::size_t at =
        3 + 4 * static_cast<std::size_t>(band) + static_cast<std::size_t>(column);
    return at < fields.size() ? fields[at] : "<none>";
}

}  // namespace orv::engine::test
