#pragma once
// The platform services of Windows, through the wide-character APIs only, so that names
// and paths outside the ANSI code page pass unchanged. Numbers use the decimal separator of
// one locale, read on every call; the object holds no other state and may be used from any
// thread (the message and window services act on the calling thread's windows).

#include <string>

#include "platform/Platform.h"

namespace orv {

class Win32Platform : public Platform {
public:
    // `numberLocale` names the locale whose decimal separator numbers use ("de-DE"); empty
    // means the user's own, so that a change of the user's settings shows at once. A locale
    // Windows does not know gives ".".
    explicit Win32Platform(std::wstring numberLocale = L"");

    // Empty for a variable that is not set, and for a name holding a NUL.
    std::wstring GetEnvironmentVariable(const std::wstring& name) const override;
    std::wstring GetCurrentDirectory() const override;
    // GetTempFileNameW with unique number 0: the file is `folder`\`prefix` (its first three
    // characters), a hexadecimal number and ".TMP" (in Windows' letter case; Wine writes
    // ".tmp"), created by Windows with the folder's inherited access rights (the user's TEMP
    // folder is the user's own). Empty when the folder text is empty, either text holds a
    // NUL, the prefix holds a separator, or Windows refuses (missing folder, no permission,
    // a path too long).
    std::wstring CreateUniqueTempFile(const std::wstring& folder,
                                      const std::wstring& prefix) const override;
    // From the platform id of GetVersionExW: Windows9x or WindowsNT; Unknown when the call
    // fails or names another platform.
    OsFamily GetOsFamily() const override;
    void Sleep(uint32_t milliseconds) const override;
    // Dispatches every message waiting for the calling thread. A WM_QUIT met on the way is
    // posted again and ends the round, so that the client's own message loop still ends.
    void ProcessMessages() const override;
    intptr_t FindWindowByClass(const std::wstring& className) const override;
    void SetForegroundWindow(intptr_t window) const override;
    std::wstring FormatNineTenths() const override;
    // The reading of ParseDecimalNumber with the locale's separator: blanks around, a sign,
    // digits with at most one separator, an exponent; no grouping, "nan", "inf" or hex.
    std::optional<double> ParseNumber(const std::wstring& text) const override;

private:
    std::wstring DecimalSeparator() const;

    std::wstring numberLocale_;
};

}  // namespace orv
