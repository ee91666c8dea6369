#pragma once
// Conversion between automation strings and the system's narrow encoding, in which every
// file of the component is read and written and every path is handed to the OS: the ANSI
// code page on Windows, the locale's character set on POSIX (UTF-8 where the locale only
// promises ASCII, as in the plain "C" locale, so that file names are never mangled).

#include <optional>
#include <string>

namespace orv {

// Characters the narrow encoding cannot represent become '?'.
std::string ToNarrow(const std::wstring& text);

// Bytes that are not valid in the narrow encoding become U+FFFD.
std::wstring FromNarrow(const std::string& bytes);

// The narrow form of `text` when it holds only characters the narrow encoding represents,
// so that a path handed to the OS names the file the caller meant and no other.
inline std::optional<std::string> ToNarrowExactly(const std::wstring& text) {
    std::string narrow = ToNarrow(text);
    if (FromNarrow(narrow) != text) return std::nullopt;
    return narrow;
}

// The name of the narrow encoding in use, for diagnostics ("UTF-8", "ISO-8859-1", ...).
std::string NarrowEncodingName();

}  // namespace orv
