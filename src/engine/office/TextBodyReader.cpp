#include "engine/office/TextBodyReader.h"

#include <string>
#include <string_view>

#include "engine/model/EngineError.h"
#include "engine/office/PresentationXml.h"

namespace orv::engine {
namespace {

using presentation_xml::IsStartA;

[[noreturn]] void RaiseNotWellFormed() {
    RaiseEngineError(L"A part of the document is not well-formed XML");
}

bool IsEndOf(const XmlPartReader& xml, int depth) {
    return xml.Type() == XML_READER_TYPE_END_ELEMENT && xml.Depth() == depth;
}

bool IsOn(std::string_view value) {
    return value == "1" || value == "true";
}

// A raised or lowered baseline ("30000", or "30%" in the strict form): superscript or
// subscript. Zero in any spelling is the normal line.
std::string_view BaselineOf(std::string_view value) {
    if (value.find_first_of("123456789") == std::string_view::npos) return {};
    return value.starts_with('-') ? "sub" : "sup";
}

void AddTo(std::string& formatting, std::string_view name) {
    if (name.empty()) return;
    if (!formatting.empty()) formatting += ' ';
    formatting += name;
}

// The formatting of a run, from its a:rPr (the current node), as names such as "b i", the names
// a Word document's runs get too: only what a reader of the text sees as emphasis. Font, size,
// colour and language are left out, or every run written at another time would break a
// sentence with codes.
std::string FormattingOf(XmlPartReader& xml) {
    std::string formatting;
    if (IsOn(xml.Attribute("b"))) AddTo(formatting, "b");
    if (IsOn(xml.Attribute("i"))) AddTo(formatting, "i");
    const std::string underline = xml.Attribute("u");
    if (!underline.empty() && underline != "none") AddTo(formatting, "u");
    const std::string strike = xml.Attribute("strike");
    if (!strike.empty() && strike != "noStrike") AddTo(formatting, "strike");
    AddTo(formatting, BaselineOf(xml.Attribute("baseline")));
    if (xml.IsEmptyElement()) return formatting;
    const int depth = xml.Depth();
    bool isLink = false;
    while (xml.Next()) {
        if (IsEndOf(xml, depth)) {
            if (isLink) AddTo(formatting, "link");
            return formatting;
        }
        if (IsStartA(xml, "hlinkClick")) isLink = true;
    }
    RaiseNotWellFormed();
}

// The text of an a:t (the current node), spaces and all.
std::string TextOf(XmlPartReader& xml) {
    std::string text;
    if (xml.IsEmptyElement()) return text;
    const int depth = xml.Depth();
    while (xml.Next()) {
        if (IsEndOf(xml, depth)) return text;
        switch (xml.Type()) {
            case XML_READER_TYPE_TEXT:
            case XML_READER_TYPE_CDATA:
            case XML_READER_TYPE_WHITESPACE:
            case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
                text += xml.Value();
                break;
            default:
                break;
        }
    }
    RaiseNotWellFormed();
}

// The slide number and the date and time ("datetime", "datetime1" and on) are filled in when
// the slide is shown; no translator translates them.
bool IsGeneratedField(const XmlPartReader& xml) {
    const std::string type = xml.Attribute("type");
    return type == "slidenum" || type.starts_with("datetime");
}

}  // namespace

void TextBodyReader::Read(XmlPartReader& xml, AlternateContent& alternates) {
    if (xml.IsEmptyElement()) return;
    const int depth = xml.Depth();
    while (xml.Next()) {
        if (alternates.PassesOver(xml)) continue;
        if (IsEndOf(xml, depth)) return;
        if (xml.Type() != XML_READER_TYPE_ELEMENT) continue;
        if (IsStartA(xml, "p"))
            ReadParagraph(xml, alternates);
        else
            xml.Skip();  // the body's and the list's properties hold no text
    }
    RaiseNotWellFormed();
}

void TextBodyReader::ReadParagraph(XmlPartReader& xml, AlternateContent& alternates) {
    if (xml.IsEmptyElement()) return;
    const int depth = xml.Depth();
    FormattedRuns runs;
    for (;;) {
        if (!xml.Next()) RaiseNotWellFormed();
        if (alternates.PassesOver(xml)) continue;
        if (IsEndOf(xml, depth)) break;
        if (xml.Type() != XML_READER_TYPE_ELEMENT) continue;
        if (IsStartA(xml, "r")) {
            ReadRun(xml, runs);
        } else if (IsStartA(xml, "fld") && !IsGeneratedField(xml)) {
            ReadRun(xml, runs);
        } else if (IsStartA(xml, "br")) {
            runs.AddCode(L"<a:br/>");
            xml.Skip();
        } else {
            // Paragraph properties, the end-of-paragraph formatting, a generated field and
            // whatever this reader does not know: none of it is text of the paragraph.
            xml.Skip();
        }
    }
    if (!runs.HasText()) return;
    BlockBuilder block;
    runs.AppendTo(block, nextPair_);
    document_.blocks.push_back({block.Take(), false});
}

void TextBodyReader::ReadRun(XmlPartReader& xml, FormattedRuns& runs) {
    if (xml.IsEmptyElement()) return;
    const int depth = xml.Depth();
    std::string formatting, text;
    for (;;) {
        if (!xml.Next()) RaiseNotWellFormed();
        if (IsEndOf(xml, depth)) break;
        if (xml.Type() != XML_READER_TYPE_ELEMENT) continue;
        if (IsStartA(xml, "rPr"))
            formatting = FormattingOf(xml);
        else if (IsStartA(xml, "t"))
            text += TextOf(xml);
        else
            xml.Skip();
    }
    runs.AddText(text, formatting);
}

}  // namespace orv::engine
