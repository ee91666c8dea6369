#include "engine/office/OdfStyleTable.h"

#include <charconv>

#include "engine/office/OdfNames.h"

namespace orv::engine {
namespace {

// Further than any real document's chain of parents; a loop of parents stops here too.
constexpr int kDeepestInheritance = 32;
constexpr std::size_t kLongestName = 256;

std::optional<bool> BoldOf(const std::string& weight) {
    if (weight.empty()) return std::nullopt;
    if (weight == "bold") return true;
    if (weight == "normal") return false;
    int value = 0;
    const auto [end, error] = std::from_chars(weight.data(), weight.data() + weight.size(), value);
    if (error != std::errc()) return std::nullopt;
    return value >= 600;  // semi-bold and heavier looks bold
}

std::optional<bool> ItalicOf(const std::string& style) {
    if (style.empty()) return std::nullopt;
    return style == "italic" || style == "oblique";
}

std::optional<bool> LineOf(const std::string& lineStyle) {
    if (lineStyle.empty()) return std::nullopt;
    return lineStyle != "none";
}

// "super 58%", "sub", "33% 58%", "-33% 58%", "0% 100%".
std::optional<std::string> PositionOf(const std::string& position) {
    if (position.empty()) return std::nullopt;
    const std::string first = position.substr(0, position.find(' '));
    if (first == "super" || first == "sub") return first;
    double value = 0;
    const auto [end, error] = std::from_chars(first.data(), first.data() + first.size(), value);
    if (error != std::errc()) return std::string();
    if (value > 0) return std::string("super");
    if (value < 0) return std::string("sub");
    return std::string();
}

TextLook LookOf(const XmlPartReader& reader) {
    TextLook look;
    look.bold = BoldOf(reader.Attribute("font-weight", odf::kFo));
    look.italic = ItalicOf(reader.Attribute("font-style", odf::kFo));
    look.underline = LineOf(reader.Attribute("text-underline-style", odf::kStyle));
    look.strike = LineOf(reader.Attribute("text-line-through-style", odf::kStyle));
    look.position = PositionOf(reader.Attribute("text-position", odf::kStyle));
    const std::string display = reader.Attribute("display", odf::kText);
    if (!display.empty()) look.hidden = display == "none";
    return look;
}

}  // namespace

void TextLook::FillFrom(const TextLook& outer) {
    if (!bold) bold = outer.bold;
    if (!italic) italic = outer.italic;
    if (!underline) underline = outer.underline;
    if (!strike) strike = outer.strike;
    if (!hidden) hidden = outer.hidden;
    if (!position) position = outer.position;
}

std::string TextLook::Key() const {
    std::string key;
    const auto add = [&key](std::string_view word) {
        if (!key.empty()) key += ' ';
        key += word;
    };
    if (bold.value_or(false)) add("b");
    if (italic.value_or(false)) add("i");
    if (underline.value_or(false)) add("u");
    if (strike.value_or(false)) add("s");
    if (position && !position->empty()) add(*position == "super" ? "sup" : "sub");
    return key;
}

std::string OdfStyleTable::KeyOf(std::string_view family, std::string_view name) {
    std::string key(family);
    key += '\n';
    key += name;
    return key;
}

void OdfStyleTable::Read(XmlPartReader& reader, bool common) {
    resolved_.clear();
    if (reader.IsEmptyElement()) return;
    const int depth = reader.Depth();
    while (reader.Next()) {
        if (reader.Type() == XML_READER_TYPE_END_ELEMENT && reader.Depth() == depth) return;
        if (reader.Type() != XML_READER_TYPE_ELEMENT) continue;
        if (reader.IsStart(odf::kStyle, "style"))
            ReadStyle(reader, common);
        else
            reader.Skip();  // default styles, list styles, page layouts: no look of text
    }
}

void OdfStyleTable::ReadStyle(XmlPartReader& reader, bool common) {
    Style style;
    style.name = reader.Attribute("name", odf::kStyle);
    style.parent = reader.Attribute("parent-style-name", odf::kStyle);
    style.common = common;
    const std::string family = reader.Attribute("family", odf::kStyle);
    if (!reader.IsEmptyElement()) {
        const int depth = reader.Depth();
        while (reader.Next()) {
            if (reader.Type() == XML_READER_TYPE_END_ELEMENT && reader.Depth() == depth) break;
            if (reader.IsStart(odf::kStyle, "text-properties")) {
                style.look = LookOf(reader);
            } else if (reader.IsStart(odf::kStyle, "table-properties")) {
                style.hidesTable = reader.Attribute("display", odf::kTable) == "false";
            } else if (reader.IsStart(odf::kStyle, "drawing-page-properties")) {
                style.hidesPage = reader.Attribute("visibility", odf::kPresentation) == "hidden";
            }
        }
    }
    if (style.name.empty()) return;
    (common ? common_ : automatic_)[KeyOf(family, style.name)] = std::move(style);
}

const OdfStyleTable::Style* OdfStyleTable::Find(std::string_view family,
                                                std::string_view name) const {
    if (name.empty()) return nullptr;
    const std::string key = KeyOf(family, name);
    if (const auto found = automatic_.find(key); found != automatic_.end()) return &found->second;
    if (const auto found = common_.find(key); found != common_.end()) return &found->second;
    return nullptr;
}

ResolvedStyle OdfStyleTable::Resolve(std::string_view family, std::string_view name) const {
    const std::string key = KeyOf(family, name);
    if (const auto known = resolved_.find(key); known != resolved_.end()) return known->second;
    ResolvedStyle& resolved = resolved_[key];
    const Style* style = Find(family, name);
    for (int step = 0; style && step < kDeepestInheritance; ++step) {
        resolved.look.FillFrom(style->look);
        // Its start is name enough, and keeps each span's copy of it small.
        if (style->common && resolved.commonName.empty())
            resolved.commonName = style->name.substr(0, kLongestName);
        // A parent is always a common style.
        const auto parent = common_.find(KeyOf(family, style->parent));
        style = style->parent.empty() || parent == common_.end() ? nullptr : &parent->second;
    }
    return resolved;
}

bool OdfStyleTable::HidesTable(std::string_view name) const {
    const Style* style = Find("table", name);
    return style && style->hidesTable;
}

bool OdfStyleTable::HidesPage(std::string_view name) const {
    const Style* style = Find("drawing-page", name);
    return style && style->hidesPage;
}

}  // namespace orv::engine
