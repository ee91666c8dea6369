#pragma once
// Minimal valid Word documents (.docx, .docm) made in memory for tests and benchmarks: the
// body's XML and the other parts a test needs, wrapped in their root elements, with the content
// types and relationships that tie them together. Namespace prefixes w, r, m, mc, wp, wps, a,
// pic, v and o are declared on every root, so parts are written as a Word document writes them.

#include <string>
#include <vector>

namespace orv::test {

// A header or footer, or any other part the main part refers to.
struct WordPart {
    std::string relationshipId{};  // what the body's w:headerReference r:id names
    std::string type{};            // the relationship type's last step: "header", "footer"
    std::string name{};            // under word/: "header1.xml"
    std::string content{};         // inside its root (w:hdr for a header, w:ftr otherwise)
    bool missing = false;          // the relationship is written but the part is not
};

struct WordFile {
    std::string body{};       // the XML inside w:body
    std::string footnotes{};  // inside w:footnotes; none: no footnotes part
    std::string endnotes{};   // inside w:endnotes; none: no endnotes part
    std::string comments{};   // inside w:comments; none: no comments part
    std::string styles{};     // inside w:styles; none: no styles part
    std::vector<WordPart> parts{};
    bool strict = false;  // written in the strict namespaces and relationship types
    bool macros = false;  // a macro-enabled document, with a macro part
};

// The .docx (or .docm) file.
std::string WordBytes(const WordFile& file);

// Paragraphs of plain runs, one for each text ("<w:p><w:r><w:t>...</w:t></w:r></w:p>").
std::string WordParagraphs(const std::vector<std::string>& texts);

// A footnote or endnote element ("footnote", "endnote") of plain paragraphs, with id `id`.
std::string WordNote(const std::string& element, int id, const std::vector<std::string>& texts);

}  // namespace orv::test
