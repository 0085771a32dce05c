// The table's view order: both ways round at every index width, hidden rows, and what it keeps.
#include "listedit/ViewOrder.h"

#include <gtest/gtest.h>

#include <numeric>

namespace orvik::test {
namespace {

TEST(ViewOrderTest, MapsBothWaysAtEachIndexWidth)
{
    // Counts on both sides of the widths' limits: one byte holds 255 rows (all ones is "hidden").
    const struct {
        std::size_t rows;
        double bytesPerRow; // both maps, every row shown
    } cases[] = {{3, 2}, {255, 2}, {256, 4}, {65535, 4}, {65536, 6}, {200000, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        // Every row, backwards.
        std::vector<std::uint32_t> shown(c.rows);
        std::iota(shown.rbegin(), shown.rend(), std::uint32_t{0});
        ViewOrder order;
        order.Assign(c.rows, shown);
        ASSERT_FALSE(order.IsIdentity());
        ASSERT_EQ(order.ShownCount(), c.rows);
        for (std::size_t view = 0; view < c.rows; ++view) {
            ASSERT_EQ(order.DocumentRow(view), c.rows - 1 - view);
            ASSERT_EQ(order.ViewPosition(c.rows - 1 - view), view);
        }
        EXPECT_EQ(static_cast<double>(order.BytesHeld()) / static_cast<double>(c.rows), c.bytesPerRow);
    }
}

TEST(ViewOrderTest, HiddenRowsHaveNoPositionAndFileOrderKeepsNothing)
{
    ViewOrder order;
    order.Assign(255, {254, 7, 0});
    EXPECT_EQ(order.ShownCount(), 3u);
    EXPECT_EQ(order.ViewPosition(254), 0u);
    EXPECT_EQ(order.ViewPosition(0), 2u);
    EXPECT_EQ(order.ViewPosition(1), ViewOrder::kHidden);
    EXPECT_EQ(order.ViewPosition(255), ViewOrder::kHidden);

    std::vector<std::uint32_t> all(1000);
    std::iota(all.begin(), all.end(), std::uint32_t{0});
    order.Assign(1000, all);
    EXPECT_TRUE(order.IsIdentity());
    EXPECT_EQ(order.BytesHeld(), 0u);
    EXPECT_EQ(order.DocumentRow(999), 999u);
}

} // namespace
} // namespace orvik::test
