#include "engine/doc/PoDocument.h"

#include <optional>
#include <string>
#include <vector>

#include "engine/doc/BlockBuilder.h"
#include "engine/model/EngineError.h"
#include "engine/text/Placeholders.h"
#include "engine/text/PlainTextDocument.h"
#include "platform/AutomationError.h"

namespace orv::engine {
namespace {

struct PoEntry {
    std::vector<std::wstring> flags;
    bool hasContext = false;
    std::optional<std::wstring> msgid;
    std::optional<std::wstring> plural;
    std::optional<std::wstring> msgstr;  // the first, which the header's is
};

[[noreturn]] void Malformed(const wchar_t* what) {
    RaiseEngineError(std::wstring(L"The PO file is not well-formed: ") + what);
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r';
}

std::wstring_view TrimmedStart(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Appends the string that `line` holds ("..." with C escapes) to `out`.
void AppendString(std::wstring_view line, std::wstring& out) {
    line = TrimmedStart(line);
    if (line.empty() || line.front() != L'"') Malformed(L"a keyword is not followed by a string");
    std::size_t i = 1;
    for (;; ++i) {
        if (i >= line.size()) Malformed(L"a string is not closed on its line");
        wchar_t c = line[i];
        if (c == L'"') break;
        if (c != L'\\') {
            out += c;
            continue;
        }
        if (++i >= line.size()) Malformed(L"a string is not closed on its line");
        c = line[i];
        constexpr std::wstring_view kEscaped = L"ntrabfv", kMeant = L"\n\t\r\a\b\f\v";
        if (const std::size_t k = kEscaped.find(c); k != std::wstring_view::npos) {
            out += kMeant[k];
        } else if (c == L'x') {
            unsigned value = 0;
            int digits = 0;
            for (; digits < 2 && i + 1 < line.size() && HexValue(line[i + 1]) >= 0; ++digits)
                value = value * 16 + static_cast<unsigned>(HexValue(line[++i]));
            if (digits == 0) out += L'x';
            if (value != 0) out += static_cast<wchar_t>(value);  // a NUL ends no message here
        } else if (c >= L'0' && c <= L'7') {
            unsigned value = static_cast<unsigned>(c - L'0');
            for (int digits = 1;
                 digits < 3 && i + 1 < line.size() && line[i + 1] >= L'0' && line[i + 1] <= L'7';
                 ++digits)
                value = value * 8 + static_cast<unsigned>(line[++i] - L'0');
            if (value != 0) out += static_cast<wchar_t>(value);
        } else {
            out += c;  // \" \\ \' \? and any other character stand for themselves
        }
    }
    if (!TrimmedStart(line.substr(i + 1)).empty()) Malformed(L"a string is followed by more text");
}

// Hands each entry to `keep`, in order, until `keep` returns false.
template <class Keep>
void ParsePo(std::wstring_view text, Keep keep) {
    PoEntry entry;
    std::wstring* target = nullptr;  // the string that a line of only a string continues
    std::wstring ignored;
    // Whether to go on.
    const auto flush = [&]() {
        target = nullptr;
        const bool more = !entry.msgid || keep(entry);
        entry = PoEntry{};
        return more;
    };
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) end = text.size();
        const std::wstring_view line = TrimmedStart(text.substr(start, end - start));
        start = end + 1;

        if (line.empty() || line.starts_with(L"#~")) {
            target = nullptr;
            continue;
        }
        if (line.front() == L'#') {
            if (entry.msgstr && !flush()) return;
            target = nullptr;
            if (line.starts_with(L"#,")) {
                for (std::size_t i = 2; i < line.size();) {
                    std::size_t comma = line.find(L',', i);
                    if (comma == std::wstring_view::npos) comma = line.size();
                    std::wstring_view flag = TrimmedStart(line.substr(i, comma - i));
                    while (!flag.empty() && IsBlank(flag.back())) flag.remove_suffix(1);
                    if (!flag.empty()) entry.flags.emplace_back(flag);
                    i = comma + 1;
                }
            }
            continue;
        }
        if (line.front() == L'"') {
            if (!target) Malformed(L"a string continues no keyword");
            AppendString(line, *target);
            continue;
        }

        std::size_t keywordEnd = 0;
        while (keywordEnd < line.size() &&
               ((line[keywordEnd] >= L'a' && line[keywordEnd] <= L'z') || line[keywordEnd] == L'_'))
            ++keywordEnd;
        const std::wstring_view keyword = line.substr(0, keywordEnd);
        std::wstring_view rest = line.substr(keywordEnd);
        if (keyword == L"msgstr" && rest.starts_with(L'[')) {
            const std::size_t close = rest.find(L']');
            if (close == std::wstring_view::npos) Malformed(L"a msgstr index is not closed");
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || !IsBlank(rest.front())) {
            Malformed(L"a line is neither a keyword with its string, a string nor a comment");
        }
        if (keyword == L"msgctxt" || keyword == L"msgid") {
            if ((entry.msgid || (keyword == L"msgctxt" && entry.hasContext)) && !flush()) return;
            if (keyword == L"msgctxt") {
                entry.hasContext = true;
                ignored.clear();
                target = &ignored;
            } else {
                target = &entry.msgid.emplace();
            }
        } else if (keyword == L"msgid_plural" || keyword == L"msgstr") {
            if (!entry.msgid) Malformed(L"a translation comes before its msgid");
            if (keyword == L"msgid_plural") {
                target = &entry.plural.emplace();
            } else if (!entry.msgstr) {
                target = &entry.msgstr.emplace();
            } else {
                ignored.clear();
                target = &ignored;
            }
        } else {
            Malformed(L"a line is neither a keyword with its string, a string nor a comment");
        }
        AppendString(rest, *target);
    }
    flush();
}

bool IsHeader(const PoEntry& entry) {
    return entry.msgid && entry.msgid->empty() && !entry.hasContext;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The charset of the header's Content-Type, if it names one.
std::optional<std::string> CharsetOf(const std::wstring& header) {
    std::wstring lower = header;
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    const std::size_t at = lower.find(L"charset=");
    if (at == std::wstring::npos) return std::nullopt;
    std::string charset;
    for (std::size_t i = at + 8; i < header.size(); ++i) {
        const wchar_t c = header[i];
        if (c <= L' ' || c == L';' || c == L'"' || c == L'\\' || c > 0x7E) break;
        charset += static_cast<char>(c);
    }
    // "CHARSET" is what a fresh template holds.
    if (charset.empty() || EqualsIgnoringCase(charset, "charset")) return std::nullopt;
    return charset;
}

DecodedText DecodePo(std::string_view bytes, const std::string& givenEncoding) {
    // The header is ASCII in every charset a PO file may be in; read byte for byte, it gives
    // the charset for the rest.
    std::wstring bytewise(bytes.size(), L'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytewise[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    std::optional<std::string> charset;
    try {
        ParsePo(bytewise, [&charset](const PoEntry& entry) {
            if (IsHeader(entry) && entry.msgstr) charset = CharsetOf(*entry.msgstr);
            return false;
        });
    } catch (const AutomationError&) {
        // The reading in the right charset says what is wrong.
    }
    if (charset && !IsKnownEncoding(*charset) && !ByteOrderMarkEncoding(bytes))
        RaiseEngineError(L"The PO file's header names a character set that is not known");
    DecodedText decoded;
    decoded.encoding = ChooseDocumentEncoding(bytes, charset, givenEncoding, false);
    decoded.text = DecodeToText(bytes, decoded.encoding);
    return decoded;
}

void AppendMessage(std::wstring_view text, bool placeholders, BlockBuilder& block) {
    std::size_t plain = 0;
    if (placeholders) {
        for (const PlaceholderSpan& found : FindPlaceholders(text)) {
            block.Append(text.substr(plain, found.begin - plain), BlockBuilder::Spaces::Keep);
            block.AppendCode({InlineCode::Kind::Standalone,
                              {},
                              std::wstring(text.substr(found.begin, found.length))});
            plain = found.begin + found.length;
        }
    }
    block.Append(text.substr(plain), BlockBuilder::Spaces::Keep);
}

bool HasPlaceholders(const PoEntry& entry) {
    for (const std::wstring& flag : entry.flags) {
        if (flag.starts_with(L"no-") && flag.ends_with(L"-format")) return false;
    }
    return true;
}

}  // namespace

DocumentText ReadPoBytes(std::string_view bytes, const std::string& givenEncoding) {
    // A line break inside a message is a space, as in every other format: messages are
    // wrapped where the source code wraps them, not where their sentences end.
    DocumentText document;
    DecodedText decoded = DecodePo(bytes, givenEncoding);
    document.encoding = decoded.encoding;
    ParsePo(decoded.text, [&document](const PoEntry& entry) {
        if (IsHeader(entry)) return true;
        const bool placeholders = HasPlaceholders(entry);
        for (const std::optional<std::wstring>* text : {&entry.msgid, &entry.plural}) {
            if (!*text) continue;
            BlockBuilder block;
            AppendMessage(**text, placeholders, block);
            // Every code here is a placeholder: none is left once they are written out.
            Segment message = PlaceholdersAsTextWhenAlone(block.Take());
            if (!message.text.empty()) document.blocks.push_back({std::move(message), false});
        }
        return true;
    });
    return document;
}

}  // namespace orv::engine
