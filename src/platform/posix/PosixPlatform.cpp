#include "platform/posix/PosixPlatform.h"

#include <chrono>
#include <thread>

#include <langinfo.h>
#include <locale.h>
#include <stdlib.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/NarrowText.h"

namespace orv {

namespace {

constexpr char kTempSuffix[] = ".TMP";

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

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
    std::size_t i = 0, end = text.size();
    while (i < end && IsBlank(text[i])) ++i;
    while (end > i && IsBlank(text[end - 1])) --end;

    // The text is checked here and rewritten in the locale-free form that from_chars reads,
    // so "nan", "inf", hex and a foreign decimal separator never get through.
    std::string plain;
    auto copyDigits = [&] {
        std::size_t count = 0;
        for (; i < end && IsDigit(text[i]); ++i, ++count) plain += static_cast<char>(text[i]);
        return count;
    };
    bool negative = false;
    if (i < end && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    std::size_t digits = copyDigits();
    const std::wstring& separator = decimalSeparator_;
    if (end - i >= separator.size() && text.compare(i, separator.size(), separator) == 0) {
        i += separator.size();
        plain += '.';
        digits += copyDigits();
    }
    if (digits == 0) return std::nullopt;
    if (i < end && (text[i] == L'e' || text[i] == L'E')) {
        plain += 'e';
        if (++i < end && (text[i] == L'+' || text[i] == L'-'))
            plain += static_cast<char>(text[i++]);
        if (copyDigits() == 0) return std::nullopt;
    }
    if (i != end) return std::nullopt;

    double value = 0;
    auto [last, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || last != plain.data() + plain.size()) return std::nullopt;
    return negative ? -value : value;
}

void PosixPlatform::Sleep(uint32_t milliseconds) const {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace orv
