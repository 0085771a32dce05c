// What orvik's output commands do to what already lies at their targets: a link is refused, a
// failure half-way keeps the old file, and an export without its terrain description says so.
#include "cli/OrvikRun.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace orvik;

namespace {

using Outcome = test::OrvikRun;

// fileSizeLimit caps the files orvik writes (bytes; POSIX only).
Outcome Orvik(const test::ScratchDir& io, const std::vector<std::string>& args, std::uint64_t fileSizeLimit = 0)
{
    return test::RunOrvikArgs(io, args, test::NullDevice(), fileSizeLimit);
}

// The value before " - LABEL" in a summary.
std::string Listed(const std::string& summary, const std::string& label)
{
    const auto at = summary.find(" - " + label + "\n");
    const auto start = summary.rfind('\n', at) + 1;
    return at == std::string::npos ? std::string() : summary.substr(start, at - start);
}

struct OrvikOutputs : ::testing::Test {
    test::ScratchDir io;      // the runner's own files
    test::ScratchDir work;    // the game and the outputs
    test::ScratchDir outside; // what a planted link points at
    std::string game, base, mission, colourMap, bare;
    std::vector<std::uint8_t> bareMission;

    void SetUp() override
    {
        game = work.File("game/");
        ASSERT_EQ(Orvik(io, {"demo", game}).status, 0);
        base = game + "kqbase.pff";
        const Outcome r = Orvik(io, {"missions", base});
        mission = r.out.substr(r.out.find('\t') + 1, r.out.find(' ') - r.out.find('\t') - 1);
        const Outcome ex = Orvik(io, {"export", base, mission});
        ASSERT_EQ(ex.status, 0) << ex.err;
        colourMap = Listed(ex.out, "Color Map");
        ASSERT_FALSE(colourMap.empty()) << ex.out;

        // A game whose mission's terrain description is missing: its map is drawn without terrain.
        gamedata::MissionSpec plan;
        plan.title = "Lost";
        plan.terrainName = "gone.ter";
        bareMission = gamedata::BuildMission(plan);
        bare = work.File("bare/");
        std::filesystem::create_directory(bare);
        gamedata::WritePff(bare + "kqbase.pff", {{"lost.bms", bareMission}});
        gamedata::WritePff(bare + "kq.pff", {{"other.ter", {'x'}}});
    }

    std::vector<std::string> Listing() const
    {
        auto all = test::ListFolder(work.Path());
        for (const char* sub : {"game/", "bare/"})
            for (const auto& f : test::ListFolder(work.File(sub)))
                all.push_back(sub + f);
        return all;
    }

    struct Command {
        std::vector<std::string> args;
        std::string target;
        int sizeLimitBlocks; // 512-byte blocks, below the size of what the command writes
    };
    // Each command with the target it writes; the PCX is converted before the export replaces it.
    std::vector<Command> Commands() const
    {
        std::vector<Command> commands = {
            {{"pcx", game + colourMap, work.File("colour.png")}, work.File("colour.png"), 16},
            {{"export", base, mission}, game + colourMap, 16},
            {{"extract", base, mission, game}, game + mission, 16},
            // Without terrain no scratch copy of a colour map is made, so only the picture meets the limit.
            {{"render", bare + "kqbase.pff", "lost.bms", "-o", work.File("map.png")}, work.File("map.png"), 1},
        };
#ifdef ORVIK_NO_PNG
        // This build of orvik writes no PNGs.
        std::erase_if(commands, [](const Command& c) { return c.args[0] == "pcx" || c.args[0] == "render"; });
#endif
        return commands;
    }
};

} // namespace

TEST_F(OrvikOutputs, ALinkAtTheTargetIsRefusedAndNothingIsWritten)
{
    const std::string victim = outside.File("precious.txt");
    for (const auto& [args, target, blocks] : Commands()) {
        SCOPED_TRACE(args[0]);
        test::WriteBytes(victim, {1, 2, 3});
        std::filesystem::remove(target);
        if (!test::MakeSymlink(victim, target))
            GTEST_SKIP() << test::kNoSymlinks;
        const auto before = Listing();
        const Outcome r = Orvik(io, args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(target + " is a symbolic link"), std::string::npos) << r.err;
        EXPECT_EQ(test::ReadBytes(victim), (std::vector<std::uint8_t>{1, 2, 3}));
        EXPECT_EQ(Listing(), before);
        std::filesystem::remove(target);
    }
}

TEST_F(OrvikOutputs, AFullDiskKeepsTheOldFileAndLeavesNoTemporaryOne)
{
    if (!test::CanFork())
        GTEST_SKIP() << "needs a file-size limit on the child, which Windows does not have";
    for (const auto& [args, target, blocks] : Commands()) {
        SCOPED_TRACE(args[0]);
        const std::vector<std::uint8_t> users(2000, 0x5A);
        test::WriteBytes(target, users);
        const auto before = Listing();
        const Outcome r = Orvik(io, args, static_cast<std::uint64_t>(blocks) * 512);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("Disk full while accessing " + target), std::string::npos) << r.err;
        EXPECT_EQ(test::ReadBytes(target), users);
        EXPECT_EQ(Listing(), before);
    }
}

TEST_F(OrvikOutputs, ExportWithoutItsTerrainDescriptionSaysSoExitsOneAndStillUnpacksTheMission)
{
    const Outcome r = Orvik(io, {"export", bare + "kqbase.pff", "lost.bms"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The terrain description \"gone.ter\" was not found in kq.pff"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Unpacked files: \nlost.bms - Mission File\n\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(test::ReadBytes(bare + "lost.bms"), bareMission);
}
