#pragma once
// Where the engine keeps files it can always make again (the match index of a TM), apart
// from the user's own files: the per-user cache folder each system has for them. Each system
// has its own implementation (posix/, win32/), chosen by the build.

#include <optional>
#include <string>

namespace orv::engine {

// The folder where this user's caches of program `program` go: POSIX
// $XDG_CACHE_HOME/<program> when XDG_CACHE_HOME is set to an absolute path, else
// $HOME/.cache/<program> (an absolute HOME); Windows %LOCALAPPDATA%\<program>\cache. None when
// neither is known, or when `program` is empty or holds a path separator.
std::optional<std::wstring> UserCacheFolder(const std::wstring& program);

// Creates `folder` and any missing parents; the folders it creates are owner-only (0700) on
// POSIX, as the caches in them tell which files the user works on. True when the folder
// exists afterwards. Never throws.
bool EnsureFolder(const std::wstring& folder);

}  // namespace orv::engine
