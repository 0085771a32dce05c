#include "gamedata/ItemDefWriter.h"
#include "catalogue/ItemDefList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using orvik::CItemDefList;
using orvik::gamedata::BuildItemDef;
using orvik::gamedata::ItemDefSpec;

namespace {

std::vector<ItemDefSpec> SampleEntries()
{
    return {{"Rifleman", 5001},
            {"Pine Tree", 1042},
            {"Supply Truck", 2007},
            {"Map Center", 6003},
            {"Ammo Crate", 4100},
            {"Watchtower", 3999},
            {"Negative", -5},
            {"Zero", 0},
            {"Big", 2000000000},
            {"Odd \"quoted\"", 7},
            {"X", 1},
            {"Two  Blanks", 6500}};
}

} // namespace

// Whatever the seed varies (filler lines, separators, line ends), the catalogue reads back exactly
// the entries written, in order.
TEST(ItemDefWriter, EverySeedReadsBackThroughTheCatalogue)
{
    const auto entries = SampleEntries();
    for (std::uint32_t seed = 0; seed < 60; ++seed) {
        CItemDefList list;
        list.LoadText(BuildItemDef(entries, seed));
        ASSERT_EQ(list.Size(), entries.size()) << "seed " << seed;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(list.At(i).m_strName, entries[i].name) << "seed " << seed;
            EXPECT_EQ(list.At(i).m_nId, entries[i].id) << "seed " << seed;
        }
    }
}

TEST(ItemDefWriter, SeedsVaryLineEndsAndIdSeparators)
{
    const auto entries = SampleEntries();
    bool crlf = false, lf = false, blank = false, equals = false, filler = false;
    for (std::uint32_t seed = 0; seed < 40; ++seed) {
        const std::string text = BuildItemDef(entries, seed);
        (text.find("\r\n") != std::string::npos ? crlf : lf) = true;
        blank = blank || text.find("id 1") != std::string::npos;
        equals = equals || text.find("id=1") != std::string::npos;
        filler = filler || text.find("mass ") != std::string::npos || text.find("model ") != std::string::npos;
    }
    EXPECT_TRUE(crlf);
    EXPECT_TRUE(lf);
    EXPECT_TRUE(blank);
    EXPECT_TRUE(equals);
    EXPECT_TRUE(filler);
    EXPECT_NE(BuildItemDef(entries, 1), BuildItemDef(entries, 2));
    EXPECT_EQ(BuildItemDef(entries, 9), BuildItemDef(entries, 9));
}

TEST(ItemDefWriter, EmptyListGivesAnEmptyCatalogue)
{
    CItemDefList list;
    list.LoadText(BuildItemDef({}, 3));
    EXPECT_EQ(list.Size(), 0u);
}
