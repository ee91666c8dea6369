#pragma once
// The text of a small INI file the user wrote (an options file, a rate grid), read with a
// bound so that a wrong name such as /dev/zero fails instead of filling memory.

#include <filesystem>
#include <string>
#include <vector>

namespace orv::cli {

inline constexpr std::size_t kLargestIniFile = std::size_t{1} << 20;

// The file's lines in the system's narrow encoding (UTF-8 in practice) made wide, a UTF-8
// byte order mark and the "\r" of Windows line ends dropped. Throws UsageError
// "cannot read the <what> <file>: <reason>" for a missing file, a folder, a read error or
// a file larger than kLargestIniFile.
std::vector<std::wstring> ReadIniFileLines(const std::filesystem::path& file,
                                           const std::string& what);

}  // namespace orv::cli
