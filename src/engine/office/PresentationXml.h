#pragma once
// The namespaces of a presentation's parts. Each vocabulary comes in a transitional and a
// strict form that differ only in their namespace names; the readers take both as one.

#include <string_view>

#include "engine/office/XmlPartReader.h"

namespace orv::engine::presentation_xml {

inline constexpr std::string_view kPresentation =
    "http://schemas.openxmlformats.org/presentationml/2006/main";
inline constexpr std::string_view kStrictPresentation =
    "http://purl.oclc.org/ooxml/presentationml/main";
inline constexpr std::string_view kDrawing =
    "http://schemas.openxmlformats.org/drawingml/2006/main";
inline constexpr std::string_view kStrictDrawing = "http://purl.oclc.org/ooxml/drawingml/main";

inline bool IsPresentation(std::string_view ns) {
    return ns == kPresentation || ns == kStrictPresentation;
}
inline bool IsDrawing(std::string_view ns) {
    return ns == kDrawing || ns == kStrictDrawing;
}

// Whether the current node starts or ends the PresentationML element `name`.
inline bool IsStartP(const XmlPartReader& xml, std::string_view name) {
    return xml.Type() == XML_READER_TYPE_ELEMENT && xml.LocalName() == name &&
           IsPresentation(xml.Namespace());
}
inline bool IsEndP(const XmlPartReader& xml, std::string_view name) {
    return xml.Type() == XML_READER_TYPE_END_ELEMENT && xml.LocalName() == name &&
           IsPresentation(xml.Namespace());
}
// Whether the current node starts the DrawingML element `name`.
inline bool IsStartA(const XmlPartReader& xml, std::string_view name) {
    return xml.Type() == XML_READER_TYPE_ELEMENT && xml.LocalName() == name &&
           IsDrawing(xml.Namespace());
}

}  // namespace orv::engine::presentation_xml
