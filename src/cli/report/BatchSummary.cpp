#include "cli/report/BatchSummary.h"

#include <algorithm>

namespace orv::cli {
namespace {

int64_t Known(int64_t value) {
    return value < 0 ? 0 : value;
}

// Sums the known cells; stays unknown until some document knows the cell.
void AddKnown(int64_t& sum, int64_t value) {
    if (value < 0) return;
    sum = sum < 0 ? value : sum + value;
}

// Whole-number percentage, halves rounded up.
int64_t Percent(int64_t part, int64_t whole) {
    if (part < 0 || whole < 0) return kUnknownCount;
    if (whole == 0) return 0;
    return (200 * part + whole) / (2 * whole);
}

DocumentSummary RowOf(const clsBAFileInfo& record) {
    DocumentSummary row;
    row.path = record.get_FilePath();
    row.key = record.get_Key();
    row.processed = record.get_FileProcessed();
    row.processingError = record.get_ProcessingError();
    row.taggingErrors = record.get_TaggingErrors();
    row.charsPerWord = record.get_CharsPerWord();
    for (std::size_t b = 0; b < kBandCount; ++b) {
        const auto band = static_cast<Band>(b);
        row.bands[b].segments = record.Get(BandField(band, Measure::Segments));
        row.bands[b].words = record.Get(BandField(band, Measure::Words));
        row.bands[b].placeables = record.Get(BandField(band, Measure::Placeables));
        row.bands[b].percent = record.Get(BandField(band, Measure::Percent));
    }
    row.segments = record.get_SegmentsTotal();
    row.words = record.get_WordsTotal();
    row.placeables = record.get_PlaceablesTotal();
    row.characters = record.get_CharactersTotal();
    return row;
}

DocumentSummary TotalOf(const std::vector<DocumentSummary>& documents) {
    DocumentSummary total;
    total.taggingErrors = total.segments = total.words = total.placeables = total.characters =
        kUnknownCount;
    for (auto& band : total.bands) band = {kUnknownCount, kUnknownCount, kUnknownCount, 0};

    int64_t ratioCharacters = 0;
    int64_t ratioWords = 0;
    bool ratioKnown = false;
    bool anyProcessed = false;
    for (const auto& row : documents) {
        total.processingError = total.processingError || row.processingError;
        if (!row.processed) continue;
        anyProcessed = true;
        AddKnown(total.taggingErrors, row.taggingErrors);
        for (std::size_t b = 0; b < kBandCount; ++b) {
            AddKnown(total.bands[b].segments, row.bands[b].segments);
            AddKnown(total.bands[b].words, row.bands[b].words);
            AddKnown(total.bands[b].placeables, row.bands[b].placeables);
        }
        AddKnown(total.segments, row.segments);
        AddKnown(total.words, row.words);
        AddKnown(total.placeables, row.placeables);
        AddKnown(total.characters, row.characters);
        // A document that lacks one of the two would skew the ratio of the others.
        if (row.characters >= 0 && row.words >= 0) {
            ratioCharacters += row.characters;
            ratioWords += row.words;
            ratioKnown = true;
        }
    }
    if (!anyProcessed) {
        // Nothing was counted: the batch has no words rather than unknown ones.
        DocumentSummary empty;
        empty.processingError = total.processingError;
        return empty;
    }
    total.processed = std::all_of(documents.begin(), documents.end(),
                                  [](const DocumentSummary& row) { return row.processed; });
    // The log never leaves tagging errors unknown; an empty batch simply has none.
    total.taggingErrors = Known(total.taggingErrors);
    if (!ratioKnown) {
        total.charsPerWord = kUnknownCharsPerWord;
    } else if (ratioWords > 0) {
        total.charsPerWord = static_cast<double>(ratioCharacters) / static_cast<double>(ratioWords);
    }
    for (auto& band : total.bands) band.percent = Percent(band.words, total.words);
    return total;
}

}  // namespace

std::size_t BatchSummary::ProcessedCount() const {
    return static_cast<std::size_t>(
        std::count_if(documents.begin(), documents.end(),
                      [](const DocumentSummary& row) { return row.processed; }));
}

int64_t CountOf(const DocumentSummary& row, CountField field) {
    switch (field) {
        case CountField::TaggingErrors:
            return row.taggingErrors;
        case CountField::SegmentsTotal:
            return row.segments;
        case CountField::WordsTotal:
            return row.words;
        case CountField::PlaceablesTotal:
            return row.placeables;
        case CountField::CharactersTotal:
            return row.characters;
        default:
            break;
    }
    // The band fields come in blocks of four from the repetitions' segments on.
    const auto offset = static_cast<std::size_t>(field) -
                        static_cast<std::size_t>(CountField::SegmentsInRepetitions);
    const BandCounts& band = row.bands[offset / 4];
    switch (static_cast<Measure>(offset % 4)) {
        case Measure::Segments:
            return band.segments;
        case Measure::Words:
            return band.words;
        case Measure::Placeables:
            return band.placeables;
        case Measure::Percent:
            return band.percent;
    }
    return kUnknownCount;
}

BatchSummary SummariseBatch(const Files& files) {
    BatchSummary summary;
    for (const auto& record : files) summary.documents.push_back(RowOf(*record));
    summary.total = TotalOf(summary.documents);
    return summary;
}

}  // namespace orv::cli
