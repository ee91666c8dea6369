#pragma once
// What every part of a workbook shares: its elements come in either of the two namespaces a
// workbook may be written in (transitional or strict), and its on/off attributes are written
// as "1", "true" and the like.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/office/XmlPartReader.h"

namespace orv::engine {

inline constexpr std::string_view kTransitionalSpreadsheetNamespace =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr std::string_view kStrictSpreadsheetNamespace =
    "http://purl.oclc.org/ooxml/spreadsheetml/main";

// Whether the current node starts (or ends) the workbook element `localName`, in either
// namespace.
bool IsSpreadsheetStart(const XmlPartReader& reader, std::string_view localName);
bool IsSpreadsheetEnd(const XmlPartReader& reader, std::string_view localName);

// Whether the current node is text: character data, a CDATA section or whitespace.
bool IsTextNode(const XmlPartReader& reader);

// The on/off attribute `name` of the current element: `absent` when it has none, off for "0",
// "false" and "off", on for anything else.
bool SwitchAttribute(const XmlPartReader& reader, std::string_view name, bool absent);

// A count written in decimal digits, with spaces around it allowed; a value beyond what any
// part can mean saturates at kCountCeiling, so that hostile digits cannot overflow. None when
// the text is not such a count.
inline constexpr uint64_t kCountCeiling = uint64_t{1} << 40;
std::optional<uint64_t> ParseCount(std::string_view text);

// Appends the text of a cell as written in the part to `utf8`: the escapes of characters XML
// cannot hold ("_x000D_") become their characters, and control characters other than tab,
// line feed and carriage return are dropped, as no cell shows them.
void AppendCellText(std::string& utf8, std::string_view written);

}  // namespace orv::engine
