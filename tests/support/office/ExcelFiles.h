#pragma once
// Minimal valid workbooks (.xlsx) made in memory for tests: sheets with a name and a state,
// rows of cells that hold a shared or an inline string (plain or in formatted runs), a number
// or a formula with its string result, hidden rows and hidden columns.

#include <string>
#include <utility>
#include <vector>

#include "support/office/ZipWriter.h"

namespace orv::test {

struct ExcelCell {
    enum class Kind {
        Shared,      // `text`, escaped, as a shared string; equal texts share one string
        SharedRuns,  // `text` is the XML of the shared string's runs (<r>, <rPh>, ...)
        Inline,      // `text`, escaped, as the cell's own string
        InlineRuns,  // `text` is the XML of the cell's own string's runs
        Number,      // `text` is the number
        Formula,     // `text` is the formula, `result` its string result (type "str")
        Xml,         // `text` is the whole <c> element, written as it is
    };
    Kind kind = Kind::Shared;
    std::string text;
    std::string result;
};

inline ExcelCell SharedCell(std::string text) {
    return {ExcelCell::Kind::Shared, std::move(text), {}};
}
inline ExcelCell InlineCell(std::string text) {
    return {ExcelCell::Kind::Inline, std::move(text), {}};
}
inline ExcelCell NumberCell(std::string number) {
    return {ExcelCell::Kind::Number, std::move(number), {}};
}

struct ExcelRow {
    ExcelRow(std::vector<ExcelCell> rowCells, bool isHidden = false)
        : cells(std::move(rowCells)), hidden(isHidden) {}

    std::vector<ExcelCell> cells;
    bool hidden = false;
};

struct ExcelSheet {
    ExcelSheet(std::string sheetName, std::vector<ExcelRow> sheetRows = {},
               std::string sheetState = {})
        : name(std::move(sheetName)), rows(std::move(sheetRows)), state(std::move(sheetState)) {}

    std::string name;
    std::vector<ExcelRow> rows;
    std::string state;  // "" for a visible sheet, "hidden", "veryHidden"
    // Ranges of hidden columns, counted from 1, written as <col min max hidden="1">.
    std::vector<std::pair<int, int>> hiddenColumns;
    std::string columnsXml;      // further <col> elements, written as they are
    bool withReferences = true;  // cells carry their reference ("B3"), else only their place
    std::string partName;        // "" for "xl/worksheets/sheet<N>.xml", N counted from 1
    bool inPackage = true;       // false: the workbook names the sheet, the package lacks its part
    // The last step of its relationship's type: "worksheet", "chartsheet", "xlMacrosheet".
    std::string kind = "worksheet";
};

struct ExcelOptions {
    bool strict = false;  // the strict namespaces rather than the transitional ones
};

// The parts of the workbook of `sheets`, in their order, to be changed or added to.
std::vector<ZipEntry> ExcelEntries(const std::vector<ExcelSheet>& sheets,
                                   const ExcelOptions& options = {});
// The workbook's bytes.
std::string ExcelBytes(const std::vector<ExcelSheet>& sheets, const ExcelOptions& options = {});

// The column letters of a column counted from 1 (1 "A", 27 "AA").
std::string ColumnName(int column);

}  // namespace orv::test
