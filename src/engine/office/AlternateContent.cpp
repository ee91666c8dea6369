#include "engine/office/AlternateContent.h"

#include <string_view>

namespace orv::engine {
namespace {

constexpr std::string_view kCompatibility =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";

}  // namespace

bool AlternateContent::PassesOver(XmlPartReader& xml) {
    if (xml.Namespace() != kCompatibility) return false;
    const std::string_view name = xml.LocalName();
    const bool isWrapper = name == "AlternateContent";
    const bool isForm = name == "Choice" || name == "Fallback";
    if (!isWrapper && !isForm) return false;
    if (xml.Type() == XML_READER_TYPE_END_ELEMENT) {
        if (isWrapper && !formTaken_.empty()) formTaken_.pop_back();
        return true;
    }
    if (xml.Type() != XML_READER_TYPE_ELEMENT) return false;
    if (isWrapper) {
        if (!xml.IsEmptyElement()) formTaken_.push_back(false);
        return true;
    }
    // A form outside any wrapper is read as it stands: nothing else competes with it.
    if (formTaken_.empty()) return true;
    if (formTaken_.back()) {
        xml.Skip();
    } else {
        formTaken_.back() = true;
    }
    return true;
}

}  // namespace orv::engine
