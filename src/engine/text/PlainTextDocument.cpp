#include "engine/text/PlainTextDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>

#include "engine/model/EngineError.h"
#include "platform/NarrowText.h"

namespace orv::engine {

namespace {

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

DecodedText DecodeDocumentText(std::string_view bytes, const std::string& givenEncoding) {
    DecodedText decoded;
    decoded.encoding = ChooseDocumentEncoding(bytes, std::nullopt, givenEncoding, false);
    decoded.text = DecodeToText(bytes, decoded.encoding);
    if (decoded.text.find(L'\0') != std::wstring::npos)
        RaiseEngineError(L"The file is not a plain-text file (it holds binary data)");
    return decoded;
}

std::wstring DecodePlainText(const std::string& bytes) {
    return DecodeDocumentText(bytes, "").text;
}

std::string ReadDocumentFileBytes(const std::wstring& path, const StopCheck& stop) {
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
        if (stop && stop()) RaiseEngineError(L"Reading the file was cancelled");
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
