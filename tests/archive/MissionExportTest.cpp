#include "archive/MissionExport.h"
#include "archive/PffArchive.h"
#include "archive/SortedList.h"
#include "common/FileError.h"
#include "gamedata/MissionWriter.h"
#include "support/TestSupport.h"

#include "ArchiveTestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace orvik {
namespace {

using test::Pattern;

const char* const kClosing = "Also generated repackterrain.bat and repackmission.bat, which you can use to repack the "
                             "files when you are done editing them with your favorite image editor.";

class MissionExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gamedata::MissionSpec plan;
        plan.title = "Night Raid";
        plan.terrainName = "hills.ter";
        m_mission = gamedata::BuildMission(plan);
        gamedata::WritePff(m_dir.File("kqbase.pff"), {{"other.bms", Pattern(300, 1)}, {"RAID.BMS", m_mission}},
                           gamedata::PffLayout{3, true, 4});
        gamedata::WritePff(m_dir.File("kq.pff"),
                           {{"HILLS_C.PCX", Pattern(900, 2)},
                            {"hills_e.pcx", Pattern(700, 3)},
                            {"hills_d.pcx", Pattern(500, 4)},
                            {"hills.ter", Pattern(80, 5)}},
                           gamedata::PffLayout{9, false, 2});
        m_names = {"hills_c.pcx", "hills_e.pcx", "hills_d.pcx", "hills.ter"};
    }
    std::string Base() const { return m_dir.File("kqbase.pff"); }
    std::vector<std::string> Folder() const { return test::ListFolder(m_dir.Path()); }

    test::ScratchDir m_dir;
    std::vector<std::uint8_t> m_mission;
    TerrainNames m_names;
};

TEST(MissionNameFromLine, TextBeforeTheFirstBlank)
{
    EXPECT_EQ(MissionNameFromLine("raid.bms (Night Raid)"), "raid.bms");
    EXPECT_EQ(MissionNameFromLine("raid.bms ()"), "raid.bms");
    EXPECT_EQ(MissionNameFromLine(" x"), "");
    EXPECT_EQ(MissionNameFromLine("raid.bms"), "");
    EXPECT_EQ(MissionNameFromLine(""), "");
    EXPECT_EQ(MissionNameFromLine("a\tb c"), "a\tb");
}

TEST_F(MissionExportTest, UnpacksFilesWritesScriptsAndSummary)
{
    const std::string expectedSummary = std::string("Unpacked files: \n"
                                                    "raid.bms - Mission File\n"
                                                    "hills_c.pcx - Color Map\n"
                                                    "hills_e.pcx - Depth Map\n"
                                                    "hills_d.pcx - Detail Map\n"
                                                    "hills.ter - Terrain description\n\n") +
                                        kClosing;
    // Earlier exports, longer than the new scripts, are replaced.
    test::WriteBytes(m_dir.File("repackmission.bat"), Pattern(500, 8));
    test::WriteBytes(m_dir.File("hills.ter"), Pattern(5000, 8));
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        const ExportResult result = ExportMissionFiles(Base(), "raid.bms", m_names);
        EXPECT_EQ(result.message, expectedSummary);
        EXPECT_TRUE(result.complete);
        EXPECT_EQ(Folder(),
                  (std::vector<std::string>{"hills.ter", "hills_c.pcx", "hills_d.pcx", "hills_e.pcx", "kq.pff",
                                            "kqbase.pff", "raid.bms", "repackmission.bat", "repackterrain.bat"}));
        EXPECT_EQ(test::ReadBytes(m_dir.File("raid.bms")), m_mission);
        EXPECT_EQ(test::ReadBytes(m_dir.File("hills_c.pcx")), Pattern(900, 2));
        EXPECT_EQ(test::ReadBytes(m_dir.File("hills_e.pcx")), Pattern(700, 3));
        EXPECT_EQ(test::ReadBytes(m_dir.File("hills_d.pcx")), Pattern(500, 4));
        EXPECT_EQ(test::ReadBytes(m_dir.File("hills.ter")), Pattern(80, 5));
        EXPECT_EQ(test::ReadText(m_dir.File("repackmission.bat")), "pack.exe kqbase.pff raid.bms");
        EXPECT_EQ(test::ReadText(m_dir.File("repackterrain.bat")),
                  "pack.exe kq.pff hills_c.pcx hills_e.pcx hills_d.pcx hills.ter");
    }
}

