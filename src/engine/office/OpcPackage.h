#pragma once
// An Office Open XML package: a zip container whose parts find one another through
// relationships ("_rels/.rels" for the package, "word/_rels/document.xml.rels" for a part).

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/office/XmlPartReader.h"
#include "engine/office/ZipArchive.h"

namespace orv::engine {

struct Relationship {
    std::string id;
    // The relationship's type with everything up to its last "/" dropped ("officeDocument",
    // "header", "footnotes"): the strict and the transitional form of a type are one.
    std::string type;
    // The part it points to, resolved to a part name ("word/header1.xml"); for an external
    // target (a hyperlink), the target as written.
    std::string target;
    bool external = false;
};

class OpcPackage {
public:
    // `bytes` must outlive the package. Throws an engine error as ZipArchive does, and when the
    // package names no main part (an officeDocument relationship) that it holds.
    explicit OpcPackage(std::string_view bytes);

    // The main part ("word/document.xml", "xl/workbook.xml", "ppt/presentation.xml").
    const std::string& MainPart() const { return mainPart_; }

    // The relationships of `part` ("" for the package's own); none when it has no
    // relationship part. Throws an engine error when that part is not well-formed.
    std::vector<Relationship> RelationshipsOf(std::string_view part);
    // The internal relationship of `part` with the id `id`, if there is one.
    std::optional<Relationship> RelationshipById(std::string_view part, std::string_view id);

    // The part's bytes, or a stream of its XML nodes; none (null) when the package lacks it.
    std::optional<std::string> Read(std::string_view part) { return archive_.Read(part); }
    std::unique_ptr<XmlPartReader> Stream(std::string_view part);
    bool Has(std::string_view part) const { return archive_.Find(part).has_value(); }

private:
    ZipArchive archive_;
    std::string mainPart_;
};

// The relationship id that the current element's attribute `localName` ("id" of r:id) names,
// in the transitional or the strict relationships namespace; empty when it has none. Every
// part of a package refers to its relationships so.
std::string RelationshipAttribute(const XmlPartReader& xml, std::string_view localName = "id");

// The part name that `target`, written in a relationship of `sourcePart`, points to: relative
// targets resolve against the source's folder, "%20" and the like are decoded, and a ".."
// above the package's root stays at the root.
std::string ResolvePartName(std::string_view sourcePart, std::string_view target);

}  // namespace orv::engine
