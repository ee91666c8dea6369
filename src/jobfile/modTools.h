#pragma once
// Small shared operations: quoting paths for the job file, unique temporary files and the
// operating-system family check. The overloads without services use the defaults.

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace orv::modTools {

// Removes leading and trailing spaces (code 32 only), then adds a double quote in front and
// at the end unless the text already starts or ends with one. An empty or all-blank text
// gives a single double quote. Nothing inside is escaped.
std::wstring QuotePath(std::wstring strPath);

// Creates a new empty file "ORV<unique>.TMP" in the folder named by TEMP, else TMP, else
// the platform's fallback (GetFallbackTempFolder: the current directory on Windows, TMPDIR
// or /tmp on POSIX), and returns its full path. A folder that does not exist (TEMP is
// then not passed over for TMP) or a failure to create the file gives an empty text.
std::wstring GetUniqueTempFileName(const Platform& platform, const FileSystem& fileSystem);
std::wstring GetUniqueTempFileName();

// True on the Windows 95/98/Me family. The platform is asked once per thread; the answer
// is kept for the thread's life.
bool IsWin9x(const Platform& platform);
bool IsWin9x();

// The fields of a split as a list in the same order; position k (one-based) of the list is
// element k - 1 of the result.
std::vector<std::wstring> ArrayToCollection(const std::vector<std::wstring>& fields);

}  // namespace orv::modTools
