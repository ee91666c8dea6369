#include "engine/office/SpreadsheetMarkup.h"

namespace orv::engine {
namespace {

bool IsSpreadsheetNamespace(std::string_view ns) {
    return ns == kTransitionalSpreadsheetNamespace || ns == kStrictSpreadsheetNamespace;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsShownControl(uint32_t c) {
    return c == '\t' || c == '\n' || c == '\r';
}

void AppendCodePoint(std::string& utf8, uint32_t c) {
    if (c < 0x20 && !IsShownControl(c)) return;
    if (c >= 0xD800 && c <= 0xDFFF) return;  // half of a pair, which stands for nothing alone
    if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character of the escape "_xHHHH_" at the start of `text`, if it is one.
std::optional<uint32_t> EscapedCharacter(std::string_view text) {
    if (text.size() < 7 || text[0] != '_' || text[1] != 'x' || text[6] != '_') return std::nullopt;
    uint32_t value = 0;
    for (std::size_t i = 2; i < 6; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

}  // namespace

bool IsSpreadsheetStart(const XmlPartReader& reader, std::string_view localName) {
    return reader.Type() == XML_READER_TYPE_ELEMENT && reader.LocalName() == localName &&
           IsSpreadsheetNamespace(reader.Namespace());
}

bool IsSpreadsheetEnd(const XmlPartReader& reader, std::string_view localName) {
    return reader.Type() == XML_READER_TYPE_END_ELEMENT && reader.LocalName() == localName &&
           IsSpreadsheetNamespace(reader.Namespace());
}

bool IsTextNode(const XmlPartReader& reader) {
    const int type = reader.Type();
    return type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA ||
           type == XML_READER_TYPE_WHITESPACE || type == XML_READER_TYPE_SIGNIFICANT_WHITESPACE;
}

bool SwitchAttribute(const XmlPartReader& reader, std::string_view name, bool absent) {
    if (!reader.HasAttribute(name)) return absent;
    const std::string value = reader.Attribute(name);
    return value != "0" && value != "false" && value != "off";
}

std::optional<uint64_t> ParseCount(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    text = text.substr(first, last - first + 1);
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > kCountCeiling) value = kCountCeiling;
    }
    return value;
}

void AppendCellText(std::string& utf8, std::string_view written) {
    std::size_t i = 0;
    while (i < written.size()) {
        const char c = written[i];
        if (c == '_') {
            if (const std::optional<uint32_t> escaped = EscapedCharacter(written.substr(i))) {
                AppendCodePoint(utf8, *escaped);
                i += 7;
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 || IsShownControl(byte)) utf8 += c;
        ++i;
    }
}

}  // namespace orv::engine
