#pragma once
// A file read whole into memory, as the engine reads documents, job files and the TMs it
// rewrites: only a regular file is read (a folder, a device, a pipe or a socket is refused
// before any byte, without waiting), and only up to a limit, checked before and while reading
// since the file may grow meanwhile.

#include <cstdint>
#include <functional>
#include <string>

namespace orv::engine {

// The bytes of the file at `path`. Throws FileFailure: the open's problem, IsFolder,
// NotRegular, TooLarge beyond `limit` bytes, ReadFailed, or Cancelled once `stop` gives true
// (asked between pieces of a large file).
std::string ReadWholeFile(const std::wstring& path, std::uint64_t limit,
                          const std::function<bool()>& stop = {});

}  // namespace orv::engine
