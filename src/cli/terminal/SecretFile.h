#pragma once
// The password file as the operating system has it: its first line, read without leaving
// copies in buffers that are not wiped, and whether others may read it. Each system has its
// own implementation (posix/, win32/), chosen by the build.

#include <cstddef>
#include <filesystem>
#include <string>

namespace orv::cli {

// The bytes of the file's first line without its '\n', read in small pieces that stop at
// the line's end: a pipe need not be drained, and a device without line ends stops being read
// once more than `longest` bytes came (the result is then longer than `longest`). Pipes and
// named pipes work. Throws std::runtime_error with the system's reason (no file name) when the
// file cannot be opened or read.
std::string ReadFirstLineOfSecretFile(const std::filesystem::path& file, std::size_t longest);

// True when users other than the file's owner may read it: group or other read bits on POSIX;
// on Windows an entry of its access list that lets everyone, all users or all authenticated
// users read it. False for a file that cannot be examined and for anything but a file.
bool SecretFileReadableByOthers(const std::filesystem::path& file);

// How the user makes such a file private, for the warning ("chmod 600 makes it private").
extern const char kMakeSecretFilePrivate[];

}  // namespace orv::cli
