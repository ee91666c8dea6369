#include "engine/office/OdfSpreadsheetReader.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "engine/doc/BlockBuilder.h"
#include "engine/office/OdfNames.h"
#include "engine/office/OdfXml.h"

namespace orv::engine {
namespace {

// A number-*-repeated attribute: 1 when absent or not a count.
uint64_t RepeatOf(const std::string& text) {
    uint64_t value = 1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error == std::errc::invalid_argument || value == 0) return 1;
    return error == std::errc::result_out_of_range ? std::numeric_limits<uint64_t>::max() : value;
}

bool IsHiddenLine(const XmlPartReader& reader) {
    const std::string visibility = reader.Attribute("visibility", odf::kTable);
    return visibility == "collapse" || visibility == "filter";
}

// Text a translator translates: a cell typed as a string, or untyped with text in it; a
// formula's result is computed, whatever its type.
bool HoldsTranslatableText(const XmlPartReader& reader) {
    if (reader.HasAttribute("formula", odf::kTable)) return false;
    const std::string type = reader.Attribute("value-type", odf::kOffice);
    return type.empty() || type == "string";
}

std::size_t CharactersOf(const std::vector<TextBlock>& blocks) {
    std::size_t characters = 0;
    for (const TextBlock& block : blocks) characters += block.text.text.size();
    return characters;
}

}  // namespace

void OdfSpreadsheetReader::Read(std::vector<TextBlock>& out) {
    if (reader_.IsEmptyElement()) return;
    const int depth = reader_.Depth();
    while (reader_.Next()) {
        if (odf::IsEndOf(reader_, depth)) return;
        if (reader_.Type() != XML_READER_TYPE_ELEMENT) continue;
        if (reader_.IsStart(odf::kTable, "table"))
            ReadSheet(out);
        else
            reader_.Skip();  // settings, validations, named ranges: no text of the sheets
    }
    odf::RaiseNotWellFormed();
}

void OdfSpreadsheetReader::ReadSheet(std::vector<TextBlock>& out) {
    if (state_.styles.HidesTable(reader_.Attribute("style-name", odf::kTable))) {
        reader_.Skip();
        return;
    }
    BlockBuilder name;
    name.AppendUtf8(reader_.Attribute("name", odf::kTable), BlockBuilder::Spaces::Keep);
    if (name.HasText()) out.push_back({name.Take(), true});
    if (reader_.IsEmptyElement()) return;

    OdfColumnVisibility columns;
    const int depth = reader_.Depth();
    while (reader_.Next()) {
        if (odf::IsEndOf(reader_, depth)) return;
        if (reader_.Type() != XML_READER_TYPE_ELEMENT) continue;
        if (reader_.IsStart(odf::kTable, "table-column")) {
            columns.Add(RepeatOf(reader_.Attribute("number-columns-repeated", odf::kTable)),
                        !IsHiddenLine(reader_));
            reader_.Skip();
        } else if (reader_.IsStart(odf::kTable, "table-row")) {
            ReadRow(columns, out);
        } else if (reader_.IsStart(odf::kTable, "shapes")) {
            text_.ReadBlocks(out);  // text boxes drawn over the sheet
        } else if (reader_.Namespace() == odf::kTable &&
                   (reader_.LocalName() == "table-columns" ||
                    reader_.LocalName() == "table-header-columns" ||
                    reader_.LocalName() == "table-column-group" ||
                    reader_.LocalName() == "table-rows" ||
                    reader_.LocalName() == "table-header-rows" ||
                    reader_.LocalName() == "table-row-group")) {
            continue;  // groups of columns or rows: their columns and rows count as the others
        } else {
            reader_.Skip();
        }
    }
    odf::RaiseNotWellFormed();
}

void OdfSpreadsheetReader::ReadRow(const OdfColumnVisibility& columns,
                                   std::vector<TextBlock>& out) {
    if (IsHiddenLine(reader_) || reader_.IsEmptyElement()) {
        reader_.Skip();
        return;
    }
    const uint64_t rows = RepeatOf(reader_.Attribute("number-rows-repeated", odf::kTable));
    uint64_t column = 0;
    const int depth = reader_.Depth();
    while (reader_.Next()) {
        if (odf::IsEndOf(reader_, depth)) return;
        if (reader_.Type() != XML_READER_TYPE_ELEMENT) continue;
        const bool isCell = reader_.IsStart(odf::kTable, "table-cell");
        // A covered cell lies under a merged one: what it holds does not show.
        if (!isCell && !reader_.IsStart(odf::kTable, "covered-table-cell")) {
            reader_.Skip();
            continue;
        }
        const uint64_t repeat = RepeatOf(reader_.Attribute("number-columns-repeated", odf::kTable));
        const uint64_t first = column;
        column = SaturatingAdd(column, repeat);
        const uint64_t copies = SaturatingMultiply(rows, columns.VisibleIn(first, repeat));
        if (!isCell || reader_.IsEmptyElement() || copies == 0 || !HoldsTranslatableText(reader_)) {
            reader_.Skip();
            continue;
        }
        std::vector<TextBlock> cell;
        text_.ReadBlocks(cell);
        AppendCopies(cell, copies, out);
    }
    odf::RaiseNotWellFormed();
}

void OdfSpreadsheetReader::AppendCopies(const std::vector<TextBlock>& cell, uint64_t copies,
                                        std::vector<TextBlock>& out) {
    if (cell.empty()) return;
    out.insert(out.end(), cell.begin(), cell.end());
    const uint64_t extra = copies - 1;
    const uint64_t characters = std::max<uint64_t>(CharactersOf(cell), 1);
    const uint64_t allowed = std::min({extra, copiesLeft_, charactersLeft_ / characters});
    if (allowed < extra) repeatsCapped_ = true;
    copiesLeft_ -= allowed;
    charactersLeft_ -= allowed * characters;
    for (uint64_t i = 0; i < allowed; ++i) out.insert(out.end(), cell.begin(), cell.end());
}

}  // namespace orv::engine
