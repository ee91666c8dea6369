#pragma once
// An OpenDocument file read part by part, in the order the text is counted: the body (the
// text, the sheets or the slides), then the notes (footnotes and endnotes, or the slides'
// speaker notes), then the headers and footers of a text's master pages.

#include <vector>

#include "engine/doc/DocumentSettings.h"
#include "engine/doc/DocumentText.h"
#include "engine/office/OdfTextReader.h"
#include "engine/office/XmlPartReader.h"

namespace orv::engine {

class OdfDocumentReader {
public:
    explicit OdfDocumentReader(const DocumentSettings& settings);

    // One part, whole: styles.xml, content.xml, or the flat file that holds both. Throws an
    // engine error when it is not OpenDocument XML or not well-formed.
    void ReadPart(XmlPartReader& reader);
    // Before the next part: its automatic styles are its own.
    void ForgetAutomaticStyles() { state_.styles.ForgetAutomaticStyles(); }
    // The document's text. Throws an engine error when no part held a body of text, sheets or
    // slides.
    DocumentText Finish();

private:
    void ReadBody(XmlPartReader& reader);
    void ReadSlides(XmlPartReader& reader);

    enum class Kind { None, Text, Spreadsheet, Presentation };
    OdfReadState state_;
    Kind kind_ = Kind::None;
    std::vector<TextBlock> body_;
    std::vector<TextBlock> headers_;
    bool repeatsCapped_ = false;
};

}  // namespace orv::engine
