#pragma once
// Where a loaded module lies, as a server that registers itself writes its own path.

#include <windows.h>

#include <string>

namespace orv::com {

// The module's path as Windows loaded it; empty when it cannot be read.
std::wstring ModulePath(HMODULE module);

}  // namespace orv::com
