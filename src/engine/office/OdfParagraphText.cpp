#include "engine/office/OdfParagraphText.h"

namespace orv::engine {

void OdfParagraphText::AddXmlText(std::string_view text, const std::string& key) {
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (!afterSpace_) shown += ' ';
            afterSpace_ = true;
        } else {
            shown += c;
            afterSpace_ = false;
        }
    }
    Add(shown, key);
}

void OdfParagraphText::AddSpaces(int count, const std::string& key) {
    Add(std::string(static_cast<std::size_t>(count), ' '), key);
    afterSpace_ = true;
}

void OdfParagraphText::AddCode(std::wstring content) {
    runs_.AddCode(std::move(content));
    afterSpace_ = false;
}

void OdfParagraphText::Add(const std::string& text, const std::string& key) {
    if (text.empty()) return;
    const bool onlySpaces = text.find_first_not_of(' ') == std::string::npos;
    if (!onlySpaces) lastKey_ = key;
    runs_.AddText(text, onlySpaces && lastKey_ ? *lastKey_ : key);
}

}  // namespace orv::engine
