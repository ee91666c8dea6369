#pragma once
// A rate grid read from an INI file, one per client as a rule:
//
//     [Rates]
//     price = 0.085
//     currency = EUR
//     rounding = document
//     minimum-per-document = 5
//     minimum-per-job = 40
//
//     [Shares]
//     repetitions = 25%
//     100 = 25
//     ...
//
// - [Rates]: price (required; the price of one new word, up to 6 decimals), currency
//   (required; any text up to 16 characters), rounding (document, the default, or total),
//   minimum-per-document and minimum-per-job (optional, default 0: none).
// - [Shares]: every band of kBandKeys, each once: the percent of the price paid for one of
//   its words, 0 to 100, with or without "%", up to 4 decimals.
// - Numbers are plain decimals with a point: no sign, no grouping, no exponent.
// - Section and key names ignore letter case; each key may be given once; comments are whole
//   lines starting with ";" or "#"; a UTF-8 byte order mark is skipped.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "cli/quote/RateGrid.h"

namespace orv::cli {

// Whether a section of that name belongs to a rate grid (so the options reader passes it by).
bool IsRateGridSection(std::string_view name);

// The grid of a file that holds nothing else. Throws UsageError "FILE:LINE: KEY: what is
// wrong" for a bad value, an unknown key, band or section, a key given twice or outside a
// section; "FILE: ..." for a required key or band that is missing, or an unreadable file.
RateGrid ReadRateGridFile(const std::filesystem::path& file);

// The grid in an options file: its [Rates] and [Shares] sections, checked as above, the
// options' own sections left alone. Nothing when the file has neither section.
std::optional<RateGrid> ReadRateGridOfOptionsFile(const std::filesystem::path& file);

// A commented grid to copy and edit; reading it gives a valid grid.
std::string RateGridTemplate();

}  // namespace orv::cli
