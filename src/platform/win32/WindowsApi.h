#pragma once
// <windows.h> for the Windows implementations of the platform, included after the component's
// own headers. Windows defines names such as GetEnvironmentVariable and DeleteFile as macros
// for their W or A variants, which would rename the component's members of the same names in
// whatever follows; they are undefined here, and the W functions are always called by their
// full names.

#include <windows.h>

#undef DeleteFile
#undef GetCurrentDirectory
#undef GetEnvironmentVariable
