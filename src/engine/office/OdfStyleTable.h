#pragma once
// The styles of an OpenDocument file that decide what a translator sees of its text: the look
// of a stretch of text (bold, italic, underline, strike-through, raised or lowered), whether
// text, a sheet or a slide is hidden. Common styles (office:styles) are kept for the whole
// document; automatic ones belong to the part that holds them (styles.xml serves the master
// pages, content.xml the body) and are forgotten between parts. The table is small: a
// document has a few hundred styles, and a hostile chain of parents is followed only so far.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/office/XmlPartReader.h"

namespace orv::engine {

// The look of text, as far as a style says it; what it leaves unsaid comes from its parent,
// the enclosing span or the paragraph.
struct TextLook {
    std::optional<bool> bold, italic, underline, strike, hidden;
    std::optional<std::string> position;  // "super", "sub", or "" for the base line

    // Takes from `outer` what this look leaves unsaid.
    void FillFrom(const TextLook& outer);
    // The visible look in words ("b i sup"); "" for plain text. Hidden text has none.
    std::string Key() const;
};

struct ResolvedStyle {
    TextLook look;
    // The first common style met from the style up its parents: the name a translator picks
    // from the style list, so it tells formattings apart by itself.
    std::string commonName;
};

class OdfStyleTable {
public:
    // Reads the style:style children of office:styles (`common`) or office:automatic-styles,
    // the current node, up to its end.
    void Read(XmlPartReader& reader, bool common);
    // Drops the automatic styles, before the next part is read.
    void ForgetAutomaticStyles() {
        automatic_.clear();
        resolved_.clear();
    }

    // The style `name` of `family` ("text", "paragraph") with what its parents add; a plain
    // look when there is no such style.
    ResolvedStyle Resolve(std::string_view family, std::string_view name) const;
    // A sheet whose table style says table:display="false".
    bool HidesTable(std::string_view name) const;
    // A slide whose drawing-page style says presentation:visibility="hidden".
    bool HidesPage(std::string_view name) const;

private:
    struct Style {
        std::string name;
        std::string parent;
        bool common = false;
        TextLook look;
        bool hidesTable = false;
        bool hidesPage = false;
    };
    static std::string KeyOf(std::string_view family, std::string_view name);
    void ReadStyle(XmlPartReader& reader, bool common);
    // An automatic style shadows a common one of the same name, as a reference in the part
    // means the part's own.
    const Style* Find(std::string_view family, std::string_view name) const;

    std::unordered_map<std::string, Style> common_;
    std::unordered_map<std::string, Style> automatic_;
    // Each style resolved once: a hostile file may give thousands of spans one style whose
    // chain of parents has long names.
    mutable std::unordered_map<std::string, ResolvedStyle> resolved_;
};

}  // namespace orv::engine
