#include "engine/app/AnalysisReport.h"

namespace orv::engine {

void DocumentReport::Add(const DocumentReport& other) {
    taggingErrors += other.taggingErrors;
    for (std::size_t b = 0; b < kReportBands; ++b) {
        bands[b].segments += other.bands[b].segments;
        bands[b].words += other.bands[b].words;
        bands[b].placeables += other.bands[b].placeables;
    }
    segments += other.segments;
    total += other.total;
}

int64_t Percent(int64_t part, int64_t whole) {
    if (whole <= 0) return 0;
    return (200 * part + whole) / (2 * whole);
}

}  // namespace orv::engine
