#include "engine/office/SlidePartReader.h"

#include <string>

#include "engine/model/EngineError.h"
#include "engine/office/AlternateContent.h"
#include "engine/office/PresentationXml.h"

namespace orv::engine {
namespace {

using presentation_xml::IsEndP;
using presentation_xml::IsStartA;
using presentation_xml::IsStartP;

// Each of these starts a shape of its own, which may or may not be a placeholder.
bool IsShapeStart(const XmlPartReader& xml) {
    for (const char* name : {"sp", "grpSp", "graphicFrame", "cxnSp", "pic", "contentPart"})
        if (IsStartP(xml, name)) return true;
    return false;
}

}  // namespace

bool SlidePartReader::ReadSlide(XmlPartReader& xml) {
    return Read(xml, Part::Slide);
}

void SlidePartReader::ReadNotes(XmlPartReader& xml) {
    Read(xml, Part::Notes);
}

bool SlidePartReader::Read(XmlPartReader& xml, Part part) {
    const wchar_t* const damaged = part == Part::Slide
                                       ? L"A slide of the presentation is damaged"
                                       : L"The notes of a slide of the presentation are damaged";
    do {
        if (!xml.Next()) RaiseEngineError(damaged);
    } while (xml.Type() != XML_READER_TYPE_ELEMENT);
    if (!IsStartP(xml, part == Part::Slide ? "sld" : "notes")) RaiseEngineError(damaged);
    if (part == Part::Slide) {
        const std::string show = xml.Attribute("show");
        if (show == "0" || show == "false") return false;
    }
    if (xml.IsEmptyElement()) return true;

    AlternateContent alternates;
    bool inSlide = false, inTree = false;
    std::string placeholder;  // the placeholder type of the shape read now; "" for none
    while (xml.Next()) {
        if (alternates.PassesOver(xml)) continue;
        if (xml.Type() == XML_READER_TYPE_END_ELEMENT) {
            if (IsEndP(xml, "spTree")) inTree = false;
            if (IsEndP(xml, "cSld")) inSlide = false;
            continue;
        }
        if (xml.Type() != XML_READER_TYPE_ELEMENT) continue;
        if (!inTree) {
            // Outside the shape tree: the background, colour mapping, transitions, timing.
            if (!inSlide && IsStartP(xml, "cSld"))
                inSlide = !xml.IsEmptyElement();
            else if (inSlide && IsStartP(xml, "spTree"))
                inTree = !xml.IsEmptyElement();
            else
                xml.Skip();
            continue;
        }
        if (IsShapeStart(xml)) {
            placeholder.clear();
        } else if (IsStartP(xml, "ph")) {
            placeholder = xml.Attribute("type");
        } else if (IsStartP(xml, "txBody") || IsStartA(xml, "txBody")) {
            if (part == Part::Slide || placeholder == "body")
                bodies_.Read(xml, alternates);
            else
                xml.Skip();
        }
    }
    return true;
}

}  // namespace orv::engine
