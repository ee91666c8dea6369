#pragma once
// Plain-text documents: the whole file as one text, ready for the Segmenter.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/model/LoadCancelled.h"
#include "engine/text/DocumentEncoding.h"

namespace orv::engine {

// The text of the file at `path`, in the encoding that DocumentEncoding.h chooses (no
// declaration, no encoding given). Line breaks are kept as written; bytes that are not valid
// in the encoding become U+FFFD.
// Throws AutomationError (RaiseEngineError) when the file cannot be read, with the reason
// in words ("The file does not exist", ...): no path, no digits and no ";" in it.
std::wstring ReadPlainTextDocument(const std::wstring& path);

// The largest document file read (512 MB): a larger one is refused rather than read, since a
// document is read whole into memory and its text indexed with 32-bit positions.
inline constexpr std::uintmax_t kMaxDocumentFileBytes = std::uintmax_t{512} << 20;

// The bytes of the document file at `path`, failing for the reasons above in the same
// words; every document reader opens its file through this. Only a regular file of at most
// kMaxDocumentFileBytes is read: a folder, a device, a pipe or a socket, and a larger file,
// are refused with the reason, without waiting or reading. `stop`, once it gives true, ends
// the reading with an error; the caller acts on whatever request made it so.
std::string ReadDocumentFileBytes(const std::wstring& path, const StopCheck& stop = {});

struct DecodedText {
    std::wstring text;
    DocumentEncoding encoding;
};

// The text of a file's bytes, by the rules above, read in `givenEncoding` (empty: none) when
// they declare none and are not UTF-8. Throws as above when the bytes are not text (they hold
// NUL bytes that are no UTF-16), and when their encoding cannot be told.
DecodedText DecodeDocumentText(std::string_view bytes, const std::string& givenEncoding);
std::wstring DecodePlainText(const std::string& bytes);

}  // namespace orv::engine
