#include "engine/office/WorksheetReader.h"

#include <algorithm>
#include <string>

#include "engine/doc/BlockBuilder.h"
#include "engine/model/EngineError.h"
#include "engine/office/FormattedRuns.h"
#include "engine/office/RichText.h"
#include "engine/office/SpreadsheetMarkup.h"

namespace orv::engine {
namespace {

bool IsEndAt(const XmlPartReader& reader, int depth) {
    return reader.Type() == XML_READER_TYPE_END_ELEMENT && reader.Depth() == depth;
}

// The text inside the element whose start is the current node, up to its end; no more of it
// than `most` bytes is kept, as what is wanted of it is a number.
std::string ReadShortText(XmlPartReader& reader, std::size_t most) {
    std::string text;
    if (reader.IsEmptyElement()) return text;
    const int depth = reader.Depth();
    while (reader.Next() && !IsEndAt(reader, depth)) {
        if (IsTextNode(reader))
            text += reader.Value().substr(0, most - std::min(most, text.size()));
    }
    return text;
}

}  // namespace

WorksheetReader::WorksheetReader(const SharedStringTable& strings, DocumentText& document,
                                 int& nextPair)
    : strings_(strings), document_(document), nextPair_(nextPair) {}

void WorksheetReader::Read(XmlPartReader& reader) {
    // Columns are described before the cells; a description after them, which no writer
    // makes, is not taken back to cells already read.
    bool inCells = false;
    while (reader.Next()) {
        if (!inCells && IsSpreadsheetStart(reader, "col")) {
            ReadColumn(reader);
        } else if (IsSpreadsheetStart(reader, "sheetData")) {
            inCells = true;
        } else if (inCells && IsSpreadsheetStart(reader, "row")) {
            ReadRow(reader);
        }
    }
}

void WorksheetReader::ReadColumn(const XmlPartReader& reader) {
    if (!SwitchAttribute(reader, "hidden", false)) return;
    const std::optional<uint64_t> first = ParseCount(reader.Attribute("min"));
    const std::optional<uint64_t> last = ParseCount(reader.Attribute("max"));
    if (!first || !last || *first == 0 || *first > *last)
        RaiseEngineError(L"A sheet of the workbook hides a range of columns that is not one");
    hiddenColumns_.Hide(*first, *last);
}

void WorksheetReader::ReadRow(XmlPartReader& reader) {
    if (SwitchAttribute(reader, "hidden", false)) {
        reader.Skip();
        return;
    }
    column_ = 0;
    if (reader.IsEmptyElement()) return;
    const int depth = reader.Depth();
    while (reader.Next() && !IsEndAt(reader, depth))
        if (IsSpreadsheetStart(reader, "c")) ReadCell(reader);
}

void WorksheetReader::ReadCell(XmlPartReader& reader) {
    if (reader.HasAttribute("r")) {
        const std::optional<uint32_t> column = ColumnOfCellReference(reader.Attribute("r"));
        if (!column) RaiseEngineError(L"A sheet of the workbook names a cell by no cell reference");
        column_ = *column;
    } else {
        ++column_;  // a cell without its reference is the one after the cell before it
    }
    if (hiddenColumns_.IsHidden(column_) || reader.IsEmptyElement()) {
        reader.Skip();
        return;
    }

    const std::string type = reader.Attribute("t");
    const bool isShared = type == "s", isInline = type == "inlineStr", isString = type == "str";
    bool hasFormula = false;
    std::string value;
    FormattedRuns runs;
    const int depth = reader.Depth();
    while (reader.Next() && !IsEndAt(reader, depth)) {
        if (IsSpreadsheetStart(reader, "f")) {
            hasFormula = true;
            reader.Skip();
        } else if (IsSpreadsheetStart(reader, "v")) {
            if (isShared)
                value = ReadShortText(reader, 32);
            else if (isString)
                value = ReadElementText(reader);
            else
                reader.Skip();
        } else if (IsSpreadsheetStart(reader, "is") && isInline) {
            ReadRichText(reader, [&runs](std::string_view utf8, RunFormatting formatting) {
                runs.AddText(utf8, FormattingName(formatting));
            });
        } else if (reader.Type() == XML_READER_TYPE_ELEMENT) {
            reader.Skip();
        }
    }
    // What a formula worked out is the formula's, whatever the text of its last result.
    if (hasFormula) return;
    if (isShared && !value.empty()) {
        const std::optional<uint64_t> index = ParseCount(value);
        if (!index)
            RaiseEngineError(L"A cell of the workbook names its shared string by no number");
        if (*index >= strings_.size())
            RaiseEngineError(L"A cell of the workbook names a shared string the workbook lacks");
        strings_.AddTo(static_cast<std::size_t>(*index), runs);
    } else if (isString) {
        runs.AddText(value, "");
    }
    if (!runs.HasText()) return;
    BlockBuilder block;
    runs.AppendTo(block, nextPair_);
    document_.blocks.push_back({block.Take(), false});
}

}  // namespace orv::engine
