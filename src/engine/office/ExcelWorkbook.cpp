#include "engine/office/ExcelWorkbook.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/doc/BlockBuilder.h"
#include "engine/model/EngineError.h"
#include "engine/office/OpcPackage.h"
#include "engine/office/SharedStringTable.h"
#include "engine/office/SpreadsheetMarkup.h"
#include "engine/office/WorksheetReader.h"

namespace orv::engine {
namespace {

struct SheetEntry {
    std::string name;
    std::string relationshipId;
};

// The sheets of the workbook part that `reader` streams, in its order, those hidden from the
// user left out. Throws an engine error when the part is no workbook (a renamed document).
std::vector<SheetEntry> VisibleSheets(XmlPartReader& reader) {
    while (reader.Next() && reader.Type() != XML_READER_TYPE_ELEMENT) {
    }
    if (!IsSpreadsheetStart(reader, "workbook"))
        RaiseEngineError(
            L"The file is not a workbook: its main part is a document of another kind");
    std::vector<SheetEntry> sheets;
    while (reader.Next()) {
        if (!IsSpreadsheetStart(reader, "sheet")) continue;
        const std::string state = reader.Attribute("state");
        if (state == "hidden" || state == "veryHidden") continue;
        sheets.push_back({reader.Attribute("name"), RelationshipAttribute(reader)});
    }
    return sheets;
}

SharedStringTable ReadSharedStrings(OpcPackage& package,
                                    const std::vector<Relationship>& relationships) {
    for (const Relationship& relationship : relationships) {
        if (relationship.type != "sharedStrings" || relationship.external) continue;
        if (std::unique_ptr<XmlPartReader> reader = package.Stream(relationship.target))
            return SharedStringTable(*reader);
    }
    return {};
}

// Macro sheets hold macros, which are never read; chart and dialog sheets hold no cells, only
// their name on the tab.
bool IsMacroSheet(const std::string& type) {
    return type == "xlMacrosheet" || type == "xlIntlMacrosheet";
}

}  // namespace

DocumentText ReadExcelBytes(std::string_view bytes) {
    OpcPackage package(bytes);  // a damaged or hostile container is refused first
    const std::string workbook = package.MainPart();
    std::vector<SheetEntry> sheets;
    {
        const std::unique_ptr<XmlPartReader> reader = package.Stream(workbook);
        sheets = VisibleSheets(*reader);
    }
    const std::vector<Relationship> relationships = package.RelationshipsOf(workbook);
    std::unordered_map<std::string, const Relationship*> relationshipById;
    for (const Relationship& relationship : relationships)
        if (!relationship.external) relationshipById.emplace(relationship.id, &relationship);
    const SharedStringTable strings = ReadSharedStrings(package, relationships);

    DocumentText document;
    int nextPair = 1;
    for (const SheetEntry& sheet : sheets) {
        const auto found = relationshipById.find(sheet.relationshipId);
        if (found == relationshipById.end() || !package.Has(found->second->target))
            RaiseEngineError(L"The workbook names a sheet it does not hold");
        const Relationship& relationship = *found->second;
        if (IsMacroSheet(relationship.type)) continue;

        BlockBuilder name;
        name.AppendUtf8(sheet.name, BlockBuilder::Spaces::Keep);
        if (name.HasText()) document.blocks.push_back({name.Take(), false});
        if (relationship.type != "worksheet") continue;
        const std::unique_ptr<XmlPartReader> reader = package.Stream(relationship.target);
        WorksheetReader(strings, document, nextPair).Read(*reader);
    }
    return document;
}

}  // namespace orv::engine
