#pragma once
// Minimal valid OpenDocument files made in memory for tests, examples and benchmarks: a text,
// a spreadsheet or a presentation from the XML of its body and styles, packed (mimetype stored
// first, manifest, content.xml, styles.xml) or flat (one office:document).

#include <string>

namespace orv::test {

enum class OdfKind { Text, Spreadsheet, Presentation };

// The XML written inside each part; every piece may use the usual prefixes (office, style,
// text, table, draw, presentation, fo, svg, xlink, anim), declared on the root.
struct OdfParts {
    std::string body{};             // inside office:text, office:spreadsheet or office:presentation
    std::string automaticStyles{};  // the body's automatic styles
    std::string styles{};           // common styles (office:styles)
    std::string masterStyles{};     // inside office:master-styles (master pages with headers)
    // The master pages' automatic styles: in styles.xml when packed, beside the body's when flat.
    std::string masterAutomaticStyles{};
    bool encrypted = false;  // the manifest gives content.xml encryption data
};

std::string OpenDocumentBytes(OdfKind kind, const OdfParts& parts);
std::string FlatOpenDocumentBytes(OdfKind kind, const OdfParts& parts);

}  // namespace orv::test
