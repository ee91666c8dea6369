#include "engine/office/WordRunFormatting.h"

#include "engine/office/WordNames.h"
#include "engine/office/WordStyles.h"

namespace orv::engine {

using namespace word;

WordRunFormatting WordRunFormatting::Read(XmlPartReader& xml) {
    WordRunFormatting formatting;
    ForEachChild(xml, [&] {
        if (IsWordElement(xml)) {
            const std::string_view name = xml.LocalName();
            if (name == "b") formatting.bold_ = IsToggleOn(xml);
            if (name == "i") formatting.italic_ = IsToggleOn(xml);
            if (name == "strike" || name == "dstrike") formatting.strike_ = IsToggleOn(xml);
            if (name == "caps") formatting.caps_ = IsToggleOn(xml);
            if (name == "smallCaps") formatting.smallCaps_ = IsToggleOn(xml);
            if (name == "vanish") formatting.hidden_ = IsToggleOn(xml);
            if (name == "u") formatting.underline_ = WordAttribute(xml, "val") != "none";
            if (name == "rStyle") formatting.style_ = WordAttribute(xml, "val");
            if (name == "vertAlign") {
                const std::string value = WordAttribute(xml, "val");
                formatting.verticalAlign_ =
                    value == "superscript" || value == "subscript" ? value : "";
            }
        }
        // The properties before a tracked change (w:rPrChange) are history, not formatting.
        xml.Skip();
    });
    return formatting;
}

bool WordRunFormatting::IsHidden(const WordStyles& styles) const {
    return hidden_ || (!style_.empty() && styles.IsHidden(style_));
}

std::string WordRunFormatting::Key(bool inLink) const {
    std::string key;
    const auto add = [&key](std::string_view part) {
        if (!key.empty()) key += ' ';
        key += part;
    };
    if (bold_) add("b");
    if (italic_) add("i");
    if (underline_) add("u");
    if (strike_) add("strike");
    if (!verticalAlign_.empty()) add(verticalAlign_ == "superscript" ? "sup" : "sub");
    if (caps_) add("caps");
    if (smallCaps_) add("smallCaps");
    if (!style_.empty()) add("style:" + style_);
    if (inLink) add("link");
    return key;
}

}  // namespace orv::engine
