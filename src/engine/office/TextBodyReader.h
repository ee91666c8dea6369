#pragma once
// The text of a DrawingML text body (a shape's or a table cell's p:txBody/a:txBody): one block
// for each paragraph that holds text, with its changes of formatting as pairs of codes and its
// line breaks as codes of their own. Fields that the application fills in itself (the slide
// number, the date and time) are not translated, so they are left out.

#include "engine/doc/DocumentText.h"
#include "engine/office/AlternateContent.h"
#include "engine/office/FormattedRuns.h"
#include "engine/office/XmlPartReader.h"

namespace orv::engine {

class TextBodyReader {
public:
    // The blocks go to the end of `document`, which must outlive the reader.
    explicit TextBodyReader(DocumentText& document) : document_(document) {}

    // Reads the text body that starts at the current node, through to its end, taking one
    // form of each mc:AlternateContent as `alternates` says. Throws an engine error when the
    // part is not well-formed.
    void Read(XmlPartReader& xml, AlternateContent& alternates);

private:
    void ReadParagraph(XmlPartReader& xml, AlternateContent& alternates);
    // A run (a:r) or a field (a:fld): its text, with its formatting.
    static void ReadRun(XmlPartReader& xml, FormattedRuns& runs);

    DocumentText& document_;
    int nextPair_ = 1;  // pair ids stay distinct across all blocks of the document
};

}  // namespace orv::engine
