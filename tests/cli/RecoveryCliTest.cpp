// orvik recovery list and show, on a recovery file made as the editor makes them.
#include "archive/PffArchive.h"
#include "cli/OrvikRun.h"
#include "mission/MissionModel.h"
#include "session/RecoveryFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvik;

namespace {

TEST(RecoveryCli, ListNamesEachFileAndShowGivesATableThatSaveWrites)
{
    test::ScratchDir dir;
    const std::string base = dir.File("game/kqbase.pff");
    ASSERT_EQ(test::RunOrvik(dir, {"demo", dir.File("game")}).status, 0);
    MissionInfo mission;
    CPffArchive().WalkMissions(base, [&](const MissionInfo& m) {
        if (mission.name.empty())
            mission = m;
    });
    const std::string at = "@" + std::to_string(mission.offset);
    const test::OrvikRun items = test::RunOrvik(dir, {"items", base, at});
    ASSERT_EQ(items.status, 0) << items.err;
    std::vector<std::string> lines = test::Lines(items.out);
    ASSERT_GE(lines.size(), 4u);

    CMissionModel model;
    File archive(base, File::Mode::Read);
    model.ReadItems(archive, mission.offset, mission.size);
    RecoveryHeader header;
    header.archivePath = std::filesystem::absolute(base).lexically_normal().string();
    header.missionName = mission.name;
    header.missionOffset = mission.offset;
    header.recordsHash = HashBytes(model.loadedRecords.data(), model.loadedRecords.size());
    header.rowCount = model.items.size();
    // Rows 1 and 3 edited; the expected table is the printed one with those cells changed by hand.
    std::map<std::size_t, ItemRow> rows;
    for (const std::size_t row : {std::size_t{0}, std::size_t{2}}) {
        ItemRow cells;
        std::size_t start = 0;
        std::string& line = lines[row + 1];
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::size_t tab = line.find('\t', start);
            cells[c] = line.substr(start, tab - start);
            start = tab + 1;
        }
        cells[1] = std::to_string(1000 + row);
        rows[row] = cells;
        line = cells[0];
        for (std::size_t c = 1; c < cells.size(); ++c)
            line += "\t" + cells[c];
    }
    std::string expected;
    for (const std::string& line : lines)
        expected += line + "\n";
    const std::string folder = dir.File("recovery");
    std::filesystem::create_directories(folder);
    WriteRecoveryFile(folder + "/a.orvr", header, 1765000000, rows);
    test::WriteBytes(folder + "/b.orvr", {'x'});

    const test::OrvikRun list = test::RunOrvik(dir, {"recovery", "list", "--folder", folder});
    ASSERT_EQ(list.status, 0) << list.err;
    const std::vector<std::string> listed = test::Lines(list.out);
    ASSERT_EQ(listed.size(), 2u) << list.out;
    const auto good = listed[0].find("a.orvr") != std::string::npos ? listed[0] : listed[1];
    const auto bad = listed[0].find("b.orvr") != std::string::npos ? listed[0] : listed[1];
    EXPECT_NE(good.find("\t" + header.archivePath + "\t" + mission.name + "\t2\t"), std::string::npos) << good;
    EXPECT_TRUE(good.ends_with("\tready")) << good;
    EXPECT_TRUE(bad.ends_with("\tdamaged")) << bad;

    const test::OrvikRun show = test::RunOrvik(dir, {"recovery", "show", folder + "/a.orvr"});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.out, expected);
    const test::OrvikRun save = test::RunOrvik(dir, {"save", base, at, "-", "--no-backup"}, show.out);
    ASSERT_EQ(save.status, 0) << save.err;
    EXPECT_EQ(test::RunOrvik(dir, {"items", base, at}).out, expected);

    // Saved since: the records are no longer the ones the edits were made on.
    const test::OrvikRun stale = test::RunOrvik(dir, {"recovery", "show", folder + "/a.orvr"});
    EXPECT_EQ(stale.status, 1);
    EXPECT_NE(stale.err.find("not the ones the edits were made on"), std::string::npos) << stale.err;
    EXPECT_EQ(test::RunOrvik(dir, {"recovery", "show", folder + "/b.orvr"}).status, 1);
}

} // namespace
