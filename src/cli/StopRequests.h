#pragma once
// The operating system's requests that the program stop: SIGINT, SIGTERM and SIGHUP on POSIX;
// Ctrl-C, Ctrl-Break and the closing of the console window on Windows. Each system has its own
// implementation (posix/, win32/), chosen by the build.

namespace orv::cli {

// Told of each request, with the number its exit code adds to 128: the signal's on POSIX; on
// Windows 2 for Ctrl-C and 21 for Ctrl-Break (the C runtime's SIGINT and SIGBREAK), 1 for a
// closed console window (as SIGHUP is for a closed terminal). It returns true when it has taken
// the request, false when the request is to take the system's own course, which by default ends
// the program at once. It runs in a signal handler (POSIX) or on a thread of the system's
// (Windows): it may only touch lock-free atomics.
using StopRequestHandler = bool (*)(int stopNumber) noexcept;

// The number of an interrupt from the keyboard (Ctrl-C).
inline constexpr int kInterruptStopNumber = 2;

// Routes the requests to `handler` until RemoveStopRequestHandler; the handlers in place before
// are kept aside and come back then. One handler at a time, installed and removed on one thread.
void InstallStopRequestHandler(StopRequestHandler handler);

// Puts back what was in place before. Where the system ends the program as soon as a handler
// returns (Windows, for a closed console window), a handler that is waiting for the batch to stop
// is released now, the batch having stopped.
void RemoveStopRequestHandler();

}  // namespace orv::cli
