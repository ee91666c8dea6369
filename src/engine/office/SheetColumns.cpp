#include "engine/office/SheetColumns.h"

#include <algorithm>

namespace orv::engine {

std::optional<uint32_t> ColumnOfCellReference(std::string_view reference) {
    std::size_t i = 0;
    uint32_t column = 0;
    for (; i < reference.size(); ++i) {
        char c = reference[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') break;
        column = column * 26 + static_cast<uint32_t>(c - 'A' + 1);
        if (column > kMostColumns) return std::nullopt;
    }
    if (column == 0 || i == reference.size() || reference[i] == '0') return std::nullopt;
    uint32_t row = 0;
    for (; i < reference.size(); ++i) {
        const char c = reference[i];
        if (c < '0' || c > '9') return std::nullopt;
        row = row * 10 + static_cast<uint32_t>(c - '0');
        if (row > kMostRows) return std::nullopt;
    }
    return column;
}

void HiddenColumns::Hide(uint64_t first, uint64_t last) {
    first = std::max<uint64_t>(first, 1);
    last = std::min<uint64_t>(last, kMostColumns);
    if (first > last) return;
    ranges_.emplace_back(static_cast<uint32_t>(first), static_cast<uint32_t>(last));
    settled_ = false;
}

bool HiddenColumns::IsHidden(uint64_t column) {
    if (!settled_) {
        std::sort(ranges_.begin(), ranges_.end());
        std::vector<std::pair<uint32_t, uint32_t>> merged;
        for (const auto& range : ranges_) {
            if (!merged.empty() && range.first <= merged.back().second + 1)
                merged.back().second = std::max(merged.back().second, range.second);
            else
                merged.push_back(range);
        }
        ranges_ = std::move(merged);
        settled_ = true;
    }
    // The last range that starts at or before `column`.
    const auto after =
        std::upper_bound(ranges_.begin(), ranges_.end(), column,
                         [](uint64_t value, const std::pair<uint32_t, uint32_t>& range) {
                             return value < range.first;
                         });
    return after != ranges_.begin() && column <= std::prev(after)->second;
}

}  // namespace orv::engine
