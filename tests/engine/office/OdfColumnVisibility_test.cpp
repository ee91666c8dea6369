#include "engine/office/OdfColumnVisibility.h"

#include <gtest/gtest.h>

#include <limits>

namespace orv::engine {
namespace {

constexpr uint64_t kMost = std::numeric_limits<uint64_t>::max();

TEST(OdfColumnVisibilityTest, CountsTheShownColumnsOfASpanAcrossRuns) {
    OdfColumnVisibility columns;
    columns.Add(2, true);       // columns 0-1
    columns.Add(3, false);      // 2-4
    columns.Add(1, true);       // 5
    columns.Add(kMost, false);  // the rest of the sheet, as a hidden tail is written
    const struct {
        uint64_t first, count, visible;
    } cases[] = {
        {0, 1, 1},    {0, 2, 2},     {1, 5, 2},
        {2, 3, 0},    {4, 2, 1},     {0, 6, 3},
        {6, 1000, 0}, {0, kMost, 3}, {kMost - 1, kMost, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(columns.VisibleIn(c.first, c.count), c.visible) << c.first << "+" << c.count;
}

TEST(OdfColumnVisibilityTest, ColumnsAfterTheDeclaredOnesShow) {
    OdfColumnVisibility none;
    EXPECT_EQ(none.VisibleIn(5, 10), 10u);
    OdfColumnVisibility columns;
    columns.Add(1, false);
    EXPECT_EQ(columns.VisibleIn(0, 4), 3u);
    EXPECT_EQ(columns.VisibleIn(3, kMost), kMost - 3);  // columns 3 up to the last there is
}

}  // namespace
}  // namespace orv::engine
