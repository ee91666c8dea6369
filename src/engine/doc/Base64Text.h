#pragma once
// Binary data that XML carries as text (embedded images, signatures, attachments): base64 is
// no running text, and a word count of it would price noise.

#include <cstddef>
#include <string_view>

namespace orv::engine {

inline constexpr std::size_t kShortestBase64Run = 64;
inline constexpr std::size_t kShortestBase64Line = 40;

// Whether `text`, leading and trailing whitespace aside, is nothing but base64: at least
// kShortestBase64Run characters of its alphabet (letters, digits, "+", "/", or "-" and "_" of
// the URL-safe form), a multiple of four with "=" padding or without, in lines broken only by
// whitespace, each line but the last at least kShortestBase64Line long. No word of running text
// is as long as such a line, so no sentence is ever taken for base64.
bool IsBase64Text(std::string_view text);

}  // namespace orv::engine
