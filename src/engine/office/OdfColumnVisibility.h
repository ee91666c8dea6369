#pragma once
// Which columns of a sheet show, from its table:table-column elements, each standing for
// table:number-columns-repeated columns: kept as runs, never one entry a column, so that a
// column repeated a billion times costs as much as one. Columns after the last declared one
// show.

#include <cstdint>
#include <vector>

namespace orv::engine {

class OdfColumnVisibility {
public:
    // The next `count` columns, shown or hidden.
    void Add(uint64_t count, bool visible);
    // How many of the `count` columns from column `first` (0 for the first) show.
    uint64_t VisibleIn(uint64_t first, uint64_t count) const;

private:
    uint64_t VisibleBefore(uint64_t column) const;

    struct Run {
        uint64_t end;           // one past its last column
        uint64_t visibleToEnd;  // the columns that show from the first one up to `end`
        bool visible;
    };
    std::vector<Run> runs_;
};

// a + b, or the largest value where that would overflow.
uint64_t SaturatingAdd(uint64_t a, uint64_t b);
uint64_t SaturatingMultiply(uint64_t a, uint64_t b);

}  // namespace orv::engine