TEST_F(MissionExportTest, LineFromTheMissionListNamesTheCapitalisedEntryInLowerCase)
{
    SortedStringList list;
    CPffArchive().ListMissions(list, Base());
    ASSERT_EQ(list.Size(), 2u);
    ASSERT_EQ(list.Text(1), "raid.bms (Night Raid)");
    ExportMissionFiles(Base(), MissionNameFromLine(list.Text(1)), {});
    EXPECT_EQ(test::ReadBytes(m_dir.File("raid.bms")), m_mission);
    EXPECT_EQ(test::ReadText(m_dir.File("repackmission.bat")), "pack.exe kqbase.pff raid.bms");
}

TEST_F(MissionExportTest, EmptyTerrainNamesNeedNoTerrainArchive)
{
    std::filesystem::remove(m_dir.File("kq.pff"));
    const std::string summary = ExportMissionFiles(Base(), "raid.bms", {}).message;
    EXPECT_EQ(test::ReadText(m_dir.File("repackterrain.bat")), "pack.exe kq.pff    ");
    EXPECT_EQ(summary, std::string("Unpacked files: \nraid.bms - Mission File\n - Color Map\n - Depth Map\n"
                                   " - Detail Map\n - Terrain description\n\n") +
                           kClosing);
    EXPECT_EQ(Folder(), (std::vector<std::string>{"kqbase.pff", "raid.bms", "repackmission.bat", "repackterrain.bat"}));
}

TEST_F(MissionExportTest, NamesMissingFromTheArchivesAreSaidSoButStayInTheScripts)
{
    struct Case {
        const char* mission;
        TerrainNames names;
        std::vector<std::string> written; // besides the archives and the scripts
        std::string message;
    };
    const std::string closing = kClosing;
    const Case cases[] = {
        // The usual way: the description is missing, so its three maps are unknown.
        {"raid.bms",
         {"", "", "", "gone.ter"},
         {"raid.bms"},
         "The terrain description \"gone.ter\" was not found in kq.pff; it was not unpacked.\n\n"
         "Unpacked files: \nraid.bms - Mission File\n\n" +
             closing},
        {"lost.bms",
         {"gone_c.pcx", "hills_e.pcx", "gone_d.pcx", "gone.ter"},
         {"hills_e.pcx"},
         "The mission file \"lost.bms\" was not found in kqbase.pff; it was not unpacked.\n"
         "The color map \"gone_c.pcx\" was not found in kq.pff; it was not unpacked.\n"
         "The detail map \"gone_d.pcx\" was not found in kq.pff; it was not unpacked.\n"
         "The terrain description \"gone.ter\" was not found in kq.pff; it was not unpacked.\n\n"
         "Unpacked files: \nhills_e.pcx - Depth Map\n\n" +
             closing},
        {"lost.bms",
         {},
         {},
         "The mission file \"lost.bms\" was not found in kqbase.pff; it was not unpacked.\n\n"
         "No files were unpacked.\n\n" +
             closing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mission + (" " + c.names.terrainFile));
        test::ScratchDir out;
        for (const std::string& name : test::ListFolder(m_dir.Path()))
            test::WriteBytes(out.File(name), test::ReadBytes(m_dir.File(name)));
        const std::string base = out.File("kqbase.pff");
        const ExportResult result = ExportMissionFiles(base, c.mission, c.names);
        EXPECT_FALSE(result.complete);
        EXPECT_EQ(result.message, c.message);
        std::vector<std::string> expected = c.written;
        expected.insert(expected.end(), {"kq.pff", "kqbase.pff", "repackmission.bat", "repackterrain.bat"});
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(test::ListFolder(out.Path()), expected);
        if (!c.written.empty() && c.written[0] == "raid.bms") {
            EXPECT_EQ(test::ReadBytes(out.File("raid.bms")), m_mission);
        }
        EXPECT_EQ(test::ReadText(out.File("repackmission.bat")), "pack.exe kqbase.pff " + std::string(c.mission));
        EXPECT_EQ(test::ReadText(out.File("repackterrain.bat")), "pack.exe kq.pff " + c.names.colorMapFile + " " +
                                                                     c.names.elevMapFile + " " + c.names.detailMapFile +
                                                                     " " + c.names.terrainFile);
    }
}

TEST_F(MissionExportTest, EmptyMissionNameUnpacksNoMission)
{
    ExportMissionFiles(Base(), "", m_names);
    EXPECT_FALSE(test::Exists(m_dir.File("raid.bms")));
    EXPECT_EQ(test::ReadText(m_dir.File("repackmission.bat")), "pack.exe kqbase.pff ");
}

