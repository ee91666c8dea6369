#pragma once
// How the markup of HTML, XML and SGML documents is read: which elements hold running text
// that ends at their edges (blocks), which stand inside the text as inline codes, and which
// hold nothing to translate. Every element not named is a block.
//
// A settings file is a small INI file. Each section lists element names, separated by commas
// or spaces, on one or more lines; lines that begin with ";" or "#" are comments, names are
// compared without regard to ASCII case, and other sections are ignored:
//
//     [Inline]
//     b, i, em, strong, span
//     [Block]
//     div, li
//     [Skip]
//     script, style, code
//
// An element named in a section takes that role; an element named in two takes the role of
// the last.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orv::engine {

enum class ElementRole {
    Block,   // its text is a block of its own, apart from the text around it
    Inline,  // an inline code (a pair around its content, or one standalone code)
    Skip,    // neither it nor anything inside it is read
};

class MarkupRules {
public:
    // `name` as written, prefix included ("b", "w:t"); an element whose prefixed name is not
    // named takes the role of its local name.
    ElementRole RoleOf(std::string_view name) const;
    void Set(std::string_view name, ElementRole role);

    friend bool operator==(const MarkupRules&, const MarkupRules&) = default;

private:
    std::unordered_map<std::string, ElementRole> roles_;  // by ASCII lower-case name
};

// HTML as browsers show it: phrase elements inline, script and style skipped.
MarkupRules DefaultHtmlRules();

// `base` with the roles that the settings file's text `text` names.
MarkupRules ParseMarkupRules(std::wstring_view text, MarkupRules base);

struct DocumentSettings {
    MarkupRules html = DefaultHtmlRules();
    MarkupRules sgml;  // for XML and SGML: every element a block unless a settings file says
    // The encoding of documents that declare none and are not UTF-8 (EngineExtras); empty:
    // detected.
    std::string encoding;
    // A footnote or endnote of a word processor's document is split into sentences like body
    // text; otherwise it is one segment, however many sentences it has.
    bool multiSegmentFootnotes = false;
};

// The rules from the job's HTML and SGML settings files; a file not given (or given with an
// empty path) leaves the defaults. The HTML file amends DefaultHtmlRules(). Throws an engine
// error that says which settings file cannot be read, and why, in words without digits.
DocumentSettings ReadDocumentSettings(const std::optional<std::wstring>& htmlSettingsFile,
                                      const std::optional<std::wstring>& sgmlSettingsFile);

}  // namespace orv::engine
