#pragma once
// The command line's own text: its arguments, the paths it keeps in std::string, what it
// prints and what it writes for a person to read. On POSIX that is the narrow encoding of
// NarrowText.h, as file names there are bytes in the locale's charset. On Windows it is
// UTF-8: the C++ library's paths take narrow text as UTF-8 there, so a name reaches its file
// whatever the ANSI code page holds, and the console is switched to UTF-8 for the run
// (ConsoleTextEncoding.h). The component's own files (job file, CSV log) keep the narrow
// encoding; only the command line's text is meant here. Each system has its own
// implementation (posix/, win32/), chosen by the build.

#include <optional>
#include <string>

namespace orv::cli {

// Characters the encoding cannot represent become '?' (POSIX) or U+FFFD (a lone surrogate on
// Windows).
std::string ToCliText(const std::wstring& text);

// Bytes that form no character become U+FFFD on Windows and escaped bytes on POSIX
// (kFirstEscapedByte in NarrowText.h), so that a POSIX file name keeps naming its file.
std::wstring FromCliText(const std::string& bytes);

// The encoding's name for messages ("UTF-8", "ISO-8859-1").
std::string CliTextEncodingName();

// `text` in the encoding when it reads back as the very same text.
inline std::optional<std::string> ToCliTextExactly(const std::wstring& text) {
    std::string bytes = ToCliText(text);
    if (FromCliText(bytes) != text) return std::nullopt;
    return bytes;
}

}  // namespace orv::cli
