#pragma once
// The input of the office fuzz targets. Random changes to deflated bytes almost never give a
// zip whose parts inflate, so most of the search would never reach the part readers; an input
// is therefore either a zip as it is (it begins with "PK") or a list of parts in text, zipped
// here before it is read:
//
//     == word/document.xml
//     <w:document ...>...</w:document>
//     == _rels/.rels
//     <Relationships ...>...</Relationships>
//
// A line that begins with "== " names the part that the lines after it hold.

#include <string>
#include <string_view>
#include <vector>

#include "support/office/ZipWriter.h"

namespace orv::fuzz {

inline std::vector<test::ZipEntry> PartsOf(std::string_view list) {
    std::vector<test::ZipEntry> parts;
    constexpr std::string_view kHeader = "== ";
    std::size_t at = 0;
    while (at < list.size()) {
        const std::size_t lineEnd = std::min(list.find('\n', at), list.size());
        const std::string_view line = list.substr(at, lineEnd - at);
        const std::size_t next = lineEnd < list.size() ? lineEnd + 1 : lineEnd;
        if (line.substr(0, kHeader.size()) == kHeader) {
            // Stored, not deflated: deflating each input would cost most of a run's time.
            parts.emplace_back(std::string(line.substr(kHeader.size())), "", true);
        } else if (!parts.empty()) {
            parts.back().content.append(list.substr(at, next - at));
        }
        at = next;
    }
    return parts;
}

// The zip to read for `input`: itself when it is one, else its part list zipped; empty when
// the list names no part or cannot be zipped (two parts of one name).
inline std::string ContainerOf(std::string_view input) {
    if (input.substr(0, 2) == "PK") return std::string(input);
    const std::vector<test::ZipEntry> parts = PartsOf(input);
    if (parts.empty()) return {};
    try {
        return test::ZipBytes(parts);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace orv::fuzz
