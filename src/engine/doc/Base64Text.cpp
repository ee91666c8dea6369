#include "engine/doc/Base64Text.h"

namespace orv::engine {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsBase64Character(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/' || c == '-' || c == '_';
}

}  // namespace

bool IsBase64Text(std::string_view text) {
    std::size_t characters = 0;
    std::size_t padding = 0;
    std::size_t line = 0;
    bool lineEnded = false;
    for (char c : text) {
        if (IsSpace(c)) {
            if (line > 0) lineEnded = true;
            continue;
        }
        if (lineEnded) {
            if (line < kShortestBase64Line) return false;
            line = 0;
            lineEnded = false;
        }
        if (c == '=') {
            ++padding;
        } else if (IsBase64Character(c) && padding == 0) {
            ++characters;
        } else {
            return false;
        }
        ++line;
    }
    // The last line may be short. Unpadded base64 never leaves one character over.
    return characters >= kShortestBase64Run && padding <= 2 &&
           (padding == 0 || (characters + padding) % 4 == 0) &&
           (padding > 0 || characters % 4 != 1);
}

}  // namespace orv::engine
