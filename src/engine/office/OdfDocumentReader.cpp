#include "engine/office/OdfDocumentReader.h"

#include <unordered_set>

#include "engine/doc/BlockBuilder.h"
#include "engine/model/EngineError.h"
#include "engine/office/OdfNames.h"
#include "engine/office/OdfSpreadsheetReader.h"
#include "engine/office/OdfXml.h"

namespace orv::engine {
namespace {

// The text inside the current element, whitespace collapsed as in a paragraph.
Segment ReadPlainText(XmlPartReader& reader) {
    BlockBuilder block;
    if (reader.IsEmptyElement()) return block.Take();
    const int depth = reader.Depth();
    while (reader.Next()) {
        if (odf::IsEndOf(reader, depth)) return block.Take();
        if (reader.Type() == XML_READER_TYPE_TEXT || reader.Type() == XML_READER_TYPE_CDATA)
            block.AppendUtf8(reader.Value(), BlockBuilder::Spaces::Collapse);
    }
    odf::RaiseNotWellFormed();
}

[[noreturn]] void RaiseNotOpenDocument() {
    RaiseEngineError(L"The file is not an OpenDocument text, spreadsheet or presentation");
}

}  // namespace

OdfDocumentReader::OdfDocumentReader(const DocumentSettings& settings) {
    state_.multiSegmentNotes = settings.multiSegmentFootnotes;
}

void OdfDocumentReader::ReadPart(XmlPartReader& reader) {
    while (reader.Next() && reader.Type() != XML_READER_TYPE_ELEMENT) {
    }
    if (reader.Type() != XML_READER_TYPE_ELEMENT || reader.Namespace() != odf::kOffice)
        RaiseNotOpenDocument();
    if (reader.IsEmptyElement()) return;
    const int depth = reader.Depth();
    while (reader.Next()) {
        if (odf::IsEndOf(reader, depth)) return;
        if (reader.Type() != XML_READER_TYPE_ELEMENT) continue;
        if (reader.IsStart(odf::kOffice, "styles")) {
            state_.styles.Read(reader, true);
        } else if (reader.IsStart(odf::kOffice, "automatic-styles")) {
            state_.styles.Read(reader, false);
        } else if (reader.IsStart(odf::kOffice, "master-styles")) {
            OdfTextReader(reader, state_).ReadHeadersAndFooters(headers_);
        } else if (reader.IsStart(odf::kOffice, "body")) {
            ReadBody(reader);
        } else {
            reader.Skip();  // metadata, settings, scripts, fonts
        }
    }
    odf::RaiseNotWellFormed();
}

void OdfDocumentReader::ReadBody(XmlPartReader& reader) {
    if (reader.IsEmptyElement()) return;
    const int depth = reader.Depth();
    while (reader.Next()) {
        if (odf::IsEndOf(reader, depth)) return;
        if (reader.Type() != XML_READER_TYPE_ELEMENT) continue;
        if (reader.IsStart(odf::kOffice, "text")) {
            kind_ = Kind::Text;
            OdfTextReader(reader, state_).ReadBlocks(body_);
        } else if (reader.IsStart(odf::kOffice, "spreadsheet")) {
            kind_ = Kind::Spreadsheet;
            OdfSpreadsheetReader sheets(reader, state_);
            sheets.Read(body_);
            repeatsCapped_ = repeatsCapped_ || sheets.RepeatsCapped();
        } else if (reader.IsStart(odf::kOffice, "presentation") ||
                   reader.IsStart(odf::kOffice, "drawing")) {
            // A drawing is pages of shapes, as a presentation is.
            kind_ = Kind::Presentation;
            ReadSlides(reader);
        } else {
            reader.Skip();  // a chart, an image, a formula: no text of their own here
        }
    }
    odf::RaiseNotWellFormed();
}

void OdfDocumentReader::ReadSlides(XmlPartReader& reader) {
    if (reader.IsEmptyElement()) return;
    const int depth = reader.Depth();
    OdfTextReader text(reader, state_);
    std::unordered_set<std::wstring> declared;
    while (reader.Next()) {
        if (odf::IsEndOf(reader, depth)) return;
        if (reader.Type() != XML_READER_TYPE_ELEMENT) continue;
        if (reader.IsStart(odf::kDraw, "page")) {
            // A hidden slide is not shown, and neither are its notes.
            if (state_.styles.HidesPage(reader.Attribute("style-name", odf::kDraw)))
                reader.Skip();
            else
                text.ReadBlocks(body_);
        } else if (reader.IsStart(odf::kPresentation, "header-decl") ||
                   reader.IsStart(odf::kPresentation, "footer-decl")) {
            // The text of the slides' header or footer, written once for the slides that show
            // it; a date's declaration holds a date.
            TextBlock block{ReadPlainText(reader), false};
            if (!block.text.text.empty() && declared.insert(block.text.text).second)
                body_.push_back(std::move(block));
        } else {
            reader.Skip();
        }
    }
    odf::RaiseNotWellFormed();
}

DocumentText OdfDocumentReader::Finish() {
    if (kind_ == Kind::None) RaiseNotOpenDocument();
    DocumentText document;
    document.blocks = std::move(body_);
    for (TextBlock& block : state_.notes) document.blocks.push_back(std::move(block));
    // A sheet's or a slide's master page prints the sheet's name and the page number, or
    // holds the layout's own drawing: nothing that is the document's text.
    if (kind_ == Kind::Text)
        for (TextBlock& block : headers_) document.blocks.push_back(std::move(block));
    if (repeatsCapped_)
        document.notes.push_back(
            L"Some cells repeat their text over more rows and columns than are counted: each "
            L"such text is counted up to ten thousand times in all");
    return document;
}

}  // namespace orv::engine
