#pragma once
// The namespaces of OpenDocument elements and attributes. Elements are told apart by their
// namespace and local name, never by the prefix a file happens to give them.

#include <string_view>

namespace orv::engine::odf {

inline constexpr std::string_view kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
inline constexpr std::string_view kStyle = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
inline constexpr std::string_view kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
inline constexpr std::string_view kTable = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
inline constexpr std::string_view kDraw = "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0";
inline constexpr std::string_view kPresentation =
    "urn:oasis:names:tc:opendocument:xmlns:presentation:1.0";
inline constexpr std::string_view kFo =
    "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";
inline constexpr std::string_view kSvg = "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0";
inline constexpr std::string_view kAnimation =
    "urn:oasis:names:tc:opendocument:xmlns:animation:1.0";
inline constexpr std::string_view kManifest = "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0";
inline constexpr std::string_view kXlink = "http://www.w3.org/1999/xlink";

}  // namespace orv::engine::odf
