// orvik check and orvik diff end to end: exit statuses, the printed forms, and that they write nothing.
#include "check/CheckTestData.h"
#include "cli/OrvikRun.h"
#include "support/TestSupport.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace orvik {
namespace {

using test::Item;
using test::Mission;
using test::RunOrvik;

struct CheckDiffCli : ::testing::Test {
    test::ScratchDir dir;

    // A game folder: items.def and kqbase.pff with one mission m.bms of these items.
    std::string Game(const std::string& folder, const std::vector<CMissionItem>& items)
    {
        std::filesystem::create_directories(dir.File(folder));
        const std::string path = dir.File(folder + "/kqbase.pff");
        gamedata::WritePff(path, {{"m.bms", Mission(items)}});
        const std::string def = gamedata::BuildItemDef({{"Tree", test::kTree}, {"Camp Center", test::kCamp}});
        test::WriteBytes(dir.File(folder + "/items.def"), std::vector<std::uint8_t>(def.begin(), def.end()));
        return path;
    }
};

const CMissionItem kCamp = Item(test::kCamp, 9, 9);

TEST_F(CheckDiffCli, CheckExitStatusAndText)
{
    struct Case {
        const char* name;
        std::vector<CMissionItem> items;
        std::vector<std::string> extra;
        int status;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"clean", {kCamp, Item(test::kTree, 1, 1)}, {}, 0, {"0 errors, 0 warnings in 1 mission."}},
        {"a warning",
         {kCamp, Item(test::kTree, 1, 1, 400)},
         {},
         0,
         {"m.bms, row 2, Angle: warning: Angle 400 is outside 0 to 359.", "0 errors, 1 warning in 1 mission."}},
        {"a warning, strict",
         {kCamp, Item(test::kTree, 1, 1, 400)},
         {"--strict"},
         1,
         {"m.bms, row 2, Angle: warning: Angle 400 is outside 0 to 359.", "0 errors, 1 warning in 1 mission."}},
        {"an error",
         {kCamp, Item(test::kUnknown, 1, 1)},
         {},
         1,
         {"m.bms, row 2, Item: error: Item kind id 99 is not in the catalogue: the row cannot be saved by name.",
          "1 error, 0 warnings in 1 mission."}},
        {"no centre",
         {Item(test::kTree, 1, 1)},
         {"M.BMS"},
         0,
         {"m.bms: warning: No centre item: the map centres on the middle of the items.",
          "0 errors, 1 warning in 1 mission."}},
        {"a mission that is not there", {kCamp}, {"x.bms"}, 1, {"0 errors, 0 warnings in 0 missions."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string base = Game(c.name, c.items);
        const auto before = test::ReadBytes(base);
        std::vector<std::string> args = {"check", base};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const test::OrvikRun r = RunOrvik(dir, args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(test::Lines(r.out), c.lines);
        EXPECT_EQ(test::ReadBytes(base), before);
        EXPECT_EQ(test::ListFolder(dir.File(c.name)), (std::vector<std::string>{"items.def", "kqbase.pff"}));
    }
}

TEST_F(CheckDiffCli, CheckJson)
{
    const std::string base = Game("g", {kCamp, Item(test::kTree, 600, 1), Item(test::kUnknown, 1, 1)});
    const test::OrvikRun r = RunOrvik(dir, {"check", base, "--format", "json"});
    EXPECT_EQ(r.status, 1);
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["kind"], "outsideGround");
    EXPECT_EQ(j[0]["severity"], "warning");
    EXPECT_EQ(j[0]["row"], 2);
    EXPECT_EQ(j[0]["column"], "X Position");
    EXPECT_EQ(j[1]["kind"], "unknownKind");
    EXPECT_EQ(j[1]["severity"], "error");
    EXPECT_EQ(j[1]["mission"], "m.bms");
}

TEST_F(CheckDiffCli, DiffExitStatusAndForms)
{
    const std::string a = Game("a", {kCamp, Item(test::kTree, 1, 1)});
    const std::string same = Game("same", {kCamp, Item(test::kTree, 1, 1)});
    const std::string moved = Game("moved", {kCamp, Item(test::kTree, 1, 2)});
    const std::string header = "change\tmission\trow\tcolumn\told\tnew";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {{"diff", a, same}, 0, {header}},
        {{"diff", a, moved}, 1, {header, "cell\tm.bms\t2\tY Position\t-131079\t-262151"}},
        {{"diff", a + "::M.BMS", moved + "::m.bms"}, 1, {header, "cell\tm.bms\t2\tY Position\t-131079\t-262151"}},
        {{"diff", a, moved, "m.bms"}, 1, {header, "cell\tm.bms\t2\tY Position\t-131079\t-262151"}},
        {{"diff", a, moved, "x.bms"}, 1, {header}}, // no such mission: said on stderr
    };
    for (const Case& c : cases) {
        const test::OrvikRun r = RunOrvik(dir, c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(test::Lines(r.out), c.lines) << c.args[2];
    }
    const test::OrvikRun json = RunOrvik(dir, {"diff", a, moved, "--format", "json"});
    const auto j = nlohmann::json::parse(json.out);
    ASSERT_EQ(j.size(), 1u);
    EXPECT_EQ(j[0]["old"], "-131079");
    EXPECT_EQ(j[0]["row"], 2);
}

TEST_F(CheckDiffCli, WrongUsageAndMissingFiles)
{
    const std::string base = Game("g", {kCamp});
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const std::vector<Case> cases = {
        {{"check"}, 2},
        {{"check", base, "--format", "tsv"}, 2},
        {{"diff", base}, 2},
        {{"diff", base, base, "--format", "csv"}, 2},
        {{"diff", base + "::m.bms", base, "m.bms"}, 1},
        {{"check", dir.File("none.pff")}, 1},
        {{"diff", base, dir.File("none.pff")}, 1},
        {{"diff", base + "::", base}, 1},
    };
    for (const Case& c : cases) {
        const test::OrvikRun r = RunOrvik(dir, c.args);
        EXPECT_EQ(r.status, c.status) << test::QuoteArgs(c.args) << ": " << r.err;
        if (c.status == 1) {
            EXPECT_FALSE(r.err.empty());
        }
    }
    EXPECT_FALSE(test::Exists(dir.File("none.pff")));
}

} // namespace
} // namespace orvik
