#include "engine/doc/TaggingErrors.h"

#include <algorithm>
#include <array>
#include <optional>

#include "engine/model/EngineError.h"
#include "engine/text/Utf8.h"

namespace orv::engine {
namespace {

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string LowerAscii(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool StartsWithAt(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::array<std::string_view, N>& names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

constexpr std::array<std::string_view, 15> kVoidElements = {
    "area",   "base", "br",   "col",   "embed",  "hr",    "img", "input",
    "keygen", "link", "meta", "param", "source", "track", "wbr"};
constexpr std::array<std::string_view, 5> kRawTextElements = {"script", "style", "textarea",
                                                              "title", "xmp"};

// Where the tag whose attributes begin at `from` ends (its '>'), or npos. A quote opens a
// value only after '=', as in HTML, so a stray apostrophe does not swallow the file.
std::size_t TagEnd(std::string_view markup, std::size_t from) {
    char previous = 0;
    for (std::size_t i = from; i < markup.size(); ++i) {
        const char c = markup[i];
        if (c == '>') return i;
        if ((c == '"' || c == '\'') && previous == '=') {
            i = markup.find(c, i + 1);
            if (i == std::string_view::npos) return i;
            previous = c;
            continue;
        }
        if (!IsSpace(c)) previous = c;
    }
    return std::string_view::npos;
}

}  // namespace

std::size_t DeclarationEnd(std::string_view markup, std::size_t at) {
    int depth = 0;
    // Inside a declaration of the internal subset, where SGML's "-- ... --" comments may hold
    // quotes and brackets.
    bool inDeclaration = false;
    for (std::size_t i = at + 2; i < markup.size(); ++i) {
        const char c = markup[i];
        if (c == '"' || c == '\'') {
            i = markup.find(c, i + 1);
            if (i == std::string_view::npos) return i;
        } else if (inDeclaration && StartsWithAt(markup, i, "--")) {
            i = markup.find("--", i + 2);
            if (i == std::string_view::npos) return i;
            ++i;
        } else if (inDeclaration && c == '>') {
            inDeclaration = false;
        } else if (c == '[') {
            ++depth;
        } else if (c == ']') {
            depth = std::max(depth - 1, 0);
        } else if (c == '>' && depth == 0) {
            return i + 1;
        } else if (c == '<' && depth > 0 && StartsWithAt(markup, i, "<!--")) {
            i = markup.find("-->", i + 4);
            if (i == std::string_view::npos) return i;
            i += 2;
        } else if (c == '<' && depth > 0 && StartsWithAt(markup, i, "<!") &&
                   !StartsWithAt(markup, i, "<![")) {
            inDeclaration = true;
            ++i;
        } else if (c == '<' && depth > 0 && StartsWithAt(markup, i, "<?")) {
            i = markup.find('>', i + 2);
            if (i == std::string_view::npos) return i;
        }
    }
    return std::string_view::npos;
}

namespace {

// Where the raw text of an element named `name` ends: at its end tag, whatever the case.
std::size_t RawTextEnd(std::string_view markup, std::size_t from, std::string_view name) {
    for (std::size_t i = markup.find("</", from); i != std::string_view::npos;
         i = markup.find("</", i + 2)) {
        const std::size_t after = i + 2 + name.size();
        if (after <= markup.size() && LowerAscii(markup.substr(i + 2, name.size())) == name &&
            (after == markup.size() || !IsNameChar(markup[after])))
            return i;
    }
    return markup.size();
}

}  // namespace

void TagBalance::Open(std::string key) {
    ++openCount_[key];
    open_.push_back(std::move(key));
}

void TagBalance::Close(std::string_view key) {
    const auto count = openCount_.find(std::string(key));
    if (count == openCount_.end() || count->second == 0) {
        ++faults_;  // orphaned
        return;
    }
    --count->second;
    if (open_.back() != key) {
        ++faults_;  // crossed
        open_.erase(std::next(std::find(open_.rbegin(), open_.rend(), key)).base());
        return;
    }
    open_.pop_back();
}

int64_t TagBalance::Finish() {
    const int64_t faults = faults_ + static_cast<int64_t>(open_.size());
    open_.clear();
    openCount_.clear();
    faults_ = 0;
    return faults;
}

int64_t CountCodeTaggingErrors(const std::vector<InlineCode>& codes) {
    TagBalance balance;
    for (const InlineCode& code : codes) {
        if (code.kind == InlineCode::Kind::Begin) balance.Open(ToUtf8(code.pairId));
        if (code.kind == InlineCode::Kind::End) balance.Close(ToUtf8(code.pairId));
    }
    return balance.Finish();
}

namespace {

// What the markup ends inside of: its start, and what it is.
struct Unclosed {
    std::size_t at;
    const wchar_t* what;
};

// Walks the tags of the markup, the inline ones into `balance`.
std::optional<Unclosed> ScanMarkup(std::string_view markup, const MarkupRules& rules,
                                   MarkupDialect dialect, TagBalance& balance) {
    std::size_t i = 0;
    while ((i = markup.find('<', i)) != std::string_view::npos) {
        if (StartsWithAt(markup, i, "<!--")) {
            const std::size_t end = markup.find("-->", i + 4);
            if (end == std::string_view::npos) return Unclosed{i, L"a comment"};
            i = end + 3;
            continue;
        }
        if (StartsWithAt(markup, i, "<![CDATA[")) {
            const std::size_t end = markup.find("]]>", i + 9);
            if (end == std::string_view::npos) return Unclosed{i, L"a CDATA section"};
            i = end + 3;
            continue;
        }
        if (StartsWithAt(markup, i, "<!")) {
            const std::size_t end = DeclarationEnd(markup, i);
            if (end == std::string_view::npos) return Unclosed{i, L"a declaration"};
            i = end;
            continue;
        }
        if (StartsWithAt(markup, i, "<?")) {
            const std::size_t end = markup.find('>', i + 2);
            if (end == std::string_view::npos) return Unclosed{i, L"a processing instruction"};
            i = end + 1;
            continue;
        }
        const bool isEnd = StartsWithAt(markup, i, "</");
        const std::size_t nameStart = i + (isEnd ? 2 : 1);
        if (nameStart >= markup.size() || !IsNameStart(markup[nameStart])) {
            ++i;  // a "<" of the text
            continue;
        }
        std::size_t nameEnd = nameStart;
        while (nameEnd < markup.size() && IsNameChar(markup[nameEnd])) ++nameEnd;
        const std::string name = LowerAscii(markup.substr(nameStart, nameEnd - nameStart));
        const std::size_t close = TagEnd(markup, nameEnd);
        if (close == std::string_view::npos) return Unclosed{i, L"a tag"};
        const bool selfClosing = markup[close - 1] == '/' && close - 1 >= nameEnd;
        i = close + 1;

        if (dialect == MarkupDialect::Html && !isEnd && !selfClosing &&
            IsOneOf(name, kRawTextElements)) {
            i = RawTextEnd(markup, i, name);
            continue;
        }
        if (rules.RoleOf(name) != ElementRole::Inline) continue;
        if (dialect == MarkupDialect::Html && IsOneOf(name, kVoidElements)) continue;
        if (isEnd) {
            balance.Close(name);
        } else if (!selfClosing) {
            balance.Open(name);
        }
    }
    return std::nullopt;
}

// Whether a tag starts in the markup.
bool HoldsATag(std::string_view markup) {
    for (std::size_t i = markup.find('<'); i != std::string_view::npos;
         i = markup.find('<', i + 1)) {
        const std::size_t name = i + 1 < markup.size() && markup[i + 1] == '/' ? i + 2 : i + 1;
        if (name < markup.size() && IsNameStart(markup[name])) return true;
    }
    return false;
}

}  // namespace

int64_t CountMarkupTaggingErrors(std::string_view markup, const MarkupRules& rules,
                                 MarkupDialect dialect) {
    TagBalance balance;
    ScanMarkup(markup, rules, dialect, balance);
    return balance.Finish();
}

void RefuseMarkupHiddenByUnclosed(std::string_view markup, MarkupDialect dialect) {
    TagBalance balance;
    const std::optional<Unclosed> unclosed = ScanMarkup(markup, MarkupRules(), dialect, balance);
    if (unclosed && HoldsATag(markup.substr(unclosed->at + 2)))
        RaiseEngineError(std::wstring(L"The file cannot be read as markup: ") + unclosed->what +
                         L" is never closed, and the rest of the file would be lost in it");
}

}  // namespace orv::engine
