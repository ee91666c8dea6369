#include "platform/posix/PosixPlatform.h"

#include <chrono>
#include <thread>

#include <langinfo.h>
#include <locale.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/DecimalNumber.h"
#include "platform/NarrowText.h"

namespace orv {

namespace {

constexpr char kTempSuffix[] = ".TMP";

}  // namespace

PosixPlatform::PosixPlatform(std::string numericLocale) : decimalSeparator_(L".") {
    locale_t numbers = newlocale(LC_NUMERIC_MASK, numericLocale.c_str(), static_cast<locale_t>(0));
    if (numbers == static_cast<locale_t>(0)) return;
    if (const char* radix = nl_langinfo_l(RADIXCHAR, numbers); radix && *radix) {
        decimalSeparator_ = FromNarrow(radix);
    }
    freelocale(numbers);
}

std::wstring PosixPlatform::GetEnvironmentVariable(const std::wstring& name) const {
    auto narrowName = ToNarrowExactly(name);
    if (!narrowName || narrowName->find('\0') != std::string::npos) return {};
    const char* value = std::getenv(narrowName->c_str());
    return value ? FromNarrow(value) : std::wstring();
}

std::wstring PosixPlatform::GetCurrentDirectory() const {
    std::error_code error;
    auto current = std::filesystem::current_path(error);
    return error ? std::wstring() : FromNarrow(current.native());
}

std::wstring PosixPlatform::GetFallbackTempFolder() const {
    std::wstring folder = GetEnvironmentVariable(L"TMPDIR");
    return folder.empty() ? L"/tmp" : folder;
}

std::wstring PosixPlatform::CreateUniqueTempFile(const std::wstring& folder,
                                                 const std::wstring& prefix) const {
    // An empty folder text would quietly mean the current directory, and a "/" in the
    // prefix would put the file into another folder.
    if (folder.empty() || prefix.find(L'/') != std::wstring::npos) return {};
    auto narrowFolder = ToNarrowExactly(folder);
    auto narrowPrefix = ToNarrowExactly(prefix);
    if (!narrowFolder || !narrowPrefix) return {};
    std::string path = *narrowFolder;
    if (path.back() != '/') path += '/';
    path += *narrowPrefix + "XXXXXX" + kTempSuffix;
    if (path.find('\0') != std::string::npos) return {};

    // mkstemps picks the name and creates the file (mode 0600) in one step, so no other
    // process can take the same name in between.
    int descriptor = mkstemps(path.data(), static_cast<int>(sizeof kTempSuffix - 1));
    if (descriptor < 0) return {};
    close(descriptor);
    return FromNarrow(path);
}

std::wstring PosixPlatform::FormatNineTenths() const {
    return L"0" + decimalSeparator_ + L"9";
}

std::optional<double> PosixPlatform::ParseNumber(const std::wstring& text) const {
    return ParseDecimalNumber(text, decimalSeparator_);
}

void PosixPlatform::Sleep(uint32_t milliseconds) const {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace orv
