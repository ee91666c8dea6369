#pragma once
// The namespaces a Word document's parts are written in. A document saved in the strict form
// uses other namespace names for the same elements; the readers accept both, so that the two
// forms of one document give the same text.

#include <string_view>

#include "engine/office/XmlPartReader.h"

namespace orv::engine::word {

inline constexpr std::string_view kMain =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr std::string_view kStrictMain = "http://purl.oclc.org/ooxml/wordprocessingml/main";
inline constexpr std::string_view kMath =
    "http://schemas.openxmlformats.org/officeDocument/2006/math";
inline constexpr std::string_view kStrictMath = "http://purl.oclc.org/ooxml/officeDocument/math";
inline constexpr std::string_view kCompatibility =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";

// Whether the current node is an element of the word-processing vocabulary, starting.
inline bool IsWordElement(const XmlPartReader& xml) {
    return xml.Type() == XML_READER_TYPE_ELEMENT &&
           (xml.Namespace() == kMain || xml.Namespace() == kStrictMain);
}

inline bool IsWordStart(const XmlPartReader& xml, std::string_view localName) {
    return IsWordElement(xml) && xml.LocalName() == localName;
}

// The value of the current word-processing element's own attribute `localName` ("w:val",
// "w:id"), in whichever of the two namespaces the element is.
inline std::string WordAttribute(const XmlPartReader& xml, std::string_view localName) {
    return xml.Attribute(localName, xml.Namespace());
}

// Whether a toggle property (<w:b/>, <w:b w:val="0"/>) of the current element is on.
inline bool IsToggleOn(const XmlPartReader& xml) {
    const std::string value = WordAttribute(xml, "val");
    return value != "0" && value != "false" && value != "off";
}

// Passes over the children of the current element, calling `onChild` at each child element's
// start; `onChild` must leave the reader at that child's end (by Skip or by reading it all).
template <typename OnChild>
void ForEachChild(XmlPartReader& xml, OnChild&& onChild) {
    if (xml.Type() != XML_READER_TYPE_ELEMENT || xml.IsEmptyElement()) return;
    const int depth = xml.Depth();
    while (xml.Next()) {
        if (xml.Type() == XML_READER_TYPE_END_ELEMENT && xml.Depth() == depth) return;
        if (xml.Type() == XML_READER_TYPE_ELEMENT) onChild();
    }
}

}  // namespace orv::engine::word
