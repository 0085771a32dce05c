// The check of an archive: one case per kind of finding, each also proving that its near misses
// give nothing.
#include "check/ArchiveCheck.h"
#include "check/CheckTestData.h"
#include "check/ItemChecks.h"
#include "common/FileError.h"
#include "mission/ItemRows.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <tuple>

namespace orvik {
namespace {

using test::Item;
using test::Mission;

struct Expected {
    FindingKind kind;
    std::optional<std::size_t> row;
    int column;
    bool operator==(const Expected&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Expected& e)
{
    return out << FindingKindName(e.kind) << " row " << (e.row ? std::to_string(*e.row) : "-") << " col " << e.column;
}

struct ItemCase {
    const char* name;
    std::vector<CMissionItem> items;
    bool endMark;
    std::vector<Expected> expected;
};

std::vector<Expected> Kinds(const std::vector<Finding>& findings)
{
    std::vector<Expected> out;
    for (const Finding& f : findings) {
        out.push_back({f.kind, f.row, f.column});
        EXPECT_EQ(f.severity, SeverityOf(f.kind));
        EXPECT_FALSE(f.message.empty());
    }
    return out;
}

const CMissionItem kCamp = Item(test::kCamp, 200, 200);

TEST(ArchiveCheck, OneCasePerFindingKind)
{
    const std::vector<ItemCase> cases = {
        {"clean",
         {kCamp, Item(test::kTree, 0, 0), Item(test::kTree, 511, 511, 359), Item(test::kRock, 3, 3, 0)},
         true,
         {}},
        {"unknown kind", {kCamp, Item(test::kUnknown, 5, 5)}, true, {{FindingKind::UnknownKind, 1, kColItem}}},
        {"shared name saved as the first id",
         {kCamp, Item(test::kRock2, 5, 5)},
         true,
         {{FindingKind::SharedName, 1, kColItem}}},
        {"east of the ground", {kCamp, Item(test::kTree, 512, 5)}, true, {{FindingKind::OutsideGround, 1, kColX}}},
        {"south of the ground", {kCamp, Item(test::kTree, 5, 512)}, true, {{FindingKind::OutsideGround, 1, kColY}}},
        {"stacked",
         {kCamp, Item(test::kTree, 9, 9, 0, 1), Item(test::kRock, 9, 9), Item(test::kTree, 9, 9, 180, 2)},
         true,
         {{FindingKind::Stacked, 3, kColItem}}},
        {"no centre item", {Item(test::kTree, 5, 5)}, true, {{FindingKind::NoCenter, std::nullopt, -1}}},
        {"no items, so nothing to centre", {}, true, {}},
        {"angles",
         {kCamp, Item(test::kTree, 1, 1, 360), Item(test::kTree, 2, 2, -1), Item(test::kTree, 3, 3, 0)},
         true,
         {{FindingKind::BadAngle, 1, kColAngle}, {FindingKind::BadAngle, 2, kColAngle}}},
        {"no end mark", {kCamp, Item(test::kTree, 5, 5)}, false, {{FindingKind::NoEndMark, std::nullopt, -1}}},
    };
    const CItemDefList catalogue = test::CheckCatalogue();
    for (const ItemCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScratchDir dir;
        // A clean mission beside it: its findings must not leak into the other's.
        gamedata::WritePff(dir.File("kqbase.pff"),
                           {{"other.bms", Mission({kCamp})}, {"M.BMS", Mission(c.items, c.endMark)}}, {4, false, 9});
        const CheckReport report = CheckArchive(dir.File("kqbase.pff"), catalogue);
        EXPECT_EQ(report.missionsChecked, 2u);
        EXPECT_EQ(Kinds(report.findings), c.expected);
        for (const Finding& f : report.findings)
            EXPECT_EQ(f.mission, "m.bms");
    }
}

// The edges of the ground as the map's truncation toward zero draws them.
TEST(ArchiveCheck, GroundEdges)
{
    struct Case {
        std::int32_t x, y;
        bool on;
    };
    const Case cases[] = {
        {0, 0, true},          {-131071, 131071, true},       {-131072, 0, false},  {0, 131072, false},
        {67108863, 0, true},   {67108864, 0, false},          {0, -67108863, true}, {0, -67108864, false},
        {INT32_MIN, 0, false}, {INT32_MAX, INT32_MIN, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsOnGround(c.x, c.y), c.on) << c.x << ", " << c.y;
}

// Damage: the check goes on as far as the data allows and says what it met.
TEST(ArchiveCheck, DamageBecomesFindings)
{
    const CItemDefList catalogue = test::CheckCatalogue();
    struct Case {
        const char* name;
        std::size_t patchAt; // into the entry table (entry 1) or the header; see below
        bool header;
        std::uint32_t value;
        std::vector<FindingKind> expected;
        std::size_t checked;
    };
    const Case cases[] = {
        // Entry 1's size reaches past the file: that mission is reported, the others are checked.
        {"entry past the end", 8, false, 0x7fff0000u, {FindingKind::DamagedEntry, FindingKind::NoCenter}, 3},
        // Entry 1's offset is negative.
        {"negative offset", 4, false, 0x80000000u, {FindingKind::DamagedEntry, FindingKind::NoCenter}, 3},
        // An entry count the file cannot hold: nothing can be listed.
        {"entry table past the end", 8, true, 100000u, {FindingKind::DamagedArchive}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScratchDir dir;
        const std::string path = dir.File("kqbase.pff");
        std::vector<std::uint8_t> bytes = gamedata::BuildPff(
            {{"a.bms", Mission({kCamp})}, {"b.bms", Mission({kCamp})}, {"c.bms", Mission({Item(test::kTree, 1, 1)})}});
        std::uint32_t tableOffset = 0;
        std::memcpy(&tableOffset, bytes.data() + 16, 4);
        const std::size_t at = c.header ? c.patchAt : tableOffset + 32 + c.patchAt;
        std::memcpy(bytes.data() + at, &c.value, 4);
        test::WriteBytes(path, bytes);
        const CheckReport report = CheckArchive(path, catalogue);
        std::vector<FindingKind> kinds;
        for (const Finding& f : report.findings)
            kinds.push_back(f.kind);
        EXPECT_EQ(kinds, c.expected);
        EXPECT_EQ(report.missionsChecked, c.checked);
        EXPECT_EQ(test::ReadBytes(path), bytes); // only read
    }
}

TEST(ArchiveCheck, NamedMissionsOnly)
{
    test::ScratchDir dir;
    const std::string path = dir.File("kqbase.pff");
    std::vector<gamedata::PffWrittenEntry> written;
    gamedata::WritePff(path,
                       {{"a.bms", Mission({Item(test::kTree, 1, 1)})}, {"B.bms", Mission({Item(test::kTree, 1, 1)})}},
                       {}, &written);
    const CItemDefList catalogue = test::CheckCatalogue();
    struct Case {
        std::vector<std::string> wanted;
        std::vector<std::string> missions;
        std::vector<std::string> notFound;
    };
    const Case cases[] = {
        {{}, {"a.bms", "b.bms"}, {}},
        {{"b.BMS"}, {"b.bms"}, {}},
        {{"@" + std::to_string(written[0].dataOffset)}, {"a.bms"}, {}},
        {{"a.bms", "zzz.bms"}, {"a.bms"}, {"zzz.bms"}},
    };
    for (const Case& c : cases) {
        const CheckReport report = CheckArchive(path, catalogue, c.wanted);
        std::vector<std::string> missions;
        for (const Finding& f : report.findings)
            missions.push_back(f.mission); // one no-centre finding per mission checked
        EXPECT_EQ(missions, c.missions);
        EXPECT_EQ(report.notFound, c.notFound);
    }
}

TEST(ArchiveCheck, MissingArchiveIsAFileError)
{
    test::ScratchDir dir;
    EXPECT_THROW(CheckArchive(dir.File("none.pff"), CItemDefList{}), FileError);
}

} // namespace
} // namespace orvik
