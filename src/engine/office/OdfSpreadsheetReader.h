#pragma once
// The text of an OpenDocument spreadsheet: each visible sheet's name, then the text of its
// visible cells, row by row. Cells whose value is a number, a date, a percentage, an amount or
// a truth value, and cells computed by a formula, hold nothing to translate. A cell repeated
// over rows and columns counts once for each visible copy, up to a limit for the whole
// document: the copies are repetitions, and a hostile file that repeats a cell over a
// billion cells must cost no more than a real one.

#include <cstdint>
#include <vector>

#include "engine/doc/DocumentText.h"
#include "engine/office/OdfColumnVisibility.h"
#include "engine/office/OdfTextReader.h"

namespace orv::engine {

class OdfSpreadsheetReader {
public:
    // The most copies of repeated cells, and of their characters, made for one document.
    static constexpr uint64_t kMostRepeatedCopies = 10000;
    static constexpr uint64_t kMostRepeatedCharacters = uint64_t{4} << 20;

    OdfSpreadsheetReader(XmlPartReader& reader, OdfReadState& state)
        : reader_(reader), text_(reader, state), state_(state) {}

    // The sheets of office:spreadsheet, the current node, appended to `out`.
    void Read(std::vector<TextBlock>& out);
    // Whether some repetitions were left out for the limits above.
    bool RepeatsCapped() const { return repeatsCapped_; }

private:
    void ReadSheet(std::vector<TextBlock>& out);
    void ReadRow(const OdfColumnVisibility& columns, std::vector<TextBlock>& out);
    void AppendCopies(const std::vector<TextBlock>& cell, uint64_t copies,
                      std::vector<TextBlock>& out);

    XmlPartReader& reader_;
    OdfTextReader text_;
    OdfReadState& state_;
    uint64_t copiesLeft_ = kMostRepeatedCopies;
    uint64_t charactersLeft_ = kMostRepeatedCharacters;
    bool repeatsCapped_ = false;
};

}  // namespace orv::engine
