#include "engine/office/OdfColumnVisibility.h"

#include <algorithm>
#include <limits>

namespace orv::engine {

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
    return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max()
                                                        : a + b;
}

uint64_t SaturatingMultiply(uint64_t a, uint64_t b) {
    if (a == 0 || b == 0) return 0;
    return a > std::numeric_limits<uint64_t>::max() / b ? std::numeric_limits<uint64_t>::max()
                                                        : a * b;
}

void OdfColumnVisibility::Add(uint64_t count, bool visible) {
    if (count == 0) return;
    const uint64_t start = runs_.empty() ? 0 : runs_.back().end;
    const uint64_t before = runs_.empty() ? 0 : runs_.back().visibleToEnd;
    if (start == std::numeric_limits<uint64_t>::max()) return;
    runs_.push_back(
        {SaturatingAdd(start, count), visible ? SaturatingAdd(before, count) : before, visible});
}

uint64_t OdfColumnVisibility::VisibleBefore(uint64_t column) const {
    if (runs_.empty()) return column;
    if (column >= runs_.back().end)
        return SaturatingAdd(runs_.back().visibleToEnd, column - runs_.back().end);
    const auto run = std::upper_bound(runs_.begin(), runs_.end(), column,
                                      [](uint64_t c, const Run& r) { return c < r.end; });
    const uint64_t start = run == runs_.begin() ? 0 : std::prev(run)->end;
    const uint64_t before = run == runs_.begin() ? 0 : std::prev(run)->visibleToEnd;
    return run->visible ? before + (column - start) : before;
}

uint64_t OdfColumnVisibility::VisibleIn(uint64_t first, uint64_t count) const {
    return VisibleBefore(SaturatingAdd(first, count)) - VisibleBefore(first);
}

}  // namespace orv::engine
