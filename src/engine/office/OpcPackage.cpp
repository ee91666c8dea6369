#include "engine/office/OpcPackage.h"

#include "engine/model/EngineError.h"

namespace orv::engine {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// "word/document.xml" -> "word/_rels/document.xml.rels"; "" -> "_rels/.rels".
std::string RelationshipPartOf(std::string_view part) {
    const std::size_t slash = part.rfind('/');
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : part.substr(0, slash + 1);
    const std::string_view name = slash == std::string_view::npos ? part : part.substr(slash + 1);
    return std::string(folder) + "_rels/" + std::string(name) + ".rels";
}

std::string TypeName(std::string_view type) {
    const std::size_t slash = type.rfind('/');
    return std::string(slash == std::string_view::npos ? type : type.substr(slash + 1));
}

constexpr std::string_view kRelationshipsNamespace =
    "http://schemas.openxmlformats.org/package/2006/relationships";

}  // namespace

std::string RelationshipAttribute(const XmlPartReader& xml, std::string_view localName) {
    std::string id = xml.Attribute(
        localName, "http://schemas.openxmlformats.org/officeDocument/2006/relationships");
    return id.empty()
               ? xml.Attribute(localName, "http://purl.oclc.org/ooxml/officeDocument/relationships")
               : id;
}

std::string ResolvePartName(std::string_view sourcePart, std::string_view target) {
    const std::string decoded = PercentDecoded(target);
    std::vector<std::string> steps;
    std::string_view path = decoded;
    if (!path.empty() && path.front() == '/') {
        path.remove_prefix(1);
    } else {
        const std::size_t slash = sourcePart.rfind('/');
        if (slash != std::string_view::npos) {
            std::string_view folder = sourcePart.substr(0, slash);
            std::size_t start = 0;
            while (start <= folder.size()) {
                std::size_t end = folder.find('/', start);
                if (end == std::string_view::npos) end = folder.size();
                if (end > start) steps.emplace_back(folder.substr(start, end - start));
                start = end + 1;
            }
        }
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view step = path.substr(start, end - start);
        if (step == "..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.emplace_back(step);
        }
        start = end + 1;
    }
    std::string name;
    for (const std::string& step : steps) name += (name.empty() ? "" : "/") + step;
    return name;
}

OpcPackage::OpcPackage(std::string_view bytes) : archive_(bytes) {
    for (const Relationship& relationship : RelationshipsOf(""))
        if (relationship.type == "officeDocument" && !relationship.external &&
            archive_.Find(relationship.target)) {
            mainPart_ = *archive_.Find(relationship.target);
            return;
        }
    RaiseEngineError(
        L"The package has no main document part: it is damaged, or not an "
        L"Office Open XML file");
}

std::vector<Relationship> OpcPackage::RelationshipsOf(std::string_view part) {
    std::vector<Relationship> relationships;
    std::unique_ptr<XmlPartReader> reader = Stream(RelationshipPartOf(part));
    if (!reader) return relationships;
    while (reader->Next()) {
        if (!reader->IsStart(kRelationshipsNamespace, "Relationship")) continue;
        Relationship relationship;
        relationship.id = reader->Attribute("Id");
        relationship.type = TypeName(reader->Attribute("Type"));
        relationship.external = reader->Attribute("TargetMode") == "External";
        const std::string target = reader->Attribute("Target");
        relationship.target = relationship.external ? target : ResolvePartName(part, target);
        relationships.push_back(std::move(relationship));
    }
    return relationships;
}

std::optional<Relationship> OpcPackage::RelationshipById(std::string_view part,
                                                         std::string_view id) {
    for (Relationship& relationship : RelationshipsOf(part))
        if (relationship.id == id && !relationship.external) return std::move(relationship);
    return std::nullopt;
}

std::unique_ptr<XmlPartReader> OpcPackage::Stream(std::string_view part) {
    std::optional<ZipArchive::Entry> entry = archive_.Open(part);
    if (!entry) return nullptr;
    return std::make_unique<XmlPartReader>(std::move(*entry));
}

}  // namespace orv::engine
