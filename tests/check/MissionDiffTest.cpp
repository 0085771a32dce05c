// The comparison of two archives: one case per kind of difference, and what it must not see.
#include "check/MissionDiff.h"
#include "check/CheckTestData.h"
#include "common/FileError.h"
#include "mission/ItemRows.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orvik {
namespace {

using test::Item;
using test::Mission;

struct Expected {
    DiffKind kind;
    std::string mission;
    std::size_t row;
    int column;
    std::string oldText, newText;
    bool operator==(const Expected&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Expected& e)
{
    return out << DiffKindName(e.kind) << ' ' << e.mission << " row " << e.row << " col " << e.column << " \""
               << e.oldText << "\" -> \"" << e.newText << '"';
}

CMissionItem With(CMissionItem item, void (*change)(CMissionItem&))
{
    change(item);
    return item;
}

struct Case {
    const char* name;
    std::vector<gamedata::PffFile> a, b;
    std::vector<Expected> expected;
    bool problems = false;
};

TEST(MissionDiff, OneCasePerDifferenceKind)
{
    const CMissionItem tree = Item(test::kTree, 1, 2, 90, 1);
    const CMissionItem rock = Item(test::kRock, 3, 4, 45, 2);
    const auto two = [&] { return Mission({tree, rock}); };
    const std::string treeRow = "Tree, 131077, -262151, 1000, 90, 11, N";
    const std::vector<Case> cases = {
        {"same", {{"m.bms", two()}}, {{"M.BMS", two()}}, {}},
        {"unshown words only",
         {{"m.bms", two()}},
         {{"m.bms", Mission({With(tree, [](CMissionItem& i) { i.m_nWords15To23[3] = 77; }), rock})}},
         {}},
        {"cells",
         {{"m.bms", two()}},
         {{"m.bms", Mission({With(tree,
                                  [](CMissionItem& i) {
                                      i.m_nX = -5;
                                      i.m_nAngle = 180;
                                  }),
                             With(rock, [](CMissionItem& i) { i.m_nFlags = 16; })})}},
         {{DiffKind::Cell, "m.bms", 0, kColX, "131077", "-5"},
          {DiffKind::Cell, "m.bms", 0, kColAngle, "90", "180"},
          {DiffKind::Cell, "m.bms", 1, kColMpOnly, "N", "Y"}}},
        {"name",
         {{"m.bms", two()}},
         {{"m.bms", Mission({With(tree, [](CMissionItem& i) { i.m_nId = test::kCamp; }), rock})}},
         {{DiffKind::Cell, "m.bms", 0, kColItem, "Tree", "Camp Center"}}},
        {"kind behind the same name",
         {{"m.bms", two()}},
         {{"m.bms", Mission({tree, With(rock, [](CMissionItem& i) { i.m_nId = test::kRock2; })})}},
         {{DiffKind::Cell, "m.bms", 1, kColItem, "Rock (kind id 2)", "Rock (kind id 4)"}}},
        {"row only in B",
         {{"m.bms", Mission({tree})}},
         {{"m.bms", Mission({tree, tree})}},
         {{DiffKind::RowOnlyInB, "m.bms", 1, -1, "", treeRow}}},
        {"row only in A",
         {{"m.bms", Mission({tree, tree})}},
         {{"m.bms", Mission({tree})}},
         {{DiffKind::RowOnlyInA, "m.bms", 1, -1, treeRow, ""}}},
        {"missions only in one",
         {{"a.bms", two()}, {"m.bms", two()}},
         {{"m.bms", two()}, {"b.bms", two()}},
         {{DiffKind::MissionOnlyInA, "a.bms", 0, -1, "", ""}, {DiffKind::MissionOnlyInB, "b.bms", 0, -1, "", ""}}},
        {"damaged side compared as far as it goes",
         {{"m.bms", two()}},
         {{"m.bms", Mission({tree}, false)}},
         {{DiffKind::RowOnlyInA, "m.bms", 1, -1, "Rock, 393221, -524295, 1000, 45, 22, N", ""}},
         true},
    };
    const CItemDefList catalogue = test::CheckCatalogue();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScratchDir dir;
        gamedata::WritePff(dir.File("a.pff"), c.a, {2, false, 0});
        gamedata::WritePff(dir.File("b.pff"), c.b, {3, true, 5});
        const DiffReport report =
            DiffArchives({dir.File("a.pff"), {}, &catalogue}, {dir.File("b.pff"), {}, &catalogue});
        std::vector<Expected> got;
        for (const Difference& d : report.differences)
            got.push_back({d.kind, d.mission, d.row, d.column, d.oldText, d.newText});
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(!report.problems.empty(), c.problems);
    }
}

TEST(MissionDiff, NamedMissions)
{
    test::ScratchDir dir;
    const CMissionItem tree = Item(test::kTree, 1, 2);
    const CMissionItem moved = Item(test::kTree, 1, 3);
    gamedata::WritePff(dir.File("a.pff"), {{"x.bms", Mission({tree})}, {"y.bms", Mission({tree})}});
    gamedata::WritePff(dir.File("b.pff"), {{"x.bms", Mission({moved})}, {"y.bms", Mission({tree})}});
    const CItemDefList catalogue = test::CheckCatalogue();
    struct NamedCase {
        std::string missionA, missionB;
        std::vector<std::string> wanted;
        std::vector<std::string> missions; // of the differences
    };
    const NamedCase cases[] = {
        {"", "", {"y.bms"}, {}},      {"", "", {"X.BMS"}, {"x.bms"}}, {"y.bms", "x.bms", {}, {"y.bms:x.bms"}},
        {"x.bms", "", {}, {"x.bms"}}, {"y.bms", "y.bms", {}, {}},
    };
    for (const NamedCase& c : cases) {
        const DiffReport report = DiffArchives({dir.File("a.pff"), c.missionA, &catalogue},
                                               {dir.File("b.pff"), c.missionB, &catalogue}, c.wanted);
        std::vector<std::string> missions;
        for (const Difference& d : report.differences)
            missions.push_back(d.mission);
        EXPECT_EQ(missions, c.missions) << c.missionA << " / " << c.missionB;
    }
    EXPECT_THROW(DiffArchives({dir.File("a.pff"), "nope.bms", &catalogue}, {dir.File("b.pff"), {}, &catalogue}),
                 UserError);
}

} // namespace
} // namespace orvik
