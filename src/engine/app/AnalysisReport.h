#pragma once
// What one analysis found: per document and in total, segments, words and placeables in
// each band, with the characters and the tagging errors a buyer's quote needs.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/match/Matcher.h"
#include "engine/text/Counter.h"

namespace orv::engine {

inline constexpr std::size_t kReportBands = 8;

// The bands in the order of the log: repetitions, 100%, 95-99, 85-94, 75-84, 50-74, no
// match, relayed.
inline constexpr std::array<Band, kReportBands> kLogBandOrder = {
    Band::Repetition, Band::Exact100, Band::Fuzzy95, Band::Fuzzy85,
    Band::Fuzzy75,    Band::Fuzzy50,  Band::NoMatch, Band::Relayed};

struct BandTally {
    int64_t segments = 0;
    int64_t words = 0;
    int64_t placeables = 0;
};

struct DocumentReport {
    // The document as the job names it.
    std::wstring file;
    // Why the document could not be analysed; its counts are then all zero.
    std::optional<std::wstring> failure;
    int64_t taggingErrors = 0;
    // The encoding the document was read in and how it was chosen, for the readable log.
    std::wstring encoding;
    // Indexed by the Band value.
    std::array<BandTally, kReportBands> bands{};
    int64_t segments = 0;
    Counts total;

    BandTally& tally(Band band) { return bands[static_cast<std::size_t>(band)]; }
    const BandTally& tally(Band band) const { return bands[static_cast<std::size_t>(band)]; }
    void Add(const DocumentReport& other);
};

// round(100 * part / whole), halves away from zero; 0 when `whole` is 0.
int64_t Percent(int64_t part, int64_t whole);

struct AnalysisReport {
    std::wstring tmPath;
    std::wstring sourceLanguage;
    std::wstring targetLanguage;
    int32_t matchFloor = 50;
    std::vector<DocumentReport> documents;
    DocumentReport totals;
    // Notes for the readable log (tasks left undone, reused index, ...).
    std::vector<std::wstring> notes;
};

}  // namespace orv::engine
