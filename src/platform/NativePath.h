#pragma once
// The one place where a path text of the component becomes a path of the operating system.
// Every file operation of the core converts here, once, at the edge: on Windows straight from
// the wide text (so a path outside the ANSI code page still names its file); on POSIX through
// the narrow encoding of NarrowText.h, as file names there are bytes in the locale's charset.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace orv {

// The OS's path for `path`; nullopt when the text holds a NUL or (on POSIX) a character the
// narrow encoding cannot represent, since such a text could only name some other file. An
// empty text gives an empty path.
std::optional<std::filesystem::path> ToNativePath(const std::wstring& path);

// The path text of an OS path, as listed in a folder (POSIX: bytes the narrow encoding
// cannot read become U+FFFD).
std::wstring FromNativePath(const std::filesystem::path& path);

// The narrow text (NarrowText.h) of an OS path, for messages and for the paths a program keeps
// in std::string: its bytes on POSIX. Not path::string(), which on Windows gives UTF-8 with
// the MinGW library, whatever the code page, while a path made from a std::string reads it in
// the code page: the round trip would name another file.
std::string NarrowPathText(const std::filesystem::path& path);

// Opens the file with a C library `mode` ("rb", "wb"). Returns nullptr with errno set when
// the OS refuses. The caller owns the stream (NativeFile does).
std::FILE* OpenNativeFile(const std::filesystem::path& path, const char* mode);

}  // namespace orv
