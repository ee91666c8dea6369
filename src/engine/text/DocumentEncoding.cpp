#include "engine/text/DocumentEncoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "engine/model/EngineError.h"
#include "engine/text/Utf8.h"

namespace orv::engine {
namespace {

struct CloseConverter {
    void operator()(UConverter* converter) const noexcept { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, CloseConverter>;

struct CloseDetector {
    void operator()(UCharsetDetector* detector) const noexcept { ucsdet_close(detector); }
};

// The detector needs no more than this to be as sure as it will be.
constexpr std::size_t kDetectorSample = std::size_t{16} << 20;

Converter OpenConverter(const std::string& name) {
    if (name.empty()) return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name.c_str(), &status));
    if (U_FAILURE(status)) return nullptr;
    return converter;
}

// UTF-16 and UTF-32 have no character of one byte: in bytes that read as ASCII they cannot be.
bool IsAsciiCompatible(const std::string& name) {
    const Converter converter = OpenConverter(name);
    return converter && ucnv_getMinCharSize(converter.get()) == 1;
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto n = static_cast<int32_t>(std::min<std::size_t>(bytes.size(), INT32_MAX));
    for (int32_t i = 0; i < n;) {
        UChar32 c;
        U8_NEXT(s, i, n, c);
        if (c < 0) return false;
    }
    return true;
}

bool IsUtf8(const std::string& name) {
    return name == "UTF-8";
}

bool IsControl(char16_t unit) {
    return unit < 0x20 && unit != u'\t' && unit != u'\n' && unit != u'\r' && unit != u'\f';
}

// Whether `bytes` read as UTF-16 in that byte order is text: no controls but tab and line ends,
// no lone surrogate, no noncharacter U+FFFE or U+FFFF.
bool IsUtf16Text(std::string_view bytes, bool bigEndian) {
    bool afterLead = false;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<uint8_t>(bytes[i]);
        const auto second = static_cast<uint8_t>(bytes[i + 1]);
        const auto unit =
            static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
        const bool lead = unit >= 0xD800 && unit <= 0xDBFF;
        const bool trail = unit >= 0xDC00 && unit <= 0xDFFF;
        if (IsControl(unit) || unit >= 0xFFFE || trail != afterLead) return false;
        afterLead = lead;
    }
    return !afterLead;
}

// UTF-16 without a byte order mark shows itself by the zero high bytes of its ASCII characters
// (spaces, digits, line ends), far more than the zero low bytes of other characters; binary data
// has zeros on both sides and controls that no text has.
std::optional<std::string> Utf16ByItsZeros(std::string_view bytes) {
    std::size_t even = 0, odd = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\0') ++(i % 2 == 0 ? even : odd);
    constexpr std::size_t kMajority = 4;
    if (even > kMajority * odd && IsUtf16Text(bytes, true)) return "UTF-16BE";
    if (odd > kMajority * even && IsUtf16Text(bytes, false)) return "UTF-16LE";
    return std::nullopt;
}

// The characters of markup without its tags, for the detector: ASCII tag names would pass for
// English, and ICU's own filter gives up on a document of fewer than five tags.
std::string WithoutTags(std::string_view markup) {
    std::string text;
    text.reserve(markup.size());
    bool inTag = false;
    for (char c : markup) {
        if (c == '<') {
            inTag = true;
        } else if (c == '>' && inTag) {
            inTag = false;
        } else if (!inTag) {
            text += c;
        }
    }
    return text;
}

// The text of `sample` in the encoding `name`, as UTF-8; none when a byte is no character in it
// (a guess that leaves bytes unread is wrong). `cut` says the sample may end inside a character.
std::optional<std::string> DecodedStrictly(std::string_view sample, const char* name, bool cut) {
    const Converter converter = OpenConverter(name);
    if (!converter) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    const icu::UnicodeString text(sample.data(), static_cast<int32_t>(sample.size()),
                                  converter.get(), status);
    if (U_FAILURE(status) && !(cut && status == U_TRUNCATED_CHAR_FOUND)) return std::nullopt;
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

[[noreturn]] void RaiseUnknownEncoding() {
    RaiseEngineError(L"Cannot tell its encoding: give --encoding");
}

DocumentEncoding Detect(std::string_view bytes, bool markup) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, CloseDetector> detector(ucsdet_open(&status));
    if (U_FAILURE(status)) RaiseUnknownEncoding();
    const std::string stripped = markup ? WithoutTags(bytes.substr(0, kDetectorSample)) : "";
    const std::string_view sample =
        markup ? std::string_view(stripped) : bytes.substr(0, kDetectorSample);
    ucsdet_setText(detector.get(), sample.data(), static_cast<int32_t>(sample.size()), &status);
    int32_t found = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &found, &status);
    if (U_FAILURE(status)) RaiseUnknownEncoding();

    // The bytes are not UTF-8 and hold no zero byte, so neither UTF-8 nor UTF-16 is a guess
    // worth having; nor is a name ucnv does not know, nor one that cannot read every byte.
    const bool cut = sample.size() == kDetectorSample;
    std::optional<DocumentEncoding> best;
    std::string bestText;
    for (int32_t i = 0; i < found; ++i) {
        status = U_ZERO_ERROR;
        const char* name = ucsdet_getName(matches[i], &status);
        const int32_t confidence = ucsdet_getConfidence(matches[i], &status);
        if (U_FAILURE(status) || !name || IsUtf8(name) || !IsAsciiCompatible(name)) continue;
        if (best && best->confidence - confidence >= kDetectorLead) break;
        const std::optional<std::string> text = DecodedStrictly(sample, name, cut);
        if (!text) continue;
        if (!best) {
            if (confidence < kLowestDetectorConfidence) RaiseUnknownEncoding();
            best = DocumentEncoding{name, DocumentEncoding::Source::Detected, confidence, 0};
            bestText = *text;
        } else if (*text != bestText) {
            // ISO-8859-1 and windows-1252 read most text alike: only a different reading is a
            // doubt.
            RaiseUnknownEncoding();
        }
    }
    if (!best) RaiseUnknownEncoding();
    return *best;
}

