#include "engine/text/PlainTextDocument.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include "engine/model/EngineError.h"
#include "platform/NarrowText.h"

namespace orv::engine {

namespace {

void AppendCodePoint(std::wstring& text, UChar32 c) {
    if (c < 0 || c > 0x10FFFF || U_IS_SURROGATE(c)) c = 0xFFFD;
    if constexpr (sizeof(wchar_t) == 4) {
        text += static_cast<wchar_t>(c);
    } else if (c >= 0x10000) {
        text += static_cast<wchar_t>(U16_LEAD(c));
        text += static_cast<wchar_t>(U16_TRAIL(c));
    } else {
        text += static_cast<wchar_t>(c);
    }
}

bool IsValidUtf8(const std::string& bytes, std::size_t from) {
    const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto n = static_cast<int32_t>(bytes.size());
    for (auto i = static_cast<int32_t>(from); i < n;) {
        UChar32 c;
        U8_NEXT(s, i, n, c);
        if (c < 0) return false;
    }
    return true;
}

std::wstring FromUtf8(const std::string& bytes, std::size_t from) {
    const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto n = static_cast<int32_t>(bytes.size());
    std::wstring text;
    text.reserve(bytes.size() - from);
    for (auto i = static_cast<int32_t>(from); i < n;) {
        UChar32 c;
        U8_NEXT(s, i, n, c);
        AppendCodePoint(text, c);
    }
    return text;
}

std::wstring FromUtf16(const std::string& bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        auto first = static_cast<uint8_t>(bytes[i]), second = static_cast<uint8_t>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    std::wstring text;
    text.reserve(units.size());
    const auto n = static_cast<int32_t>(units.size());
    for (int32_t i = 0; i < n;) {
        UChar32 c;
        U16_NEXT(units.data(), i, n, c);
        AppendCodePoint(text, c);
    }
    if (bytes.size() % 2 != 0) text += L'\uFFFD';  // a last, odd byte
    return text;
}

bool StartsWith(const std::string& bytes, std::string_view prefix) {
    return bytes.compare(0, prefix.size(), prefix) == 0;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::wstring DecodePlainText(const std::string& bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return FromUtf8(bytes, 3);
    if (StartsWith(bytes, "\xFF\xFE")) return FromUtf16(bytes, false);
    if (StartsWith(bytes, "\xFE\xFF")) return FromUtf16(bytes, true);
    if (bytes.find('\0') != std::string::npos)
        RaiseEngineError(L"The file is not a plain-text file (it holds binary data)");
    if (IsValidUtf8(bytes, 0)) return FromUtf8(bytes, 0);
    return FromNarrow(bytes);
}

std::string ReadDocumentFileBytes(const std::wstring& path) {
    std::optional<std::string> narrow;
    if (path.find(L'\0') == std::wstring::npos) narrow = ToNarrowExactly(path);
    if (!narrow || narrow->empty())
        RaiseEngineError(L"The file name cannot be used on this system");
    std::error_code error;
    if (std::filesystem::is_directory(*narrow, error))
        RaiseEngineError(L"The path names a folder, not a file");

    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(narrow->c_str(), "rb"));
    if (!file) {
        switch (errno) {
            case ENOENT:
            case ENOTDIR:
                RaiseEngineError(L"The file does not exist");
            case EACCES:
            case EPERM:
                RaiseEngineError(L"Access to the file is denied");
            default:
                RaiseEngineError(L"The file cannot be opened");
        }
    }
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, got);
        if (got < sizeof buffer) break;
    }
    if (std::ferror(file.get())) RaiseEngineError(L"The file cannot be read to its end");
    return bytes;
}

std::wstring ReadPlainTextDocument(const std::wstring& path) {
    return DecodePlainText(ReadDocumentFileBytes(path));
}

}  // namespace orv::engine
