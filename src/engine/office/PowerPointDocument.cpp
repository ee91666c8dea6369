#include "engine/office/PowerPointDocument.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/model/EngineError.h"
#include "engine/office/OpcPackage.h"
#include "engine/office/PresentationXml.h"
#include "engine/office/SlidePartReader.h"
#include "engine/office/TextBodyReader.h"

namespace orv::engine {
namespace {

using presentation_xml::IsEndP;
using presentation_xml::IsStartP;

[[noreturn]] void RaiseMissingSlide() {
    RaiseEngineError(L"The presentation names a slide it does not hold");
}

// Part names are compared without regard to ASCII case, as the package finds them.
std::string PartKey(std::string_view part) {
    std::string key(part);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

// The relationship ids of the slides (p:sldIdLst/p:sldId), in the order they are shown.
std::vector<std::string> SlideIdsOf(OpcPackage& package) {
    std::unique_ptr<XmlPartReader> xml = package.Stream(package.MainPart());
    do {
        if (!xml->Next()) RaiseEngineError(L"The presentation is damaged");
    } while (xml->Type() != XML_READER_TYPE_ELEMENT);
    if (!IsStartP(*xml, "presentation"))
        RaiseEngineError(L"The file is not a presentation but another kind of Office document");
    std::vector<std::string> ids;
    bool inList = false;
    while (xml->Next()) {
        if (IsStartP(*xml, "sldIdLst")) {
            inList = !xml->IsEmptyElement();
        } else if (IsEndP(*xml, "sldIdLst")) {
            inList = false;
        } else if (inList && IsStartP(*xml, "sldId")) {
            ids.push_back(RelationshipAttribute(*xml));
        } else if (!inList && xml->Type() == XML_READER_TYPE_ELEMENT && xml->Depth() > 0) {
            xml->Skip();  // the masters' list, sizes, default text styles, extensions
        }
    }
    return ids;
}

// The slide parts in the order they are shown, each once: a part named twice is shown twice
// but translated once, and reading it again would let a small file cost without bound.
std::vector<std::string> SlidePartsOf(OpcPackage& package) {
    std::unordered_map<std::string, std::string> targets;
    for (const Relationship& relationship : package.RelationshipsOf(package.MainPart()))
        if (relationship.type == "slide" && !relationship.external)
            targets.emplace(relationship.id, relationship.target);
    std::vector<std::string> parts;
    std::unordered_set<std::string> seen;
    for (const std::string& id : SlideIdsOf(package)) {
        const auto target = targets.find(id);
        if (target == targets.end() || !package.Has(target->second)) RaiseMissingSlide();
        if (seen.insert(PartKey(target->second)).second) parts.push_back(target->second);
    }
    return parts;
}

// The notes page of `slide`, if it has one.
std::optional<std::string> NotesPartOf(OpcPackage& package, const std::string& slide) {
    for (const Relationship& relationship : package.RelationshipsOf(slide)) {
        if (relationship.type != "notesSlide" || relationship.external) continue;
        if (!package.Has(relationship.target))
            RaiseEngineError(L"The presentation names notes of a slide that it does not hold");
        return relationship.target;
    }
    return std::nullopt;
}

}  // namespace

DocumentText ReadPowerPointBytes(std::string_view bytes) {
    OpcPackage package(bytes);
    DocumentText document;
    TextBodyReader bodies(document);
    SlidePartReader reader(bodies);
    std::vector<std::string> notes;
    std::unordered_set<std::string> notesSeen;
    for (const std::string& slide : SlidePartsOf(package)) {
        std::unique_ptr<XmlPartReader> xml = package.Stream(slide);
        if (!xml) RaiseMissingSlide();
        if (!reader.ReadSlide(*xml)) continue;  // hidden, and so are its notes
        std::optional<std::string> part = NotesPartOf(package, slide);
        if (part && notesSeen.insert(PartKey(*part)).second) notes.push_back(std::move(*part));
    }
    for (const std::string& part : notes) {
        std::unique_ptr<XmlPartReader> xml = package.Stream(part);
        if (!xml)
            RaiseEngineError(L"The presentation names notes of a slide that it does not hold");
        reader.ReadNotes(*xml);
    }
    return document;
}

}  // namespace orv::engine
