#pragma once
// Batches built by hand for the renderer tests, and a batch read from a CSV log file the way
// the program reads one.

#include <array>
#include <cstdint>
#include <string>

#include "results/Files.h"
#include "support/TempFolder.h"

namespace orv::test {

using BandWords = std::array<int32_t, kBandCount>;

// Appends a processed record whose bands hold `words`, as a complete log row would: one
// segment per ten words (rounded up), one placeable per band with words, the band's percent
// of the document, totals summed, five characters per word.
Files::Record AddProcessed(Files& files, const std::wstring& path, const BandWords& words,
                           int32_t taggingErrors = 0);

// Appends a record whose log row carried no numbers.
Files::Record AddFailed(Files& files, const std::wstring& path);

// A CSV log file with the given data rows under the headers of the bands repetitions,
// 100% matches and total only, parsed into `files`; the other bands' cells come out as -1.
void ParseLogRows(const TempFolder& folder, Files& files, const std::string& rows);

}  // namespace orv::test
