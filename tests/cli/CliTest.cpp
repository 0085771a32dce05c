// The orvik command end to end, on a demo game written afresh for each test.
#include "archive/PffArchive.h"
#include "archive/SaveJournal.h"
#include "cli/OrvikRun.h"
#include "common/Text.h"
#include "gamedata/DemoGame.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"
#include "support/TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

using namespace orvik;

namespace {

using Result = test::OrvikRun;
using test::Lines;
using test::RunOrvik;

std::vector<std::string> Split(const std::string& line, char sep)
{
    std::vector<std::string> f;
    std::string cur;
    for (char c : line) {
        if (c == sep) {
            f.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    f.push_back(cur);
    return f;
}

struct OrvikCli : ::testing::Test {
    test::ScratchDir dir;
    std::string game;
    std::string base;

    void SetUp() override
    {
        game = dir.File("game");
        const Result r = RunOrvik(dir, {"demo", game, "--seed", "4"});
        ASSERT_EQ(r.status, 0) << r.err;
        base = game + "/kqbase.pff";
        ASSERT_TRUE(test::Exists(base));
    }

    // The missions as (offset, text), in the listed order.
    std::vector<std::pair<std::string, std::string>> Missions()
    {
        const Result r = RunOrvik(dir, {"missions", base});
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<std::pair<std::string, std::string>> list;
        for (const auto& line : Lines(r.out)) {
            const auto tab = line.find('\t');
            EXPECT_NE(tab, std::string::npos) << line;
            list.emplace_back(line.substr(0, tab), line.substr(tab + 1));
        }
        return list;
    }

    // A mission with at least minItems items, by name.
    std::string MissionWithItems(std::size_t minItems)
    {
        for (const auto& [offset, text] : Missions()) {
            const std::string name = text.substr(0, text.find(' '));
            const Result r = RunOrvik(dir, {"items", base, name});
            if (r.status == 0 && Lines(r.out).size() >= minItems + 1)
                return name;
        }
        ADD_FAILURE() << "no mission with " << minItems << " items";
        return {};
    }
};

} // namespace

TEST_F(OrvikCli, MissionsAreListedSortedWithTheirOffsets)
{
    const auto list = Missions();
    ASSERT_GE(list.size(), 2u);
    for (std::size_t i = 1; i < list.size(); ++i)
        EXPECT_LE(CompareFolded(list[i - 1].second, list[i].second), 0) << list[i].second;
    // Each offset is the data offset of the entry the line names.
    CPffArchive archive;
    std::map<std::string, std::uint32_t> offsets;
    archive.WalkMissions(base, [&](const MissionInfo& m) { offsets.emplace(m.name, m.offset); });
    for (const auto& [offset, text] : list) {
        const std::string name = text.substr(0, text.find(' '));
        EXPECT_EQ(FoldLower(name), name);
        EXPECT_EQ(std::to_string(offsets.at(name)), offset);
        EXPECT_EQ(text.back(), ')');
    }
    const Result json = RunOrvik(dir, {"missions", base, "--json"});
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"offset\": " + list[0].first), std::string::npos);
    EXPECT_NE(json.out.find("\"title\""), std::string::npos);
}

TEST_F(OrvikCli, ItemsInEveryFormatAgree)
{
    const std::string name = MissionWithItems(3);
    const Result tsv = RunOrvik(dir, {"items", base, name});
    ASSERT_EQ(tsv.status, 0) << tsv.err;
    const auto rows = Lines(tsv.out);
    EXPECT_EQ(rows[0], "Item\tX Position\tY Position\tZ Position\tAngle\tID\tMP Only");
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto cells = Split(rows[i], '\t');
        ASSERT_EQ(cells.size(), 7u) << rows[i];
        EXPECT_TRUE(cells[6] == "Y" || cells[6] == "N");
        EXPECT_EQ(FormatLong(DecimalToInt(cells[1])), cells[1]);
    }
    const Result csv = RunOrvik(dir, {"items", base, name, "--format", "csv"});
    EXPECT_EQ(Lines(csv.out).size(), rows.size());
    const Result json = RunOrvik(dir, {"items", base, name, "--format", "json"});
    EXPECT_NE(json.out.find("\"mpOnly\""), std::string::npos);
    // The offset form and other letter case name the same mission.
    std::string upper = name;
    for (auto& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(RunOrvik(dir, {"items", base, upper}).out, tsv.out);
    for (const auto& [offset, text] : Missions()) {
        if (text.rfind(name + " ", 0) == 0) {
            EXPECT_EQ(RunOrvik(dir, {"items", base, "@" + offset}).out, tsv.out);
        }
    }
}

