#pragma once
// Minimal presentations (.pptx) made in memory for tests, examples and benchmarks: slides of
// text boxes, placeholders, tables and groups, hidden or shown, with speaker notes, over one
// layout and master whose prompt text a reader must not take for the slides' text.

#include <string>
#include <string_view>
#include <vector>

#include "support/office/ZipWriter.h"

namespace orv::test {

// Pieces of a slide's shape tree, as XML with the prefixes "p:" (PresentationML) and "a:"
// (DrawingML); "mc:" (markup compatibility) is declared too.

// A run holding `text` (escaped), whose a:rPr has the attributes `properties` ("b=\"1\"") and
// the content `propertiesContent` ("<a:hlinkClick r:id=\"\"/>").
std::string TextRun(std::string_view text, std::string_view properties = "",
                    std::string_view propertiesContent = "");
// A paragraph of the runs, fields and breaks `content` as written.
std::string ParagraphOf(std::string_view content);
// A paragraph of one plain run holding `text`.
std::string Paragraph(std::string_view text);
// A text box holding `paragraphs`, or with `placeholder` a placeholder of that type ("title",
// "body", "sldNum", "dt").
std::string Shape(const std::vector<std::string>& paragraphs, std::string_view placeholder = "");
// A table; each cell holds the paragraph given.
std::string Table(const std::vector<std::vector<std::string>>& rows);
// A group of the shapes given.
std::string Group(const std::vector<std::string>& shapes);
// A line between two shapes: connectors hold no text.
std::string Connector();

struct PresentationSlide {
    std::string shapes{};  // the shape tree's content, in its order
    std::string show{};    // the slide's "show" attribute ("0", "false"); "" writes none
    // The paragraphs of the speaker notes' body placeholder; with none and no notesShapes
    // the slide has no notes page. The page always has a slide image and a slide number.
    std::vector<std::string> notes{};
    std::string notesShapes{};  // more shapes of the notes page, after its body
    std::string comment{};      // when not empty, the text of a comment on the slide
    int partNumber = 0;         // the slide is "ppt/slides/slide<N>.xml"; 0: its position, from 1
};

struct PresentationFile {
    std::vector<PresentationSlide> slides{};  // in the order they are shown
    // The shapes of the one slide layout: a title placeholder with its prompt by default.
    std::string layoutShapes{};
    bool strict = false;                // the strict namespaces instead of the transitional ones
    std::vector<ZipEntry> moreParts{};  // after all others (a macro project, stray parts)
};

// The parts of the presentation, "[Content_Types].xml" first, to be damaged at will.
std::vector<ZipEntry> PresentationParts(const PresentationFile& file);
// The presentation as a zip archive of its parts.
std::string PresentationBytes(const PresentationFile& file);

}  // namespace orv::test
