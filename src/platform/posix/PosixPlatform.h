#pragma once
// The platform services of a POSIX system. Numbers are read and written with the decimal
// separator of one locale, chosen at construction; the object holds no other state and may
// be copied and used from any thread.

#include <string>

#include "platform/Platform.h"

namespace orv {

class PosixPlatform : public Platform {
public:
    // `numericLocale` names the locale whose decimal separator numbers use ("de_DE.UTF-8");
    // empty means the user's locale from the environment (LC_ALL, LC_NUMERIC, LANG). A
    // locale that cannot be loaded gives the "C" locale's ".".
    explicit PosixPlatform(std::string numericLocale = "");

    std::wstring GetEnvironmentVariable(const std::wstring& name) const override;
    std::wstring GetCurrentDirectory() const override;
    // TMPDIR when it is set and not empty, else /tmp.
    std::wstring GetFallbackTempFolder() const override;
    // The file is named `folder`/`prefix`XXXXXX.TMP. Empty when the folder text is empty,
    // the prefix holds a "/", either holds a character the narrow encoding lacks, or the
    // OS refuses (missing folder, no permission).
    std::wstring CreateUniqueTempFile(const std::wstring& folder,
                                      const std::wstring& prefix) const override;
    OsFamily GetOsFamily() const override { return OsFamily::Posix; }
    void Sleep(uint32_t milliseconds) const override;
    // No windows here: nothing to process, find or bring forward.
    void ProcessMessages() const override {}
    intptr_t FindWindowByClass(const std::wstring&) const override { return 0; }
    void SetForegroundWindow(intptr_t) const override {}
    std::wstring FormatNineTenths() const override;
    // Accepts blanks (spaces, tabs) around, a sign, digits with at most one decimal
    // separator, and an exponent ("1,5e3"); no thousands grouping, "nan", "inf" or hex.
    // A number too large for a double is no number.
    std::optional<double> ParseNumber(const std::wstring& text) const override;

private:
    std::wstring decimalSeparator_;
};

}  // namespace orv