TEST_F(OrvikCli, SaveRoundTripsAndChangesOnlyTheRecords)
{
    const std::string name = MissionWithItems(3);
    const Result before = RunOrvik(dir, {"items", base, name});
    auto rows = Lines(before.out);
    auto cells = Split(rows[2], '\t');
    cells[1] = "-12345";
    cells[4] = "271";
    cells[6] = cells[6] == "Y" ? "N" : "Y"; // never saved
    std::string edited;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i == 2) {
            for (std::size_t c = 0; c < cells.size(); ++c)
                edited += (c ? "\t" : "") + cells[c];
        } else {
            edited += rows[i];
        }
        edited += "\n";
    }
    const auto archiveBefore = test::ReadBytes(base);
    test::WriteBytes(dir.File("table.tsv"), std::vector<std::uint8_t>(edited.begin(), edited.end()));
    const Result saved = RunOrvik(dir, {"save", base, name, dir.File("table.tsv")});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, "Data saved!\n");
    EXPECT_EQ(saved.err, "Your original kqbase.pff was copied to kqbase.pff.orig before this first save.\n");
    EXPECT_EQ(test::ReadBytes(base + ".orig"), archiveBefore);
    const auto afterRows = Lines(RunOrvik(dir, {"items", base, name}).out);
    auto afterCells = Split(afterRows[2], '\t');
    EXPECT_EQ(afterCells[1], "-12345");
    EXPECT_EQ(afterCells[4], "271");
    EXPECT_EQ(afterCells[6], Split(rows[2], '\t')[6]);
    EXPECT_EQ(afterRows[1], rows[1]);
    const auto archiveAfter = test::ReadBytes(base);
    ASSERT_EQ(archiveAfter.size(), archiveBefore.size());
    std::size_t changed = 0;
    for (std::size_t i = 0; i < archiveAfter.size(); ++i)
        changed += archiveAfter[i] != archiveBefore[i];
    EXPECT_GT(changed, 0u);

    // The same through standard input and through json.
    const Result viaStdin = RunOrvik(dir, {"save", base, name, "-"}, RunOrvik(dir, {"items", base, name}).out);
    EXPECT_EQ(viaStdin.status, 0) << viaStdin.err;
    EXPECT_EQ(test::ReadBytes(base), archiveAfter);
    test::WriteBytes(dir.File("t.json"), [&] {
        const std::string j = RunOrvik(dir, {"items", base, name, "--format", "json"}).out;
        return std::vector<std::uint8_t>(j.begin(), j.end());
    }());
    EXPECT_EQ(RunOrvik(dir, {"save", base, name, dir.File("t.json")}).status, 0);
    EXPECT_EQ(test::ReadBytes(base), archiveAfter);
    // A csv saved by a spreadsheet, with a byte order mark and CR LF line ends.
    std::string csv = "\xEF\xBB\xBF";
    for (const auto& line : Lines(RunOrvik(dir, {"items", base, name, "--format", "csv"}).out))
        csv += line + "\r\n";
    test::WriteBytes(dir.File("t.csv"), std::vector<std::uint8_t>(csv.begin(), csv.end()));
    const Result viaCsv = RunOrvik(dir, {"save", base, name, dir.File("t.csv")});
    EXPECT_EQ(viaCsv.status, 0) << viaCsv.err;
    EXPECT_EQ(test::ReadBytes(base), archiveAfter);
    EXPECT_EQ(test::ReadBytes(base + ".orig"), archiveBefore) << "the copy is never overwritten";

    // Without a copy and told to make none, a save still goes ahead.
    std::filesystem::remove(base + ".orig");
    test::WriteBytes(dir.File("before.tsv"), std::vector<std::uint8_t>(before.out.begin(), before.out.end()));
    const Result noBackup = RunOrvik(dir, {"save", base, name, dir.File("before.tsv"), "--no-backup"});
    EXPECT_EQ(noBackup.status, 0) << noBackup.err;
    EXPECT_EQ(noBackup.err, "");
    EXPECT_FALSE(test::Exists(base + ".orig"));
    EXPECT_NE(test::ReadBytes(base), archiveAfter);
}

