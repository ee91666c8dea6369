#include "engine/doc/DocumentSettings.h"

#include "engine/model/EngineError.h"
#include "engine/text/PlainTextDocument.h"
#include "engine/text/Utf8.h"
#include "platform/AutomationError.h"

namespace orv::engine {
namespace {

std::string LowerAscii(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool IsSeparator(wchar_t c) {
    return c == L',' || c == L' ' || c == L'\t' || c == L'\r' || c == L'\u00A0';
}

std::wstring_view Trimmed(std::wstring_view text) {
    const auto first = text.find_first_not_of(L" \t\r\uFEFF");
    if (first == std::wstring_view::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t\r") - first + 1);
}

MarkupRules ReadRulesFile(const std::wstring& path, MarkupRules base, const wchar_t* kind) {
    std::wstring text;
    try {
        text = ReadPlainTextDocument(path);
    } catch (const AutomationError& error) {
        std::wstring reason = error.description();
        if (!reason.empty() && reason[0] >= L'A' && reason[0] <= L'Z') reason[0] += L'a' - L'A';
        RaiseEngineError(std::wstring(L"The ") + kind + L" settings file cannot be read: " +
                         reason);
    }
    return ParseMarkupRules(text, std::move(base));
}

}  // namespace

ElementRole MarkupRules::RoleOf(std::string_view name) const {
    if (roles_.empty()) return ElementRole::Block;
    std::string lower = LowerAscii(name);
    if (auto found = roles_.find(lower); found != roles_.end()) return found->second;
    if (const auto colon = lower.rfind(':'); colon != std::string::npos) {
        if (auto found = roles_.find(lower.substr(colon + 1)); found != roles_.end())
            return found->second;
    }
    return ElementRole::Block;
}

void MarkupRules::Set(std::string_view name, ElementRole role) {
    roles_[LowerAscii(name)] = role;
}

MarkupRules DefaultHtmlRules() {
    MarkupRules rules;
    for (const char* name :
         {"a",      "abbr",   "acronym", "b",    "bdi",  "bdo",  "big",  "br",    "cite",
          "code",   "data",   "del",     "dfn",  "em",   "font", "i",    "img",   "input",
          "ins",    "kbd",    "mark",    "nobr", "q",    "s",    "samp", "small", "span",
          "strike", "strong", "sub",     "sup",  "time", "tt",   "u",    "var",   "wbr"})
        rules.Set(name, ElementRole::Inline);
    for (const char* name : {"script", "style"}) rules.Set(name, ElementRole::Skip);
    return rules;
}

MarkupRules ParseMarkupRules(std::wstring_view text, MarkupRules base) {
    std::optional<ElementRole> section;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) end = text.size();
        const std::wstring_view line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == L';' || line[0] == L'#') continue;
        if (line.front() == L'[' && line.back() == L']') {
            std::string name = LowerAscii(ToUtf8(Trimmed(line.substr(1, line.size() - 2))));
            section = name == "inline"  ? std::optional(ElementRole::Inline)
                      : name == "block" ? std::optional(ElementRole::Block)
                      : name == "skip"  ? std::optional(ElementRole::Skip)
                                        : std::nullopt;
            continue;
        }
        if (!section) continue;
        for (std::size_t i = 0; i < line.size();) {
            while (i < line.size() && IsSeparator(line[i])) ++i;
            std::size_t j = i;
            while (j < line.size() && !IsSeparator(line[j])) ++j;
            // "<b>" is taken for "b".
            std::wstring_view name = line.substr(i, j - i);
            while (!name.empty() && (name.front() == L'<' || name.front() == L'/'))
                name.remove_prefix(1);
            while (!name.empty() && (name.back() == L'>' || name.back() == L'/'))
                name.remove_suffix(1);
            if (!name.empty()) base.Set(ToUtf8(name), *section);
            i = j;
        }
    }
    return base;
}

DocumentSettings ReadDocumentSettings(const std::optional<std::wstring>& htmlSettingsFile,
                                      const std::optional<std::wstring>& sgmlSettingsFile) {
    DocumentSettings settings;
    if (htmlSettingsFile && !htmlSettingsFile->empty())
        settings.html = ReadRulesFile(*htmlSettingsFile, std::move(settings.html), L"HTML");
    if (sgmlSettingsFile && !sgmlSettingsFile->empty())
        settings.sgml = ReadRulesFile(*sgmlSettingsFile, std::move(settings.sgml), L"SGML");
    return settings;
}

}  // namespace orv::engine
