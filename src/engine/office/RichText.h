#pragma once
// The text of a string item of a workbook: a shared string (<si>) or a cell's own string
// (<is>), plain or in runs (<r>) of their own formatting. Phonetic guides (<rPh>, their
// <phoneticPr>) are a reading aid above the text, not text to translate, and are left out.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/office/XmlPartReader.h"

namespace orv::engine {

// The formatting of a run that a translator sees as markup inside a cell, as bits: font, size
// and colour are no part of it, as a change of them carries no meaning to keep.
using RunFormatting = uint8_t;
inline constexpr RunFormatting kBold = 1;
inline constexpr RunFormatting kItalic = 2;
inline constexpr RunFormatting kUnderline = 4;
inline constexpr RunFormatting kStrike = 8;
inline constexpr RunFormatting kSuperscript = 16;
inline constexpr RunFormatting kSubscript = 32;

// The formatting as FormattedRuns takes it, named as the runs of a Word document or a slide
// are, so that the codes of all three formats read alike: "" for none, "b", "b i", "sup".
std::string FormattingName(RunFormatting formatting);

// Reads the string item whose start is the current node, up to its end, passing each piece of
// its text (UTF-8, escapes decoded, see AppendCellText) with that piece's formatting.
using AddRichText = std::function<void(std::string_view utf8, RunFormatting formatting)>;
void ReadRichText(XmlPartReader& reader, const AddRichText& add);

// Reads the element whose start is the current node, up to its end: its text, as
// AppendCellText makes it, with no runs (a cell's value, a run's <t>).
std::string ReadElementText(XmlPartReader& reader);

}  // namespace orv::engine
