#include "platform/win32/Win32Platform.h"

#include <utility>

#include "platform/DecimalNumber.h"

#include "platform/win32/WindowsApi.h"

namespace orv {

namespace {

bool HasNul(const std::wstring& text) {
    return text.find(L'\0') != std::wstring::npos;
}

// Calls `get(buffer, room)`, which returns the length written, or the room it needs
// (terminator included) when the buffer is too small, or 0 for failure; grows the buffer
// until the text fits, since the value may change between two calls.
template <typename Get>
std::wstring GrowingCall(Get get) {
    std::wstring text(260, L'\0');
    for (;;) {
        const DWORD got = get(text.data(), static_cast<DWORD>(text.size()));
        if (got == 0) return {};
        if (got < text.size()) {
            text.resize(got);
            return text;
        }
        text.resize(got);
    }
}

}  // namespace

Win32Platform::Win32Platform(std::wstring numberLocale) : numberLocale_(std::move(numberLocale)) {}

std::wstring Win32Platform::GetEnvironmentVariable(const std::wstring& name) const {
    if (name.empty() || HasNul(name)) return {};
    return GrowingCall([&](wchar_t* buffer, DWORD room) {
        return GetEnvironmentVariableW(name.c_str(), buffer, room);
    });
}

std::wstring Win32Platform::GetCurrentDirectory() const {
    return GrowingCall(
        [](wchar_t* buffer, DWORD room) { return GetCurrentDirectoryW(room, buffer); });
}

std::wstring Win32Platform::CreateUniqueTempFile(const std::wstring& folder,
                                                 const std::wstring& prefix) const {
    // An empty folder text would quietly mean the current directory, and a separator in the
    // prefix would put the file into another folder.
    if (folder.empty() || HasNul(folder) || HasNul(prefix) ||
        prefix.find_first_of(L"\\/") != std::wstring::npos) {
        return {};
    }
    wchar_t buffer[500] = {};  // longer than any path GetTempFileNameW writes (MAX_PATH)
    if (GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, buffer) == 0) return {};
    return buffer;
}

OsFamily Win32Platform::GetOsFamily() const {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExW(&version)) return OsFamily::Unknown;
    switch (version.dwPlatformId) {
        case VER_PLATFORM_WIN32_WINDOWS:
            return OsFamily::Windows9x;
        case VER_PLATFORM_WIN32_NT:
            return OsFamily::WindowsNT;
        default:
            return OsFamily::Unknown;
    }
}

void Win32Platform::Sleep(uint32_t milliseconds) const {
    // INFINITE would never return; the longest finite pause is as good.
    ::Sleep(milliseconds == INFINITE ? INFINITE - 1 : milliseconds);
}

void Win32Platform::ProcessMessages() const {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

intptr_t Win32Platform::FindWindowByClass(const std::wstring& className) const {
    if (HasNul(className)) return 0;
    return reinterpret_cast<intptr_t>(FindWindowW(className.c_str(), nullptr));
}

void Win32Platform::SetForegroundWindow(intptr_t window) const {
    ::SetForegroundWindow(reinterpret_cast<HWND>(window));
}

std::wstring Win32Platform::DecimalSeparator() const {
    const wchar_t* locale =
        numberLocale_.empty() ? LOCALE_NAME_USER_DEFAULT : numberLocale_.c_str();
    wchar_t separator[8] = {};  // LOCALE_SDECIMAL holds at most three characters
    if (HasNul(numberLocale_) || GetLocaleInfoEx(locale, LOCALE_SDECIMAL, separator,
                                                 static_cast<int>(std::size(separator))) <= 1) {
        return L".";
    }
    return separator;
}

std::wstring Win32Platform::FormatNineTenths() const {
    return L"0" + DecimalSeparator() + L"9";
}

std::optional<double> Win32Platform::ParseNumber(const std::wstring& text) const {
    return ParseDecimalNumber(text, DecimalSeparator());
}

}  // namespace orv
