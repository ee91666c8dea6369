#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/NarrowText.h"

namespace orv {

namespace {

constexpr const char* kWideEncoding = "WCHAR_T";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

bool IsPlainAscii(const char* codeset) {
    for (const char* ascii : {"ANSI_X3.4-1968", "ASCII", "US-ASCII", "646", "ISO646-US"}) {
        if (strcasecmp(codeset, ascii) == 0) return true;
    }
    return false;
}

// Not a Unicode scalar value; wchar_t holds UTF-32 on every POSIX system.
bool IsNoCharacter(wchar_t c) {
    return c < 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF);
}

bool CanConvert(const char* to, const char* from) {
    iconv_t converter = iconv_open(to, from);
    if (converter == kNoConverter) return false;
    iconv_close(converter);
    return true;
}

// The character set of the locale the user chose in the environment, not of the process's
// global locale, which stays "C" unless the program calls setlocale.
std::string DetectEncoding() {
    std::string codeset;
    if (locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0))) {
        if (const char* name = nl_langinfo_l(CODESET, user); name && !IsPlainAscii(name)) {
            codeset = name;
        }
        freelocale(user);
    }
    if (codeset.empty() || !CanConvert(codeset.c_str(), kWideEncoding) ||
        !CanConvert(kWideEncoding, codeset.c_str())) {
        return "UTF-8";
    }
    return codeset;
}

const std::string& Encoding() {
    static const std::string encoding = DetectEncoding();
    return encoding;
}

// One iconv descriptor, which carries conversion state and so must not be shared between
// threads.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return handle_ != kNoConverter; }

    // Converts all of `input`; each input unit (of `unitSize` bytes) that cannot be
    // converted is skipped and `replacement(unit)` written in its place.
    template <typename Replacement>
    std::string Convert(const char* input, std::size_t size, std::size_t unitSize,
                        Replacement replacement) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::string result;
        alignas(wchar_t) char buffer[1024];
        char* in = const_cast<char*>(input);
        std::size_t left = size;
        bool flushing = false;  // all input read; only the return to the initial state is left
        for (;;) {
            char* out = buffer;
            std::size_t room = sizeof buffer;
            std::size_t done = flushing ? iconv(handle_, nullptr, nullptr, &out, &room)
                                        : iconv(handle_, &in, &left, &out, &room);
            int error = errno;
            result.append(buffer, out);
            if (done != kFailed) {
                if (flushing) break;
                flushing = true;
            } else if (error == E2BIG && out != buffer) {
                continue;
            } else if (flushing || left == 0) {
                break;
            } else {
                std::size_t skip = std::min(unitSize, left);
                result += replacement(in);
                in += skip;
                left -= skip;
            }
        }
        return result;
    }

private:
    iconv_t handle_;
};

}  // namespace

std::string ToNarrow(const std::wstring& text) {
    thread_local Converter converter(Encoding().c_str(), kWideEncoding);
    std::string narrow;
    // Each run of characters between the escaped bytes, which go back as they came.
    auto convert = [&](std::wstring run) {
        // iconv would encode surrogates and values beyond U+10FFFF as if they were characters.
        std::replace_if(run.begin(), run.end(), IsNoCharacter, L'?');
        if (!converter.ok()) {
            for (wchar_t c : run) narrow += c < 0x80 ? static_cast<char>(c) : '?';
            return;
        }
        narrow += converter.Convert(reinterpret_cast<const char*>(run.data()),
                                    run.size() * sizeof(wchar_t), sizeof(wchar_t),
                                    [](const char*) { return std::string("?"); });
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !IsEscapedByte(text[i])) continue;
        if (i > start) convert(text.substr(start, i - start));
        if (i < text.size()) narrow += static_cast<char>(0x80 + (text[i] - kFirstEscapedByte));
        start = i + 1;
    }
    return narrow;
}

std::wstring FromNarrow(const std::string& bytes) {
    thread_local Converter converter(kWideEncoding, Encoding().c_str());
    auto escaped = [](unsigned char byte) {
        return byte < 0x80 ? static_cast<wchar_t>(byte)
                           : static_cast<wchar_t>(kFirstEscapedByte + (byte - 0x80));
    };
    if (!converter.ok()) {
        std::wstring ascii;
        for (char c : bytes) ascii += escaped(static_cast<unsigned char>(c));
        return ascii;
    }
    std::string wide = converter.Convert(bytes.data(), bytes.size(), 1, [&](const char* unit) {
        const wchar_t c = escaped(static_cast<unsigned char>(*unit));
        return std::string(reinterpret_cast<const char*>(&c), sizeof c);
    });
    std::wstring text(wide.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), wide.data(), text.size() * sizeof(wchar_t));
    // iconv decodes sequences for values beyond U+10FFFF as if they were characters; the bytes
    // are gone by then, so such a text can name no file.
    std::replace_if(
        text.begin(), text.end(), [](wchar_t c) { return IsNoCharacter(c) && !IsEscapedByte(c); },
        L'\uFFFD');
    return text;
}

std::string NarrowEncodingName() {
    return Encoding();
}

}  // namespace orv
