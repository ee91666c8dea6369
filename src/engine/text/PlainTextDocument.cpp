#include "engine/text/PlainTextDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string_view>

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include "engine/app/EngineControl.h"
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

// Closes the descriptor it owns when it goes.
class Descriptor {
public:
    explicit Descriptor(int descriptor) noexcept : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const noexcept { return descriptor_; }

private:
    int descriptor_;
};

[[noreturn]] void RaiseOpenFailure(int error) {
    switch (error) {
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

// In words: the reason fills a CSV cell that must not read as a number.
[[noreturn]] void RaiseTooLarge() {
    static_assert(kMaxDocumentFileBytes == std::uintmax_t{512} << 20, "say the new limit");
    RaiseEngineError(L"The file is larger than the half gigabyte a document may have");
}

}  // namespace

std::wstring DecodePlainText(const std::string& bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return FromUtf8(bytes, 3);
    if (StartsWith(bytes, "\xFF\xFE")) return FromUtf16(bytes, false);
    if (StartsWith(bytes, "\xFE\xFF")) return FromUtf16(bytes, true);
    if (bytes.find('\0') != std::string::npos)
        RaiseEngineError(L"The file is not a plain-text file (it holds binary data)");
    if (IsValidUtf8(bytes, 0)) return FromUtf8(bytes, 0);
    // A byte that is no character is text nobody can read, not a byte to be given back.
    std::wstring text = FromNarrow(bytes);
    std::replace_if(text.begin(), text.end(), IsEscapedByte, L'\uFFFD');
    return text;
}

std::string ReadDocumentFileBytes(const std::wstring& path) {
    std::optional<std::string> narrow;
    if (path.find(L'\0') == std::wstring::npos) narrow = ToNarrowExactly(path);
    if (!narrow || narrow->empty())
        RaiseEngineError(L"The file name cannot be used on this system");

    // Not blocking: opening a named pipe would otherwise wait for a writer, maybe for ever.
    // What was opened is then looked at, not what the name showed before, so that nothing
    // can swap a device in between.
    const Descriptor file(::open(narrow->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) RaiseOpenFailure(errno);
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) RaiseEngineError(L"The file cannot be opened");
    if (S_ISDIR(status.st_mode)) RaiseEngineError(L"The path names a folder, not a file");
    // A device or a pipe may never end (/dev/zero fills the memory, a pipe blocks).
    if (!S_ISREG(status.st_mode))
        RaiseEngineError(L"The path names a device, pipe or socket, not a regular file");
    if (static_cast<std::uintmax_t>(status.st_size) > kMaxDocumentFileBytes) RaiseTooLarge();

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[1 << 16];
    for (;;) {
        // A large document takes a while to read; a cancel request should not wait for it.
        if (CancelRequested()) RaiseEngineError(L"Reading the file was cancelled");
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            RaiseEngineError(L"The file cannot be read to its end");
        }
        // The file may have grown since it was measured.
        if (bytes.size() + static_cast<std::size_t>(got) > kMaxDocumentFileBytes) RaiseTooLarge();
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

std::wstring ReadPlainTextDocument(const std::wstring& path) {
    return DecodePlainText(ReadDocumentFileBytes(path));
}

}  // namespace orv::engine
