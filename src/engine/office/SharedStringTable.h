#pragma once
// The shared strings of a workbook (its sharedStrings part), which cells name by their index.
// The part is read once, as a stream, and every string kept as compact UTF-8 with its runs'
// formatting, since any cell of any sheet may name any string.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/office/FormattedRuns.h"
#include "engine/office/XmlPartReader.h"

namespace orv::engine {

class SharedStringTable {
public:
    // A workbook without shared strings.
    SharedStringTable() = default;
    // Reads the part that `reader` streams. Throws an engine error when it is not well-formed.
    explicit SharedStringTable(XmlPartReader& reader);

    std::size_t size() const { return starts_.size(); }
    // Adds the runs of the string at `index` (below size()) to `runs`.
    void AddTo(std::size_t index, FormattedRuns& runs) const;

private:
    // Each string's runs one after another, each as kRunStart, a byte of its formatting (with
    // kFormattingBase added, so that it is a printable character) and its text: the text of a
    // cell holds no control character but tab and line breaks, so kRunStart cannot occur in it.
    static constexpr char kRunStart = '\x01';
    static constexpr char kFormattingBase = 0x40;
    std::string runs_;
    std::vector<std::size_t> starts_;  // where each string's runs begin in runs_
};

}  // namespace orv::engine
