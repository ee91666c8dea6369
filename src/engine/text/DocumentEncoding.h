#pragma once
// The encoding a document is read in, and its bytes decoded by it. Every reader asks in the
// same order: a byte order mark; what the document declares (XML declaration, HTML meta
// charset, PO header); valid UTF-8; the encoding the user gave; ICU's charset detector, when
// it is sure enough. A document none of these settles is refused, not counted as garbage.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv::engine {

struct DocumentEncoding {
    enum class Source { ByteOrderMark, FirstBytes, Declared, Utf8, Given, Detected };

    std::string name;  // as ICU names it: "UTF-8", "KOI8-R", "windows-1250"
    Source source = Source::Utf8;
    int32_t confidence = 0;  // of the detector, 0-100; 0 unless detected
    std::size_t skip = 0;    // the byte order mark's bytes, which are no text

    // For the readable log: "KOI8-R (detected, 54% confident)".
    std::wstring Described() const;
};

// The lowest confidence of ICU's detector that is taken, and the lead the best guess must have
// over a next one that reads the bytes otherwise. Measured on short letters in Czech, Polish,
// Russian, Greek, German, French and Japanese, and on the legacy files of a Debian system: right
// guesses of prose scored 38 and more; wrong ones, all on files mostly in ASCII, up to 35.
inline constexpr int32_t kLowestDetectorConfidence = 36;
inline constexpr int32_t kDetectorLead = 10;

// Whether ICU has a converter of that name (or alias).
bool IsKnownEncoding(const std::string& name);

// The encoding a byte order mark at the start of `bytes` shows (UTF-8, UTF-16 or UTF-32).
std::optional<DocumentEncoding> ByteOrderMarkEncoding(std::string_view bytes);

// The encoding to read `bytes` in, by the order above. `declared` is what the document itself
// names, if anything; a name ICU does not know, or UTF-16 or UTF-32 named in bytes that were
// read as ASCII, is no declaration. `given` is the user's encoding, or empty. `markup` lets
// the detector look past tags, and UTF-16 show itself by a first "<".
// Throws an engine error when the bytes hold binary data, and when nothing tells their encoding.
DocumentEncoding ChooseDocumentEncoding(std::string_view bytes,
                                        const std::optional<std::string>& declared,
                                        const std::string& given, bool markup);

// The text of `bytes` in `encoding`, as UTF-8; bytes that are no character in it become U+FFFD.
std::string DecodeToUtf8(std::string_view bytes, const DocumentEncoding& encoding);

// The same as a wide string.
std::wstring DecodeToText(std::string_view bytes, const DocumentEncoding& encoding);

}  // namespace orv::engine
