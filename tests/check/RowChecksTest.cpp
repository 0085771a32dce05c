// The editor's rows go through the same checks: the kind a save would store decides.
#include "check/CheckTestData.h"
#include "check/ItemChecks.h"

#include <gtest/gtest.h>

namespace orvik {
namespace {

TEST(RowChecks, KindAsASaveWouldStoreIt)
{
    const CItemDefList catalogue = test::CheckCatalogue();
    struct Case {
        const char* name;
        std::int32_t recordId;
        std::string rowName;
        std::string angle;
        std::vector<FindingKind> expected;
    };
    const Case cases[] = {
        {"unchanged name keeps the record's kind", test::kRock2, "Rock", "0", {FindingKind::SharedName}},
        {"a shared name typed anew is the first kind", test::kTree, "Rock", "0", {}},
        {"an unknown record kind", test::kUnknown, "", "0", {FindingKind::UnknownKind}},
        {"a typed name the catalogue lacks", test::kTree, "Bush", "0", {FindingKind::UnknownKind}},
        {"the name is case-sensitive", test::kTree, "tree", "0", {FindingKind::UnknownKind}},
        {"a name cleared", test::kTree, "", "0", {FindingKind::UnknownKind}},
        {"angle text as a save reads it", test::kTree, "Tree", "  360xyz", {FindingKind::BadAngle}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMissionModel model;
        model.items.push_back(std::make_unique<CMissionItem>(test::Item(test::kCamp, 5, 5)));
        model.items.push_back(std::make_unique<CMissionItem>(test::Item(c.recordId, 6, 6)));
        std::vector<ItemRow> rows = {
            ItemToRow(*model.items[0], catalogue),
            {c.rowName, "131072", "-131072", "0", c.angle, "7", "N"},
        };
        std::vector<Finding> findings;
        CheckItems(CheckedItemsOfRows(rows, model, catalogue), catalogue, "m.bms", findings);
        std::vector<FindingKind> kinds;
        for (const Finding& f : findings) {
            kinds.push_back(f.kind);
            EXPECT_EQ(f.row, std::optional<std::size_t>(1));
        }
        EXPECT_EQ(kinds, c.expected);
    }
}

} // namespace
} // namespace orvik
