#pragma once
// The results of a batch as the renderers need them: one row per document, copied from its
// record, and a total row over the processed documents. Counts are 64-bit so that the total
// of many large documents cannot overflow.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "results/Files.h"
#include "results/StatisticsFields.h"

namespace orv::cli {

// A count the analysis log did not give. Documents carry it as the record holds it; in the
// total it stands for a cell that no processed document knew.
inline constexpr int64_t kUnknownCount = -1;
inline constexpr double kUnknownCharsPerWord = -1.0;

// Display names of the bands, in Band order.
inline constexpr std::array<std::string_view, kBandCount> kBandLabels = {
    "Repetitions", "100%", "95-99%", "85-94%", "75-84%", "50-74%", "Relayed", "No match",
};

inline std::string_view BandLabel(Band band) {
    return kBandLabels[static_cast<std::size_t>(band)];
}

struct BandCounts {
    int64_t segments = 0;
    int64_t words = 0;
    int64_t placeables = 0;
    int64_t percent = 0;  // of the document's (or the batch's) words, whole number
};

struct DocumentSummary {
    std::wstring path;  // empty in the total row
    std::wstring key;
    // In the total row: every document of a non-empty batch was processed.
    bool processed = false;
    // In the total row: some document failed.
    bool processingError = false;
    int64_t taggingErrors = 0;
    double charsPerWord = 0.0;
    std::array<BandCounts, kBandCount> bands{};
    int64_t segments = 0;
    int64_t words = 0;
    int64_t placeables = 0;
    int64_t characters = 0;

    const BandCounts& band(Band b) const { return bands[static_cast<std::size_t>(b)]; }
};

struct BatchSummary {
    std::vector<DocumentSummary> documents;  // in collection order, processed or not
    DocumentSummary total;

    std::size_t ProcessedCount() const;
};

// The row's value of a record field, so that a renderer can walk ORV_COUNT_FIELDS.
int64_t CountOf(const DocumentSummary& row, CountField field);

// Rows for every record of the collection and their total. The total sums the processed
// documents only; without any, every total is 0. A cell that a document does not know (-1)
// is left out of the sum; a total cell that no processed document knew stays unknown. The
// total's chars/word is characters / words
// over the documents that know both; its band percentages are band words / total words,
// rounded half up, 0 when the batch has no words.
BatchSummary SummariseBatch(const Files& files);

}  // namespace orv::cli
