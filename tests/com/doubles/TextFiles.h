#pragma once
// Text files as the applications read and write them: in the ANSI code page, whole. A file
// written here appears complete or not at all (written beside its target, then renamed).
// Failures throw DispatchError exceptions with the runtime's file error numbers.

#include <string>

namespace orv::testdoubles {

// The file's text; error 53 when it cannot be read.
std::wstring ReadAnsiTextFile(const std::wstring& path);
// Replaces the file with `text`; error 76 when its folder does not exist, 75 otherwise.
void WriteAnsiTextFile(const std::wstring& path, const std::wstring& text);
bool FileExists(const std::wstring& path);

}  // namespace orv::testdoubles
