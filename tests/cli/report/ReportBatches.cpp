#include "ReportBatches.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "results/clsLogFileParser.h"

namespace orv::test {

Files::Record AddProcessed(Files& files, const std::wstring& path, const BandWords& words,
                           int32_t taggingErrors) {
    auto record = files.Add(path);
    const int64_t total = std::accumulate(words.begin(), words.end(), int64_t{0});
    int32_t segments = 0, placeables = 0;
    for (std::size_t b = 0; b < kBandCount; ++b) {
        const auto band = static_cast<Band>(b);
        // Whole percent, halves up.
        const int64_t percent = total == 0 ? 0 : (200 * int64_t{words[b]} + total) / (2 * total);
        const int32_t bandSegments = (words[b] + 9) / 10;
        const int32_t bandPlaceables = words[b] > 0 ? 1 : 0;
        record->Set(BandField(band, Measure::Segments), bandSegments);
        record->Set(BandField(band, Measure::Words), words[b]);
        record->Set(BandField(band, Measure::Placeables), bandPlaceables);
        record->Set(BandField(band, Measure::Percent), static_cast<int32_t>(percent));
        segments += bandSegments;
        placeables += bandPlaceables;
    }
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    record->put_SegmentsTotal(segments);
    record->put_WordsTotal(static_cast<int32_t>(std::min(total, kMax)));
    record->put_PlaceablesTotal(placeables);
    record->put_CharactersTotal(static_cast<int32_t>(std::min(5 * total, kMax)));
    record->put_TaggingErrors(taggingErrors);
    record->put_CharsPerWord(5.0);
    record->put_FileProcessed(true);
    return record;
}

Files::Record AddFailed(Files& files, const std::wstring& path) {
    auto record = files.Add(path);
    record->put_FileProcessed(true);
    record->put_ProcessingError(true);
    return record;
}

void ParseLogRows(const TempFolder& folder, Files& files, const std::string& rows) {
    const std::string header =
        ";;;Repetitions;;;;100% Matches;;;;Total;;;\r\n"
        "File;Tagging Errors;Chars/Word;Segments;Words;Placeables;Percent;Segments;Words;"
        "Placeables;Percent;Segments;Words;Characters;Placeables\r\n";
    folder.Write("analysis.csv", header + rows);
    clsLogFileParser parser;
    parser.put_LogFileName(folder.wpath("analysis.log"));
    parser.ParseLogFile(files);
}

}  // namespace orv::test
