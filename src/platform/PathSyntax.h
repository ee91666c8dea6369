#pragma once
// How a path text splits into folder, name and extension. POSIX separates components with
// "/" only; Windows with "\" and "/" alike. Every split of the component (file names, the
// folder test of the job file, the CSV log name, the temporary TM's folder) uses these.

#include <string>

namespace orv {

enum class PathStyle { Posix, Windows };

// The style of the platform the component was built for.
PathStyle NativePathStyle();

bool IsPathSeparator(wchar_t c, PathStyle style = NativePathStyle());

// Position of the last separator, or npos.
std::wstring::size_type LastSeparator(const std::wstring& path,
                                      PathStyle style = NativePathStyle());

// The last component: the text after the last separator (the whole text when there is none).
std::wstring LastPathComponent(const std::wstring& path, PathStyle style = NativePathStyle());

// The folder text: everything before the last separator; the root separator itself when
// nothing is left ("/analysis.log" gives "/"); the whole text when there is no separator.
std::wstring FolderOfPath(const std::wstring& path, PathStyle style = NativePathStyle());

// Extension of the last component without the dot; empty when it has no dot.
std::wstring ExtensionOfPath(const std::wstring& path, PathStyle style = NativePathStyle());

// The last component without its extension (and without the dot before it).
std::wstring BaseNameOfPath(const std::wstring& path, PathStyle style = NativePathStyle());

// `path` with the extension of its last component replaced by `extension` (given with its
// dot, ".csv"), or with `extension` appended when that component has none; the folder part
// never changes. An empty path stays empty.
std::wstring WithExtension(const std::wstring& path, const std::wstring& extension,
                           PathStyle style = NativePathStyle());

// True when `name` matches `pattern` as a whole, where "*" stands for any run of characters
// and "?" for exactly one; every other character matches only itself (fold both texts first
// for a match that ignores case). Takes time proportional to the product of the lengths.
bool MatchesWildcard(const std::wstring& pattern, const std::wstring& name);

}  // namespace orv
