#include "engine/doc/DeclaredEncoding.h"

#include <algorithm>

namespace orv::engine {
namespace {

// A page's head holds its meta elements; a charset further on would come too late to read
// what stands before it.
constexpr std::size_t kHeadBytes = std::size_t{64} << 10;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == ':';
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// The value after `key` in `text` (lower case): key, "=", and a name, quoted or not; spaces
// may stand around the "=".
std::optional<std::string> ValueAfter(std::string_view lower, std::string_view original,
                                      std::string_view key) {
    for (std::size_t at = lower.find(key); at != std::string_view::npos;
         at = lower.find(key, at + 1)) {
        std::size_t i = at + key.size();
        while (i < lower.size() && IsSpace(lower[i])) ++i;
        if (i >= lower.size() || lower[i] != '=') continue;
        ++i;
        while (i < lower.size() && IsSpace(lower[i])) ++i;
        if (i < lower.size() && (lower[i] == '"' || lower[i] == '\'')) ++i;
        const std::size_t start = i;
        while (i < lower.size() && IsNameCharacter(lower[i])) ++i;
        if (i > start) return std::string(original.substr(start, i - start));
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> XmlDeclaredEncoding(std::string_view bytes) {
    if (!bytes.starts_with("<?xml") || bytes.size() < 6 || !IsSpace(bytes[5])) return std::nullopt;
    const std::size_t end = bytes.find("?>");
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view declaration = bytes.substr(0, end);
    return ValueAfter(declaration, declaration, "encoding");
}

std::optional<std::string> HtmlDeclaredEncoding(std::string_view bytes) {
    if (std::optional<std::string> declared = XmlDeclaredEncoding(bytes)) return declared;
    const std::string_view head = bytes.substr(0, kHeadBytes);
    const std::string lower = LowerAscii(head);
    const std::size_t body = std::min(lower.find("<body"), lower.size());
    for (std::size_t at = lower.find("<meta"); at < body; at = lower.find("<meta", at + 1)) {
        const std::size_t end = std::min(lower.find('>', at), lower.size());
        const std::string_view tag = std::string_view(lower).substr(at, end - at);
        if (std::optional<std::string> charset = ValueAfter(tag, head.substr(at), "charset"))
            return charset;
    }
    return std::nullopt;
}

}  // namespace orv::engine
