#pragma once
// The columns of a worksheet: the column a cell reference names, and the columns a sheet
// hides, kept as ranges so that a hostile "hide columns one to four billion" costs nothing.

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace orv::engine {

// A sheet has at most this many columns ("A" to "XFD") and rows.
inline constexpr uint32_t kMostColumns = 16384;
inline constexpr uint32_t kMostRows = 1048576;

// The column (1 for "A") of a cell reference such as "C7": letters, then a row number, within
// the columns and rows a sheet has. None when `reference` is no such reference.
std::optional<uint32_t> ColumnOfCellReference(std::string_view reference);

class HiddenColumns {
public:
    // Hides the columns `first` to `last` (counted from 1); the part beyond kMostColumns, which
    // no cell can be in, is dropped.
    void Hide(uint64_t first, uint64_t last);
    // Whether `column` is hidden. The ranges are sorted and merged at the first question, so
    // that many ranges in any order cost a sort, not a merge each.
    bool IsHidden(uint64_t column);

private:
    std::vector<std::pair<uint32_t, uint32_t>> ranges_;
    bool settled_ = true;
};

}  // namespace orv::engine