// The name a reader of the log knows the encoding by, whatever alias the document or the user
// wrote ("utf-8", "latin2", "cp1251"): its MIME name, else its IANA name, else as written.
std::string StandardName(const std::string& name) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(name.c_str(), &status);
    if (U_FAILURE(status) || !converter) return name;
    std::string standard = name;
    if (const char* internal = ucnv_getName(converter, &status); U_SUCCESS(status) && internal) {
        for (const char* kind : {"MIME", "IANA"}) {
            UErrorCode found = U_ZERO_ERROR;
            const char* written = ucnv_getStandardName(internal, kind, &found);
            if (U_SUCCESS(found) && written) {
                standard = written;
                break;
            }
        }
    }
    ucnv_close(converter);
    return standard;
}

}  // namespace

std::wstring DocumentEncoding::Described() const {
    std::wstring how;
    switch (source) {
        case Source::ByteOrderMark:
            how = L"byte order mark";
            break;
        case Source::FirstBytes:
            how = L"shown by its first bytes";
            break;
        case Source::Declared:
            how = L"declared";
            break;
        case Source::Utf8:
            how = L"valid UTF-8";
            break;
        case Source::Given:
            how = L"given";
            break;
        case Source::Detected:
            how = L"detected, " + std::to_wstring(confidence) + L"% confident";
            break;
    }
    return FromUtf8(StandardName(name)) + L" (" + how + L")";
}

bool IsKnownEncoding(const std::string& name) {
    return OpenConverter(name) != nullptr;
}

std::optional<DocumentEncoding> ByteOrderMarkEncoding(std::string_view bytes) {
    using namespace std::string_view_literals;
    struct Mark {
        std::string_view bytes;
        const char* name;
    };
    // UTF-32 LE before UTF-16 LE, whose mark begins it.
    constexpr Mark kMarks[] = {{"\xFF\xFE\0\0"sv, "UTF-32LE"},
                               {"\0\0\xFE\xFF"sv, "UTF-32BE"},
                               {"\xEF\xBB\xBF"sv, "UTF-8"},
                               {"\xFF\xFE"sv, "UTF-16LE"},
                               {"\xFE\xFF"sv, "UTF-16BE"}};
    for (const Mark& mark : kMarks) {
        if (bytes.starts_with(mark.bytes))
            return DocumentEncoding{mark.name, DocumentEncoding::Source::ByteOrderMark, 0,
                                    mark.bytes.size()};
    }
    return std::nullopt;
}

DocumentEncoding ChooseDocumentEncoding(std::string_view bytes,
                                        const std::optional<std::string>& declared,
                                        const std::string& given, bool markup) {
    using Source = DocumentEncoding::Source;
    using namespace std::string_view_literals;
    if (std::optional<DocumentEncoding> marked = ByteOrderMarkEncoding(bytes)) return *marked;
    if (markup && bytes.starts_with("<\0"sv)) return {"UTF-16LE", Source::FirstBytes};
    if (markup && bytes.starts_with("\0<"sv)) return {"UTF-16BE", Source::FirstBytes};
    if (declared && IsAsciiCompatible(*declared)) return {*declared, Source::Declared};
    if (!given.empty() && !IsKnownEncoding(given))
        RaiseEngineError(L"The encoding given for the documents is not known");

    if (bytes.find('\0') != std::string_view::npos) {
        if (!given.empty() && !IsAsciiCompatible(given)) return {given, Source::Given};
        if (std::optional<std::string> utf16 = Utf16ByItsZeros(bytes))
            return {*utf16, Source::Detected, 100};
        // Text in either byte order, with too few ASCII characters to tell which.
        if (IsUtf16Text(bytes, false) || IsUtf16Text(bytes, true)) RaiseUnknownEncoding();
        // Binary data: the reader refuses it for what it is.
        return {"UTF-8", Source::Utf8};
    }
    if (IsValidUtf8(bytes)) return {"UTF-8", Source::Utf8};
    if (!given.empty()) return {given, Source::Given};
    return Detect(bytes, markup);
}

std::string DecodeToUtf8(std::string_view bytes, const DocumentEncoding& encoding) {
    bytes.remove_prefix(std::min(encoding.skip, bytes.size()));
    if (IsUtf8(encoding.name) && IsValidUtf8(bytes)) return std::string(bytes);
    const Converter converter = OpenConverter(encoding.name);
    if (!converter) RaiseEngineError(L"The encoding of the document is not known");
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX))
        RaiseEngineError(L"The file is too large to be read");
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text(bytes.data(), static_cast<int32_t>(bytes.size()), converter.get(),
                                  status);
    if (U_FAILURE(status)) RaiseEngineError(L"The file cannot be read in its encoding");
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

std::wstring DecodeToText(std::string_view bytes, const DocumentEncoding& encoding) {
    return FromUtf8(DecodeToUtf8(bytes, encoding));
}

}  // namespace orv::engine
