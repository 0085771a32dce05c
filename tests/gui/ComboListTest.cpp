// The mission combo box filled in blocks: the same lines, order and item data as inserting one
// line at a time, including lines the box held before and texts that are equal once folded.
#include "app/ComboSortedList.h"
#include "app/QtText.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include <random>

namespace orvik {
namespace {

std::vector<SortedLine> RandomLines(std::mt19937& rng, std::size_t count, std::uint32_t& data)
{
    const std::string letters = "aAbB_\xC4\xE4\x8A\x9A ";
    std::vector<SortedLine> lines;
    for (std::size_t i = 0; i < count; ++i) {
        std::string text;
        for (std::size_t n = rng() % 3; n > 0; --n)
            text += letters[rng() % letters.size()];
        lines.push_back({text, data++});
    }
    return lines;
}

TEST(ComboSortedList, BlocksMatchOneByOneInsertsWithTheirItemData)
{
    struct Case {
        std::size_t before, added;
    };
    const Case cases[] = {{0, 0}, {0, 400}, {7, 0}, {1, 200}, {150, 150}, {300, 2}};
    std::mt19937 rng(9);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.before) + " + " + std::to_string(c.added));
        std::uint32_t data = 1;
        const auto first = RandomLines(rng, c.before, data);
        const auto second = RandomLines(rng, c.added, data);
        QComboBox oneByOne, blocks;
        {
            ComboSortedList list(oneByOne);
            for (const auto& line : first)
                list.SetItemData(list.AddSorted(line.text), line.data);
        }
        {
            ComboSortedList list(blocks);
            list.AddAllSorted(first);
        }
        // A new list over a box that already holds lines, as after a reload.
        for (QComboBox* box : {&oneByOne, &blocks}) {
            ComboSortedList list(*box);
            if (box == &oneByOne) {
                for (const auto& line : second)
                    list.SetItemData(list.AddSorted(line.text), line.data);
            } else {
                list.AddAllSorted(second);
            }
        }
        ASSERT_EQ(blocks.count(), oneByOne.count());
        ASSERT_EQ(static_cast<std::size_t>(blocks.count()), c.before + c.added);
        for (int i = 0; i < blocks.count(); ++i) {
            ASSERT_EQ(blocks.itemText(i), oneByOne.itemText(i)) << i;
            ASSERT_EQ(ComboSortedList::ItemData(blocks, i), ComboSortedList::ItemData(oneByOne, i)) << i;
        }
    }
}

} // namespace
} // namespace orvik