TEST_F(OrvikCli, AnInterruptedSaveIsSettledByTheNextCommand)
{
    const std::string name = MissionWithItems(2);
    std::string table = RunOrvik(dir, {"items", base, name}).out;
    table.replace(table.find('\t', table.find('\n')) + 1, 1, "7"); // row 1's X gets a new first digit
    test::WriteBytes(dir.File("t.tsv"), std::vector<std::uint8_t>(table.begin(), table.end()));
    const auto original = test::ReadBytes(base);
    ASSERT_EQ(RunOrvik(dir, {"save", base, name, dir.File("t.tsv")}).status, 0);
    const auto saved = test::ReadBytes(base);
    ASSERT_NE(saved, original);

    // The journal of that save, as a crash right before the patch leaves it.
    MissionInfo mission;
    CPffArchive().WalkMissions(base, [&](const MissionInfo& m) {
        if (m.name == name)
            mission = m;
    });
    ArchivePatch patch{FoldLower(name), mission.offset, mission.size, mission.offset + 264, {}, {}};
    std::size_t end = static_cast<std::size_t>(patch.rangeStart);
    while (GetInt32(saved.data() + end + 4) != 0)
        end += 96;
    patch.oldBytes.assign(original.begin() + patch.rangeStart, original.begin() + static_cast<long>(end));
    patch.newBytes.assign(saved.begin() + patch.rangeStart, saved.begin() + static_cast<long>(end));
    File archive(base, File::Mode::Read);
    CPffArchive().WalkEntries(archive, [&](const PffEntry& e) {
        if (FoldLower(e.name) == name)
            patch.entryName = e.name;
        return FoldLower(e.name) != name;
    });

    archive.Close();
    test::WriteBytes(base, original);
    WriteJournal(base, patch);
    const Result listed = RunOrvik(dir, {"missions", base});
    EXPECT_EQ(listed.status, 0);
    EXPECT_NE(listed.err.find("has been completed"), std::string::npos) << listed.err;
    EXPECT_EQ(test::ReadBytes(base), saved);
    EXPECT_FALSE(test::Exists(JournalPath(base)));

    // A journal that matches neither state blocks saves, and says so, but reading goes on.
    auto changed = original;
    changed[static_cast<std::size_t>(patch.rangeStart) + 8] ^= 0xFF;
    test::WriteBytes(base, changed);
    WriteJournal(base, patch);
    const Result refused = RunOrvik(dir, {"save", base, name, dir.File("t.tsv")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(JournalPath(base)), std::string::npos) << refused.err;
    const Result items = RunOrvik(dir, {"items", base, name});
    EXPECT_EQ(items.status, 0);
    EXPECT_NE(items.err.find("Nothing was written"), std::string::npos) << items.err;
    EXPECT_EQ(test::ReadBytes(base), changed);
}

TEST_F(OrvikCli, SaveRefusesBadTablesAndWritesNothing)
{
    const std::string name = MissionWithItems(2);
    auto rows = Lines(RunOrvik(dir, {"items", base, name}).out);
    const auto archiveBefore = test::ReadBytes(base);
    auto writeTable = [&](const std::vector<std::string>& lines) {
        std::string t;
        for (const auto& l : lines)
            t += l + "\n";
        test::WriteBytes(dir.File("t.tsv"), std::vector<std::uint8_t>(t.begin(), t.end()));
    };
    auto bad = rows;
    auto cells = Split(bad[1], '\t');
    cells[0] = "No Such Thing";
    bad[1] = cells[0];
    for (std::size_t c = 1; c < cells.size(); ++c)
        bad[1] += "\t" + cells[c];
    writeTable(bad);
    Result r = RunOrvik(dir, {"save", base, name, dir.File("t.tsv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Invalid item name \"No Such Thing\" aborting save.\n");
    EXPECT_EQ(test::ReadBytes(base), archiveBefore);

    auto fewer = rows;
    fewer.pop_back();
    writeTable(fewer);
    r = RunOrvik(dir, {"save", base, name, dir.File("t.tsv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_EQ(test::ReadBytes(base), archiveBefore);

    writeTable({"Item\tX Position", "a\t1"});
    r = RunOrvik(dir, {"save", base, name, dir.File("t.tsv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Y Position"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(base), archiveBefore);

    r = RunOrvik(dir, {"save", base, "nothing.bms", dir.File("t.tsv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(test::ReadBytes(base), archiveBefore);
}

TEST_F(OrvikCli, ExportWritesFilesScriptsAndSummary)
{
    const std::string name = MissionWithItems(1);
    const Result r = RunOrvik(dir, {"export", base, name});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Unpacked files: \n" + name + " - Mission File\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(" - Terrain description\n\nAlso generated repackterrain.bat"), std::string::npos);
    EXPECT_EQ(test::ReadText(game + "/repackmission.bat"), "pack.exe kqbase.pff " + name);
    const std::string terrainScript = test::ReadText(game + "/repackterrain.bat");
    EXPECT_EQ(terrainScript.rfind("pack.exe kq.pff ", 0), 0u);
    EXPECT_EQ(terrainScript.find('\n'), std::string::npos);
    EXPECT_TRUE(test::Exists(game + "/" + name));
    const auto parts = Split(terrainScript.substr(16), ' ');
    ASSERT_EQ(parts.size(), 4u);
    for (const auto& p : parts)
        EXPECT_TRUE(test::Exists(game + "/" + p)) << p;
    // Twice in a row gives the same.
    EXPECT_EQ(RunOrvik(dir, {"export", base, name}).out, r.out);
}

TEST_F(OrvikCli, RenderWritesTheEditorsFrame)
{
    const std::string name = MissionWithItems(20);
    Result r = RunOrvik(dir, {"render", base, name, "-o", dir.File("all.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    QImage all(QString::fromStdString(dir.File("all.png")));
    ASSERT_FALSE(all.isNull());
    EXPECT_EQ(all.width(), 512);
    EXPECT_EQ(all.height(), 512);
    EXPECT_EQ(all.depth(), 32); // Qt loads 24-bit PNGs as RGB32
    r = RunOrvik(dir, {"render", base, name, "-o", dir.File("none.png"), "--hide",
                       "people,buildings,decorations,vehicles,markers,objects"});
    ASSERT_EQ(r.status, 0) << r.err;
    QImage none(QString::fromStdString(dir.File("none.png")));
    EXPECT_NE(all, none);
    // Labels add magenta pixels only where markers are shown.
    r = RunOrvik(dir, {"render", base, name, "-o", dir.File("ids.png"), "--ids"});
    QImage ids(QString::fromStdString(dir.File("ids.png")));
    int magenta = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            magenta += ids.pixel(x, y) == qRgb(255, 0, 255);
    EXPECT_GT(magenta, 0);
    // A click at the centre changes nothing; elsewhere it moves the view.
    r = RunOrvik(dir, {"render", base, name, "-o", dir.File("c.png"), "--click", "256,256"});
    EXPECT_EQ(QImage(QString::fromStdString(dir.File("c.png"))), all);
    r = RunOrvik(dir, {"render", base, name, "-o", dir.File("m.png"), "--click", "100,300"});
    EXPECT_NE(QImage(QString::fromStdString(dir.File("m.png"))), all);
    EXPECT_EQ(RunOrvik(dir, {"render", base, name, "-o", dir.File("x.png"), "--hide", "trees"}).status, 1);
}

TEST_F(OrvikCli, RenderZoomAndSelectRingTheRowsWhereTheTransformPutsThem)
{
    const std::string name = MissionWithItems(2);
    const auto rows = Lines(RunOrvik(dir, {"items", base, name}).out);
    ASSERT_GE(rows.size(), 3u);
    const auto first = Split(rows[1], '\t');
    const auto second = Split(rows[2], '\t');
    const std::int32_t x0 = std::stoi(first[1]), y0 = std::stoi(first[2]);
    const std::int32_t x1 = std::stoi(second[1]), y1 = std::stoi(second[2]);
    const std::string centre = first[1] + "," + first[2];
    const auto pixels = [](std::int32_t world, int zoom) {
        return static_cast<int>(static_cast<double>(world) * zoom / 131072.0);
    };
    for (const int zoom : {1, 2, 4, 8}) {
        SCOPED_TRACE(zoom);
        const std::string z = std::to_string(zoom);
        const std::string plain = dir.File("plain" + z + ".png"), ringed = dir.File("ring" + z + ".png");
        ASSERT_EQ(RunOrvik(dir, {"render", base, name, "-o", plain, "--center", centre, "--zoom", z}).status, 0);
        ASSERT_EQ(
            RunOrvik(dir, {"render", base, name, "-o", ringed, "--center", centre, "--zoom", z, "--select", "1,2"})
                .status,
            0);
        const QImage a(QString::fromStdString(plain)), b(QString::fromStdString(ringed));
        // Row 1 is the centre, at (256, 256); row 2 lies where the zoomed transform puts it.
        const std::pair<int, int> centres[] = {
            {256, 256}, {pixels(x1, zoom) - pixels(x0, zoom) + 256, 256 - pixels(y1, zoom) + pixels(y0, zoom)}};
        for (const auto& [cx, cy] : centres) {
            if (cx < 8 || cx > 503 || cy < 8 || cy > 503)
                continue; // its ring would be cut by the frame's edge
            EXPECT_EQ(b.pixel(cx + 5, cy), qRgb(255, 255, 255)) << cx << "," << cy;
            EXPECT_EQ(b.pixel(cx, cy - 5), qRgb(255, 255, 255)) << cx << "," << cy;
            EXPECT_EQ(b.pixel(cx - 6, cy), qRgb(0, 0, 0)) << cx << "," << cy;
        }
        // Away from the rings both pictures agree.
        int differing = 0;
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x) {
                const bool nearRing = std::any_of(std::begin(centres), std::end(centres), [&](const auto& c) {
                    return std::abs(x - c.first) <= 7 && std::abs(y - c.second) <= 7;
                });
                differing += !nearRing && a.pixel(x, y) != b.pixel(x, y);
            }
        EXPECT_EQ(differing, 0);
    }
    // 1x without a selection is the plain picture of before.
    ASSERT_EQ(RunOrvik(dir, {"render", base, name, "-o", dir.File("one.png"), "--center", centre}).status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(dir.File("one.png"))),
              QImage(QString::fromStdString(dir.File("plain1.png"))));

    // Bad values are refused and write nothing.
    const std::vector<std::vector<std::string>> bad = {{"--zoom", "3"},     {"--zoom", "0"},       {"--select", "0"},
                                                       {"--select", "1,x"}, {"--select", "99999"}, {"--select", "-1"}};
    for (const auto& extra : bad) {
        std::vector<std::string> args = {"render", base, name, "-o", dir.File("bad.png")};
        args.insert(args.end(), extra.begin(), extra.end());
        const Result r = RunOrvik(dir, args);
        EXPECT_NE(r.status, 0) << extra[1];
        EXPECT_FALSE(r.err.empty()) << extra[1];
        EXPECT_FALSE(test::Exists(dir.File("bad.png"))) << extra[1];
    }
}

TEST_F(OrvikCli, ExtractAndPcxRefuseBadInputCleanly)
{
    Result r = RunOrvik(dir, {"extract", game + "/kq.pff", "no_such_entry.pcx", dir.Path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
    const auto before = test::ListFolder(dir.Path());
    r = RunOrvik(dir, {"extract", game + "/kq.pff", "../escape.pcx", dir.Path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(test::ListFolder(dir.Path()), before);

    // Take a colour map out and convert it.
    std::string colour;
    CPffArchive archive;
    File kq(game + "/kq.pff", File::Mode::Read);
    archive.WalkEntries(kq, [&](const PffEntry& e) {
        if (colour.empty() && Contains(FoldLower(e.name), ".pcx"))
            colour = e.name;
        return true;
    });
    ASSERT_FALSE(colour.empty());
    r = RunOrvik(dir, {"extract", game + "/kq.pff", colour, dir.Path()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string pcx = dir.Path() + FoldLower(colour);
    ASSERT_TRUE(test::Exists(pcx));
    r = RunOrvik(dir, {"pcx", pcx, dir.File("map.png"), "--shrink", "64x32"});
    ASSERT_EQ(r.status, 0) << r.err;
    QImage png(QString::fromStdString(dir.File("map.png")));
    EXPECT_EQ(png.width(), 64);
    EXPECT_EQ(png.height(), 32);
    r = RunOrvik(dir, {"pcx", pcx, dir.File("big.png"), "--shrink", "99999x2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(test::Exists(dir.File("big.png")));
    test::WriteBytes(dir.File("bad.pcx"), {10, 9, 1});
    r = RunOrvik(dir, {"pcx", dir.File("bad.pcx"), dir.File("bad.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(test::Exists(dir.File("bad.png")));

    // A refused file is refused with its reason.
    const std::vector<std::uint8_t> good = test::ReadBytes(pcx);
    std::vector<std::uint8_t> deep = good;
    deep[3] = 16;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
        const char* reason;
    };
    const Case cases[] = {
        {"not a PCX file", {10, 9, 1}, "it is not a PCX image"},
        {"cut short", std::vector<std::uint8_t>(good.begin(), good.begin() + 300), "it is truncated"},
        {"16 bits a pixel", deep, "its layout (bits per pixel and planes)"},
    };
    for (const Case& c : cases) {
        test::WriteBytes(dir.File("refused.pcx"), c.file);
        r = RunOrvik(dir, {"pcx", dir.File("refused.pcx"), dir.File("refused.png")});
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_NE(r.err.find(dir.File("refused.pcx") + " could not be read as a PCX image: " + c.reason),
                  std::string::npos)
            << c.what << ": " << r.err;
        EXPECT_FALSE(test::Exists(dir.File("refused.png"))) << c.what;
    }
    r = RunOrvik(dir, {"pcx", dir.File("absent.pcx"), dir.File("absent.png")});
    EXPECT_NE(r.err.find("the file could not be opened"), std::string::npos) << r.err;
}

TEST_F(OrvikCli, UsageErrorsExitTwoAndFileErrorsOne)
{
    EXPECT_EQ(RunOrvik(dir, {}).status, 2);
    EXPECT_EQ(RunOrvik(dir, {"missions"}).status, 2);
    EXPECT_EQ(RunOrvik(dir, {"items", base, "x", "--format", "xml"}).status, 2);
    EXPECT_EQ(RunOrvik(dir, {"--version"}).status, 0);
    EXPECT_EQ(RunOrvik(dir, {"render", "--help"}).status, 0);
    for (const char* json : {"", "--json"}) {
        std::vector<std::string> args = {"missions", dir.File("absent.pff")};
        if (*json)
            args.push_back(json);
        const Result missing = RunOrvik(dir, args);
        EXPECT_EQ(missing.status, 1);
        EXPECT_EQ(missing.out, "") << json;
        EXPECT_EQ(missing.err, dir.File("absent.pff") + " was not found.\n");
    }
}
