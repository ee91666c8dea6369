#pragma once
// Two questions the analysis command asks of the operating system: may a folder be written,
// and what is the local time. Each system has its own implementation (posix/, win32/), chosen
// by the build.

#include <ctime>
#include <filesystem>

namespace orv::cli {

// Whether this process may make files in `folder`: the system's own check of its permissions
// (access(2) on POSIX; on Windows a file made there and gone at once, since neither the
// read-only attribute nor the access list alone tells). False for a folder that is not there.
bool FolderIsWritable(const std::filesystem::path& folder);

// `moment` in the local time zone; safe to call from any thread.
std::tm LocalTime(std::time_t moment);

}  // namespace orv::cli
