#pragma once
// The operating-system services the component core needs, behind one abstract class so that
// the core never includes an OS header and tests can replace every service with a fake.
// Implementations: posix/PosixPlatform (Linux), win32/Win32Platform (Windows). All methods are
// called on the client's thread; implementations keep no per-call state.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace orv {

enum class OsFamily {
    Unknown,    // the platform could not tell (a failing version query)
    Windows9x,  // Windows 95, 98 and Me
    WindowsNT,  // every later Windows
    Posix,
};

class Platform {
public:
    virtual ~Platform() = default;

    // The value of the environment variable, or an empty text when it is not set.
    virtual std::wstring GetEnvironmentVariable(const std::wstring& name) const = 0;

    // The absolute path of the current directory; empty when it cannot be determined.
    virtual std::wstring GetCurrentDirectory() const = 0;

    // The folder for temporary files when neither TEMP nor TMP names one: the current
    // directory, as the component has always done on Windows. A platform with a folder meant
    // for temporary files gives that instead (POSIX: TMPDIR, else /tmp), since a job file
    // lists the documents and the current folder may be shared or read-only. Empty when it
    // cannot be determined.
    virtual std::wstring GetFallbackTempFolder() const { return GetCurrentDirectory(); }

    // Creates a new empty file in `folder` whose name is `prefix`, a unique part and ".TMP",
    // atomically (a name in use is never reused), with the most private access the OS gives
    // a new file there (the owner only on POSIX; the folder's inherited rights on Windows).
    // Returns the file's full path, or an empty text when no file could be made.
    virtual std::wstring CreateUniqueTempFile(const std::wstring& folder,
                                              const std::wstring& prefix) const = 0;

    // The family of the running operating system.
    virtual OsFamily GetOsFamily() const = 0;

    // Pauses the calling thread. Waits for other applications are loops over this and
    // ProcessMessages, so that a test platform can run them without waiting.
    virtual void Sleep(uint32_t milliseconds) const = 0;

    // Handles the window messages waiting for the calling thread, so that events and calls
    // of automation clients arrive during a wait. Does nothing where there are no windows.
    virtual void ProcessMessages() const = 0;

    // The top-level window of the class, or 0 when there is none.
    virtual intptr_t FindWindowByClass(const std::wstring& className) const = 0;

    // Brings the window to the foreground; the handle 0 does nothing.
    virtual void SetForegroundWindow(intptr_t window) const = 0;

    // The number 0.9 (9 / 10) as the user's locale writes it ("0.9", "0,9").
    virtual std::wstring FormatNineTenths() const = 0;

    // Reads `text` as a number the way the user's locale writes numbers (its decimal
    // separator, an optional sign, surrounding blanks); nullopt when the text is no number.
    virtual std::optional<double> ParseNumber(const std::wstring& text) const = 0;
};

// The platform of the running system, shared by every object that was given none.
std::shared_ptr<Platform> DefaultPlatform();

}  // namespace orv
