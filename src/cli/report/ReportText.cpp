#include "cli/report/ReportText.h"

#include <fmt/format.h>

#include "platform/CodePoints.h"
#include "platform/PathSyntax.h"

namespace orv::cli {
namespace {

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

void AppendHtml(std::string& out, char32_t c) {
    switch (c) {
        case '&':
            out += "&amp;";
            return;
        case '<':
            out += "&lt;";
            return;
        case '>':
            out += "&gt;";
            return;
        case '"':
            out += "&quot;";
            return;
        case '\'':
            out += "&#39;";
            return;
        case '\t':
        case '\n':
        case '\r':
            out += static_cast<char>(c);
            return;
        default:
            AppendCodePointAsUtf8(out, IsControl(c) ? kReplacementCharacter : c);
    }
}

}  // namespace

std::wstring DisplayName(const std::wstring& path) {
    std::wstring name = LastPathComponent(path, PathStyle::Windows);
    return name.empty() ? path : name;
}

std::wstring ShortenMiddle(const std::wstring& text, std::size_t width) {
    static const std::wstring kMark = L"...";
    if (text.size() <= width) return text;
    if (width <= kMark.size()) return text.substr(0, width);
    const std::size_t kept = width - kMark.size();
    const std::size_t head = (kept + 1) / 2;
    return text.substr(0, head) + kMark + text.substr(text.size() - (kept - head));
}

std::wstring WithoutControlCharacters(const std::wstring& text) {
    std::wstring out = text;
    for (auto& c : out) {
        if (IsControl(static_cast<char32_t>(c))) c = L'?';
    }
    return out;
}

std::string FormatCount(int64_t count) {
    if (count < 0) return "n/a";
    const std::string digits = fmt::format("{}", count);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string FormatPercent(int64_t percent) {
    return percent < 0 ? "n/a" : fmt::format("{}%", percent);
}

std::string FormatCharsPerWord(double charsPerWord) {
    // NaN fails the comparison too: a value nobody can read is as good as unknown.
    if (!(charsPerWord >= 0.0)) return "n/a";
    // A value no real text has must not stretch the line.
    if (charsPerWord >= 1e6) return fmt::format("{:.3g}", charsPerWord);
    return fmt::format("{:.2f}", charsPerWord);
}

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    AppendUnitsAsUtf8(out, std::wstring_view(text));
    return out;
}

std::string HtmlEscape(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (const DecodedCodePoint& c : CodePoints(text)) AppendHtml(out, c.value);
    return out;
}

std::string HtmlEscape(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char byte : utf8) {
        const auto c = static_cast<unsigned char>(byte);
        // Bytes of multi-byte sequences pass unchanged; only ASCII needs escaping.
        if (c >= 0x80) {
            out += byte;
        } else {
            AppendHtml(out, c);
        }
    }
    return out;
}

}  // namespace orv::cli
