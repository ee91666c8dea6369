#pragma once
// Conversion between automation strings and the system's narrow encoding, in which the
// contents of the component's files (the job file, the CSV log file) are read and written:
// the ANSI code page on Windows, the locale's character set on POSIX (UTF-8 where the locale
// only promises ASCII, as in the plain "C" locale). Paths do not go to the OS from here but
// through ToNativePath (NativePath.h): on Windows as wide text, on POSIX in this encoding.

#include <optional>
#include <string>
#include <string_view>

#include "platform/CodePoints.h"

namespace orv {

// On POSIX a byte that is not valid in the narrow encoding stands in the text as the lone
// surrogate kFirstEscapedByte + (byte - 0x80), which no valid text holds, and goes back to the
// same byte: file names there are bytes, and one that the locale cannot read must still name
// its file (as it does in a folder listing, the job file and the CSV log).
inline constexpr wchar_t kFirstEscapedByte = 0xDC80;

inline bool IsEscapedByte(wchar_t c) {
    return c >= kFirstEscapedByte && c < kFirstEscapedByte + 0x80;
}

// Characters the narrow encoding cannot represent become '?' (never a look-alike); an escaped
// byte (POSIX) becomes that byte again.
std::string ToNarrow(const std::wstring& text);

// Bytes that are not valid in the narrow encoding become, one for each byte that is no part
// of a valid character, U+FFFD on Windows and an escaped byte on POSIX (kFirstEscapedByte).
std::wstring FromNarrow(const std::string& bytes);

// The narrow form of `text` when it holds only characters the narrow encoding represents,
// so that it reads back as the very same text (on POSIX, a path that names the file the
// caller meant and no other).
inline std::optional<std::string> ToNarrowExactly(const std::wstring& text) {
    std::string narrow = ToNarrow(text);
    if (FromNarrow(narrow) != text) return std::nullopt;
    return narrow;
}

// The text of a file that a person wrote or an editor saved: UTF-8 when it starts with UTF-8's
// byte order mark (which is no part of the text), as editors save it on every system;
// otherwise the narrow encoding. Decoded as the narrow encoding, the mark would garble the
// first line of a file on Windows.
inline std::wstring FromTextFileBytes(std::string_view bytes) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kUtf8Mark.size()) != kUtf8Mark) return FromNarrow(std::string(bytes));
    std::wstring text;
    AppendUtf8AsUnits(text, bytes.substr(kUtf8Mark.size()));
    return text;
}

// The name of the narrow encoding in use, for diagnostics ("UTF-8", "ISO-8859-1",
// "Windows-1252", ...).
std::string NarrowEncodingName();

}  // namespace orv
