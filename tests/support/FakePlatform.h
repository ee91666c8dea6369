#pragma once
// A platform for tests: environment, current directory, OS family and number locale are
// whatever the test says; temporary files are made for real by the running system's platform
// (in the folder asked for), or in a MemoryFileSystem when one is given, unless the test makes
// that call fail. Every question asked is counted.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace orv::test {

class MemoryFileSystem;

class FakePlatform : public Platform {
public:
    std::map<std::wstring, std::wstring> environment;
    std::wstring currentDirectory;
    OsFamily osFamily = OsFamily::Posix;
    wchar_t decimalSeparator = L'.';
    bool failTempFile = false;
    // Where temporary files are made instead of the real file system.
    std::shared_ptr<MemoryFileSystem> tempFilesIn;

    // The window FindWindowByClass finds (0: none).
    intptr_t window = 0;

    mutable int osFamilyQueries = 0;
    mutable int sleeps = 0;
    mutable uint64_t sleptMilliseconds = 0;
    mutable int messageRounds = 0;
    mutable std::wstring windowClassAsked;
    mutable std::vector<intptr_t> foregroundWindows;
    mutable int tempFileRequests = 0;
    mutable std::wstring lastTempFolder;

    std::wstring GetEnvironmentVariable(const std::wstring& name) const override;
    std::wstring GetCurrentDirectory() const override { return currentDirectory; }
    std::wstring CreateUniqueTempFile(const std::wstring& folder,
                                      const std::wstring& prefix) const override;
    OsFamily GetOsFamily() const override;
    // Time does not pass: the sleep is only counted.
    void Sleep(uint32_t milliseconds) const override {
        ++sleeps;
        sleptMilliseconds += milliseconds;
    }
    void ProcessMessages() const override { ++messageRounds; }
    intptr_t FindWindowByClass(const std::wstring& className) const override {
        windowClassAsked = className;
        return window;
    }
    void SetForegroundWindow(intptr_t handle) const override {
        foregroundWindows.push_back(handle);
    }
    std::wstring FormatNineTenths() const override;
    // Plain decimal numbers with `decimalSeparator`, an optional sign and surrounding spaces.
    std::optional<double> ParseNumber(const std::wstring& text) const override;
};

}  // namespace orv::test
