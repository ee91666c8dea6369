#include "support/office/ExcelFiles.h"

#include <map>

namespace orv::test {
namespace {

struct Namespaces {
    const char* main;
    const char* relationships;  // of r:id attributes
    const char* relationshipTypes;
};

const Namespaces kTransitional = {
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main",
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"};
const Namespaces kStrict = {"http://purl.oclc.org/ooxml/spreadsheetml/main",
                            "http://purl.oclc.org/ooxml/officeDocument/relationships",
                            "http://purl.oclc.org/ooxml/officeDocument/relationships/"};

const char* const kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else if (c == '"')
            escaped += "&quot;";
        else
            escaped += c;
    }
    return escaped;
}

std::string PlainString(const std::string& text) {
    return "<t xml:space=\"preserve\">" + Escaped(text) + "</t>";
}

// The shared strings, each written once, in the order first used.
class SharedStrings {
public:
    int IndexOf(const std::string& item) {
        const auto found = indexes_.find(item);
        if (found != indexes_.end()) return found->second;
        items_.push_back(item);
        return indexes_[item] = static_cast<int>(items_.size()) - 1;
    }
    std::string Part(const Namespaces& ns) const {
        std::string xml = std::string(kXmlDeclaration) + "<sst xmlns=\"" + ns.main + "\">";
        for (const std::string& item : items_) xml += "<si>" + item + "</si>";
        return xml + "</sst>";
    }

private:
    std::vector<std::string> items_;
    std::map<std::string, int> indexes_;
};

std::string CellXml(const ExcelCell& cell, const std::string& reference, SharedStrings& strings) {
    const std::string r = reference.empty() ? "" : " r=\"" + reference + "\"";
    switch (cell.kind) {
        case ExcelCell::Kind::Shared:
            return "<c" + r + " t=\"s\"><v>" +
                   std::to_string(strings.IndexOf(PlainString(cell.text))) + "</v></c>";
        case ExcelCell::Kind::SharedRuns:
            return "<c" + r + " t=\"s\"><v>" + std::to_string(strings.IndexOf(cell.text)) +
                   "</v></c>";
        case ExcelCell::Kind::Inline:
            return "<c" + r + " t=\"inlineStr\"><is>" + PlainString(cell.text) + "</is></c>";
        case ExcelCell::Kind::InlineRuns:
            return "<c" + r + " t=\"inlineStr\"><is>" + cell.text + "</is></c>";
        case ExcelCell::Kind::Number:
            return "<c" + r + "><v>" + cell.text + "</v></c>";
        case ExcelCell::Kind::Formula:
            return "<c" + r + " t=\"str\"><f>" + Escaped(cell.text) + "</f><v>" +
                   Escaped(cell.result) + "</v></c>";
        case ExcelCell::Kind::Xml:
            return cell.text;
    }
    return {};
}

std::string SheetPart(const ExcelSheet& sheet, const Namespaces& ns, SharedStrings& strings) {
    std::string xml = std::string(kXmlDeclaration) + "<worksheet xmlns=\"" + ns.main +
                      "\" xmlns:r=\"" + ns.relationships + "\">";
    if (!sheet.hiddenColumns.empty() || !sheet.columnsXml.empty()) {
        xml += "<cols>";
        for (const auto& [first, last] : sheet.hiddenColumns)
            xml += "<col min=\"" + std::to_string(first) + "\" max=\"" + std::to_string(last) +
                   "\" width=\"9\" hidden=\"1\"/>";
        xml += sheet.columnsXml + "</cols>";
    }
    xml += "<sheetData>";
    int rowNumber = 0;
    for (const ExcelRow& row : sheet.rows) {
        ++rowNumber;
        xml += "<row r=\"" + std::to_string(rowNumber) + "\"" +
               (row.hidden ? " hidden=\"1\"" : "") + ">";
        int column = 0;
        for (const ExcelCell& cell : row.cells) {
            ++column;
            const std::string reference =
                sheet.withReferences ? ColumnName(column) + std::to_string(rowNumber) : "";
            xml += CellXml(cell, reference, strings);
        }
        xml += "</row>";
    }
    return xml + "</sheetData></worksheet>";
}

}  // namespace

std::string ColumnName(int column) {
    std::string name;
    for (; column > 0; column = (column - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (column - 1) % 26));
    return name;
}

std::vector<ZipEntry> ExcelEntries(const std::vector<ExcelSheet>& sheets,
                                   const ExcelOptions& options) {
    const Namespaces& ns = options.strict ? kStrict : kTransitional;
    const std::string types = ns.relationshipTypes;
    SharedStrings strings;
    std::string workbook = std::string(kXmlDeclaration) + "<workbook xmlns=\"" + ns.main +
                           "\" xmlns:r=\"" + ns.relationships + "\"><sheets>";
    std::string relationships =
        std::string(kXmlDeclaration) +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rIdStrings\" Type=\"" +
        types + "sharedStrings\" Target=\"sharedStrings.xml\"/>";
    std::string overrides;
    std::vector<ZipEntry> sheetEntries;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const ExcelSheet& sheet = sheets[i];
        const std::string number = std::to_string(i + 1);
        const std::string part =
            sheet.partName.empty() ? "xl/worksheets/sheet" + number + ".xml" : sheet.partName;
        workbook += "<sheet name=\"" + Escaped(sheet.name) + "\" sheetId=\"" + number + "\"" +
                    (sheet.state.empty() ? "" : " state=\"" + sheet.state + "\"") + " r:id=\"rId" +
                    number + "\"/>";
        relationships += "<Relationship Id=\"rId" + number + "\" Type=\"" + types + sheet.kind +
                         "\" Target=\"/" + part + "\"/>";
        overrides += "<Override PartName=\"/" + part +
                     "\" ContentType=\"application/"
                     "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
        const std::string content = SheetPart(sheet, ns, strings);
        if (sheet.inPackage) sheetEntries.emplace_back(part, content);
    }
    workbook += "</sheets></workbook>";
    relationships += "</Relationships>";

    std::vector<ZipEntry> entries;
    entries.emplace_back(
        "[Content_Types].xml",
        std::string(kXmlDeclaration) +
            "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
            "<Default Extension=\"rels\" "
            "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
            "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
            "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
            "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
            "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/"
            "vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>" +
            overrides + "</Types>");
    entries.emplace_back(
        "_rels/.rels",
        std::string(kXmlDeclaration) +
            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
            "<Relationship Id=\"rId1\" Type=\"" +
            types + "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    entries.emplace_back("xl/workbook.xml", workbook);
    entries.emplace_back("xl/_rels/workbook.xml.rels", relationships);
    for (ZipEntry& entry : sheetEntries) entries.push_back(std::move(entry));
    entries.emplace_back("xl/sharedStrings.xml", strings.Part(ns));
    return entries;
}

std::string ExcelBytes(const std::vector<ExcelSheet>& sheets, const ExcelOptions& options) {
    return ZipBytes(ExcelEntries(sheets, options));
}

}  // namespace orv::test
