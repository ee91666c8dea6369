#pragma once
// The text of one worksheet, streamed: each cell that holds text becomes a block of its own,
// in the order of the file (row by row). Left out: hidden rows and columns, and every cell
// whose value is no text to translate (numbers, dates, booleans, errors) or is worked out by
// a formula, whatever the type of its result.

#include <cstdint>

#include "engine/doc/DocumentText.h"
#include "engine/office/SharedStringTable.h"
#include "engine/office/SheetColumns.h"
#include "engine/office/XmlPartReader.h"

namespace orv::engine {

class WorksheetReader {
public:
    // Blocks go to `document`; the ids of formatting pairs are numbered from `nextPair` on,
    // which is moved past them. `strings` are the workbook's shared strings.
    WorksheetReader(const SharedStringTable& strings, DocumentText& document, int& nextPair);

    // Reads the sheet that `reader` streams. Throws an engine error when it is not
    // well-formed, names a shared string the workbook lacks, or writes a cell reference or a
    // range of hidden columns that is none.
    void Read(XmlPartReader& reader);

private:
    void ReadColumn(const XmlPartReader& reader);
    void ReadRow(XmlPartReader& reader);
    void ReadCell(XmlPartReader& reader);

    const SharedStringTable& strings_;
    DocumentText& document_;
    int& nextPair_;
    HiddenColumns hiddenColumns_;
    uint64_t column_ = 0;  // of the last cell read in the current row; 0 before its first
};

}  // namespace orv::engine
