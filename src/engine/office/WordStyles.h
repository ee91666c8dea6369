#pragma once
// What a Word document's styles part says that changes which text there is to translate: the
// character styles that hide their text.

#include <string>
#include <unordered_set>

#include "engine/office/XmlPartReader.h"

namespace orv::engine {

class WordStyles {
public:
    // No style hides text (a document without a styles part).
    WordStyles() = default;
    // The styles of the part `xml` streams. Throws an engine error when it is not well-formed.
    static WordStyles Read(XmlPartReader& xml);

    // Whether the character style `styleId` hides text, itself or through a style it is
    // based on.
    bool IsHidden(const std::string& styleId) const { return hidden_.count(styleId) != 0; }

private:
    std::unordered_set<std::string> hidden_;
};

}  // namespace orv::engine
