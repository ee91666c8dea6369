#include "engine/office/WordStyles.h"

#include <unordered_map>

#include "engine/office/WordNames.h"

namespace orv::engine {

using namespace word;

namespace {

constexpr int kMostBasedOnSteps = 16;

struct CharacterStyle {
    std::string basedOn;
    bool hidden = false;  // set, as on or off, by the style itself
    bool setsHidden = false;
};

CharacterStyle ReadStyle(XmlPartReader& xml) {
    CharacterStyle style;
    ForEachChild(xml, [&] {
        if (IsWordStart(xml, "basedOn")) style.basedOn = WordAttribute(xml, "val");
        if (IsWordStart(xml, "rPr")) {
            ForEachChild(xml, [&] {
                if (IsWordStart(xml, "vanish")) {
                    style.setsHidden = true;
                    style.hidden = IsToggleOn(xml);
                }
                xml.Skip();
            });
            return;
        }
        xml.Skip();
    });
    return style;
}

}  // namespace

WordStyles WordStyles::Read(XmlPartReader& xml) {
    std::unordered_map<std::string, CharacterStyle> styles;
    while (xml.Next()) {
        if (!IsWordStart(xml, "style")) continue;
        if (WordAttribute(xml, "type") != "character") {
            xml.Skip();
            continue;
        }
        std::string id = WordAttribute(xml, "styleId");
        styles[std::move(id)] = ReadStyle(xml);
    }
    WordStyles result;
    for (const auto& [id, style] : styles) {
        // The nearest style up the chain that says either way decides. Real chains are a few
        // styles long; a loop of "based on", or a hostile chain of thousands, ends soon.
        const CharacterStyle* current = &style;
        for (int step = 0; current && step < kMostBasedOnSteps; ++step) {
            if (current->setsHidden) {
                if (current->hidden) result.hidden_.insert(id);
                break;
            }
            const auto base = styles.find(current->basedOn);
            current = base == styles.end() ? nullptr : &base->second;
        }
    }
    return result;
}

}  // namespace orv::engine
