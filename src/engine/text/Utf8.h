#pragma once
// UTF-8 to and from the wide automation string: TMX files and the XML that libxml2 hands over
// are UTF-8 whatever the system's narrow encoding is.

#include <string>
#include <string_view>

#include "platform/CodePoints.h"

namespace orv::engine {

// Appends the characters of `utf8`; a byte that starts no valid sequence becomes U+FFFD.
inline void AppendUtf8(std::wstring& out, std::string_view utf8) {
    AppendUtf8AsUnits(out, utf8);
}

// Appends `text` as UTF-8; a lone surrogate becomes U+FFFD.
inline void AppendAsUtf8(std::string& out, std::wstring_view text) {
    AppendUnitsAsUtf8(out, text);
}

inline std::wstring FromUtf8(std::string_view utf8) {
    std::wstring text;
    AppendUtf8(text, utf8);
    return text;
}

inline std::string ToUtf8(std::wstring_view text) {
    std::string utf8;
    AppendAsUtf8(utf8, text);
    return utf8;
}

}  // namespace orv::engine
