#pragma once
// A platform for tests: environment, current directory, OS family and number locale are
// whatever the test says; temporary files are made for real (in the folder asked for) unless
// the test makes that call fail. Every question asked is counted.

#include <map>
#include <string>

#include "platform/Platform.h"

namespace orv::test {

class FakePlatform : public Platform {
public:
    std::map<std::wstring, std::wstring> environment;
    std::wstring currentDirectory;
    OsFamily osFamily = OsFamily::Posix;
    wchar_t decimalSeparator = L'.';
    bool failTempFile = false;

    mutable int osFamilyQueries = 0;
    mutable int tempFileRequests = 0;
    mutable std::wstring lastTempFolder;

    std::wstring GetEnvironmentVariable(const std::wstring& name) const override;
    std::wstring GetCurrentDirectory() const override { return currentDirectory; }
    std::wstring CreateUniqueTempFile(const std::wstring& folder,
                                      const std::wstring& prefix) const override;
    OsFamily GetOsFamily() const override;
    std::wstring FormatNineTenths() const override;
    // Plain decimal numbers with `decimalSeparator`, an optional sign and surrounding spaces.
    std::optional<double> ParseNumber(const std::wstring& text) const override;
};

}  // namespace orv::test