TEST_F(MissionExportTest, TerrainArchiveFoundWhateverItsCase)
{
    std::filesystem::rename(m_dir.File("kq.pff"), m_dir.File("KQ.PFF"));
    ExportMissionFiles(Base(), "raid.bms", m_names);
    EXPECT_EQ(test::ReadBytes(m_dir.File("hills_c.pcx")), Pattern(900, 2));
    EXPECT_EQ(test::ReadText(m_dir.File("repackterrain.bat")),
              "pack.exe kq.pff hills_c.pcx hills_e.pcx hills_d.pcx hills.ter");
}

TEST_F(MissionExportTest, UnsafeNamesRefusedBeforeAnyFileIsWritten)
{
    const std::vector<std::string> bad = {"../x.pcx",
                                          "a/b",
                                          "a\\b",
                                          "c:x",
                                          ".",
                                          "..",
                                          "a b",
                                          "a&b",
                                          "a|b",
                                          "a<b",
                                          "a>b",
                                          "a^b",
                                          "100%",
                                          "a\"b",
                                          "a\tb",
                                          "a\rb",
                                          "a\x01"
                                          "b"};
    const auto before = Folder();
    for (const auto& name : bad) {
        for (int slot = 0; slot < 5; ++slot) {
            SCOPED_TRACE(name + " in slot " + std::to_string(slot));
            TerrainNames names = m_names;
            std::string mission = "raid.bms";
            switch (slot) {
            case 0: names.colorMapFile = name; break;
            case 1: names.elevMapFile = name; break;
            case 2: names.detailMapFile = name; break;
            case 3: names.terrainFile = name; break;
            default: mission = name; break;
            }
            try {
                ExportMissionFiles(Base(), mission, names);
                ADD_FAILURE() << "not refused";
            } catch (const UserError& e) {
                EXPECT_NE(std::string(e.what()).find("\"" + name + "\""), std::string::npos) << e.what();
            }
            EXPECT_EQ(Folder(), before);
        }
    }
}

TEST_F(MissionExportTest, FileErrorsStopTheExport)
{
    // The terrain archive is read first: without it nothing at all is written.
    std::filesystem::remove(m_dir.File("kq.pff"));
    try {
        ExportMissionFiles(Base(), "raid.bms", m_names);
        ADD_FAILURE() << "no file error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Message(), m_dir.File("kq.pff") + " was not found.");
    }
    EXPECT_EQ(Folder(), (std::vector<std::string>{"kqbase.pff"}));
}

TEST_F(MissionExportTest, DamagedBaseArchiveKeepsTheTerrainFilesButWritesNoScripts)
{
    auto base = test::ReadBytes(Base());
    base.resize(base.size() - 40); // the mission's data is no longer all there
    test::WriteBytes(Base(), base);
    EXPECT_THROW(ExportMissionFiles(Base(), "raid.bms", m_names), FileError);
    EXPECT_EQ(Folder(), (std::vector<std::string>{"hills.ter", "hills_c.pcx", "hills_d.pcx", "hills_e.pcx", "kq.pff",
                                                  "kqbase.pff"}));
}

TEST_F(MissionExportTest, ALinkAtAnyTargetIsRefusedBeforeAnyFileIsWritten)
{
    test::ScratchDir outside;
    const std::string victim = outside.File("users.txt");
    for (const char* name : {"raid.bms", "hills_c.pcx", "hills_e.pcx", "hills_d.pcx", "hills.ter", "repackmission.bat",
                             "repackterrain.bat"}) {
        SCOPED_TRACE(name);
        test::WriteBytes(victim, Pattern(60, 7));
        if (!test::MakeSymlink(victim, m_dir.File(name)))
            GTEST_SKIP() << test::kNoSymlinks;
        const auto before = Folder();
        try {
            ExportMissionFiles(Base(), "raid.bms", m_names);
            ADD_FAILURE() << "not refused";
        } catch (const UserError& e) {
            EXPECT_NE(std::string(e.what()).find(m_dir.File(name)), std::string::npos) << e.what();
        }
        EXPECT_EQ(Folder(), before);
        EXPECT_EQ(test::ReadBytes(victim), Pattern(60, 7));
        std::filesystem::remove(m_dir.File(name));
    }
}

} // namespace
} // namespace orvik
