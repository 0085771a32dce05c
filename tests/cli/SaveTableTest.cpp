// orvik save with tables it must refuse: each refusal names the row, exits 1 and leaves the
// archive as it was. Also the mission list's two forms, and items of a mission without end mark.
#include "cli/OrvikRun.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace orvik;

namespace {

using Outcome = test::OrvikRun;
using test::Lines;

Outcome Orvik(const test::ScratchDir& dir, const std::string& args, const std::string& input = test::NullDevice())
{
    return test::RunOrvikLine(dir, args, input);
}

// Cell c of a tsv line replaced.
std::string WithCell(const std::string& line, std::size_t c, const std::string& text)
{
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, '\t');)
        cells.push_back(cell);
    cells.at(c) = text;
    std::string out;
    for (std::size_t i = 0; i < cells.size(); ++i)
        out += (i ? "\t" : "") + cells[i];
    return out;
}

struct SaveTable : ::testing::Test {
    test::ScratchDir dir;
    std::string base;
    const std::string mission = "m01_crossing.bms";
    std::vector<std::string> tsv; // the mission's table, header first
    std::string json;

    void SetUp() override
    {
        ASSERT_EQ(Orvik(dir, "demo '" + dir.File("game") + "' --seed 1").status, 0);
        base = dir.File("game/kqbase.pff");
        tsv = Lines(Orvik(dir, "items '" + base + "' " + mission).out);
        ASSERT_GE(tsv.size(), 4u);
        json = Orvik(dir, "items '" + base + "' " + mission + " --format json").out;
    }

    std::string Write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir.File(name), std::ios::binary) << text;
        return dir.File(name);
    }
    static std::string Join(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const auto& l : lines)
            text += l + "\n";
        return text;
    }
    std::string JsonWith(std::size_t row, const std::string& key, const nlohmann::json& value)
    {
        auto doc = nlohmann::json::parse(json);
        doc.at(row)[key] = value;
        return doc.dump();
    }
};

} // namespace

TEST_F(SaveTable, RefusesAndWritesNothing)
{
    std::vector<std::string> shortRow = tsv;
    shortRow[2] = shortRow[2].substr(0, shortRow[2].find('\t', shortRow[2].find('\t') + 1)); // Item, X only
    std::vector<std::string> longer = tsv;
    longer.push_back(tsv[1]);
    std::vector<std::string> fewer = tsv;
    fewer.pop_back();
    auto cell = [&](std::size_t row, std::size_t c, const std::string& text) {
        auto t = tsv;
        t[row] = WithCell(t[row], c, text);
        return Join(t);
    };
    std::string csv;
    for (auto line : tsv) {
        for (auto& ch : line)
            if (ch == '\t')
                ch = ',';
        csv += line + "\n";
    }
    std::string csvShort;
    for (auto line : shortRow) {
        for (auto& ch : line)
            if (ch == '\t')
                ch = ',';
        csvShort += line + "\n";
    }
    const std::size_t items = tsv.size() - 1;
    auto doc = nlohmann::json::parse(json);
    auto noAngle = doc;
    noAngle.at(2).erase("angle");
    auto notObject = doc;
    notObject.at(1) = 5;
    auto longerJson = doc;
    longerJson.push_back(doc.at(0));

    struct Case {
        const char* what;
        std::string file;
        std::string text;
        std::string message; // the start of stderr
    };
    const Case cases[] = {
        {"tsv row missing cells", "t.tsv", Join(shortRow), "Row 2 (line 3) of the table has no \"Y Position\" cell."},
        {"csv row missing cells", "t.csv", csvShort, "Row 2 (line 3) of the table has no \"Y Position\" cell."},
        {"tsv number beyond 32 bits", "t.tsv", cell(3, 2, "2147483648"),
         "Row 3 (line 4): \"Y Position\" is 2147483648, which does not fit in 32 bits."},
        {"tsv number below 32 bits", "t.tsv", cell(1, 4, "-2147483649"),
         "Row 1 (line 2): \"Angle\" is -2147483649, which does not fit in 32 bits."},
        {"tsv number with letters", "t.tsv", cell(2, 1, "12abc"),
         "Row 2 (line 3): \"X Position\" is \"12abc\", not a whole number."},
        {"tsv empty number", "t.tsv", cell(2, 3, ""), "Row 2 (line 3): \"Z Position\" is \"\", not a whole number."},
        {"tsv two signs", "t.tsv", cell(1, 1, "+-5"), "Row 1 (line 2): \"X Position\" is \"+-5\", not a whole number."},
        {"tsv too many rows", "t.tsv", Join(longer),
         "The table has more rows than the mission m01_crossing.bms has items (" + std::to_string(items) + ")"},
        {"tsv too few rows", "t.tsv", Join(fewer),
         "The table has " + std::to_string(items - 1) + " rows but the mission m01_crossing.bms has"},
        {"json number beyond 32 bits", "t.json", JsonWith(1, "x", 2147483648u),
         "Row 2: \"x\" is 2147483648, which does not fit in 32 bits."},
        {"json number below 32 bits", "t.json", JsonWith(0, "z", -2147483649LL),
         "Row 1: \"z\" is -2147483649, which does not fit in 32 bits."},
        {"json number beyond 64 bits", "t.json", JsonWith(0, "y", 1e20),
         "Row 1: \"y\" must be a whole number or a text."},
        {"json text beyond 32 bits", "t.json", JsonWith(2, "angle", "99999999999"),
         "Row 3: \"angle\" is 99999999999, which does not fit in 32 bits."},
        {"json missing key", "t.json", noAngle.dump(), "Row 3 of the table has no \"angle\"."},
        {"json row not an object", "t.json", notObject.dump(), "Row 2 of the table is not an object."},
        {"json not an array", "t.json", doc.at(0).dump(), "The JSON table must be an array of items."},
        {"json too many rows", "t.json", longerJson.dump(), "The table has more rows than the mission"},
        {"json cut short", "t.json", json.substr(0, json.size() / 2), "The table is not valid JSON"},
    };
    const auto before = test::ReadBytes(base);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = Orvik(dir, "save '" + base + "' " + mission + " '" + Write(c.file, c.text) + "'");
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << r.err;
        EXPECT_NE(r.err.find("othing was saved."), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(test::ReadBytes(base), before);
    }
}

TEST_F(SaveTable, FoldersAndUnreadableTablesAreRefusedByName)
{
    std::filesystem::create_directory(dir.File("folder.tsv"));
    const bool loops = test::MakeSymlink(dir.File("loop2.tsv"), dir.File("loop1.tsv")) &&
                       test::MakeSymlink(dir.File("loop1.tsv"), dir.File("loop2.tsv"));
    const std::pair<std::string, std::string> cases[] = {
        {"folder.tsv", " is a folder, not a file."},
        {"absent.json", " was not found."},
        {"loop1.tsv", " could not be read: "},
    };
    const auto before = test::ReadBytes(base);
    for (const auto& [name, says] : cases) {
        if (name == std::string("loop1.tsv") && !loops)
            continue; // no symbolic links here
        const Outcome r = Orvik(dir, "save '" + base + "' " + mission + " '" + dir.File(name) + "'");
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.err.rfind("The table " + dir.File(name) + says, 0), 0u) << r.err;
        EXPECT_EQ(test::ReadBytes(base), before);
    }
}

TEST_F(SaveTable, AMillionRowsAreRefusedUnreadFromFileAndStandardInput)
{
    std::string big = tsv[0] + "\n";
    big.reserve(tsv[1].size() * 1000001);
    for (int i = 0; i < 1000000; ++i)
        big += tsv[1 + static_cast<std::size_t>(i) % (tsv.size() - 1)] + "\n";
    const std::string path = Write("big.tsv", big);
    const auto before = test::ReadBytes(base);
    for (const auto& [args, input] :
         {std::pair<std::string, std::string>{"'" + path + "'", test::NullDevice()}, {"-", path}}) {
        const Outcome r = Orvik(dir, "save '" + base + "' " + mission + " " + args, input);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind("The table has more rows than the mission", 0), 0u) << r.err;
    }
    EXPECT_EQ(test::ReadBytes(base), before);
}

TEST_F(SaveTable, WholeNumbersAsWrittenAreSavedAtTheEdgesOfTheRange)
{
    auto t = tsv;
    t[1] = WithCell(WithCell(WithCell(t[1], 1, "-2147483648"), 2, " +17 "), 4, "2147483647");
    ASSERT_EQ(Orvik(dir, "save '" + base + "' " + mission + " '" + Write("ok.tsv", Join(t)) + "'").status, 0);
    const auto after = Lines(Orvik(dir, "items '" + base + "' " + mission).out);
    EXPECT_EQ(after[1], WithCell(WithCell(WithCell(tsv[1], 1, "-2147483648"), 2, "17"), 4, "2147483647"));
    EXPECT_EQ(after[2], tsv[2]);
    // A quoted csv cell and CR LF line ends; a json number given as a text.
    std::string csv = "\"Item\",X Position,Y Position,Z Position,Angle\n";
    for (std::size_t i = 1; i < after.size(); ++i) {
        std::string line = after[i];
        for (auto& ch : line)
            if (ch == '\t')
                ch = ',';
        csv += (i == 1 ? "\"" + line.substr(0, line.find(',')) + "\"" + line.substr(line.find(',')) : line) + "\r\n";
    }
    const Outcome viaCsv = Orvik(dir, "save '" + base + "' " + mission + " '" + Write("ok.csv", csv) + "'");
    EXPECT_EQ(viaCsv.status, 0) << viaCsv.err;
    EXPECT_EQ(viaCsv.out, "Data saved!\n");
    EXPECT_EQ(Lines(Orvik(dir, "items '" + base + "' " + mission).out), after);
    ASSERT_EQ(
        Orvik(dir, "save '" + base + "' " + mission + " '" + Write("ok.json", JsonWith(0, "x", "  -5")) + "'").status,
        0);
    EXPECT_EQ(Lines(Orvik(dir, "items '" + base + "' " + mission).out)[1], WithCell(tsv[1], 1, "-5"));
}

TEST(OrvikItems, RecordsRunningToTheEndOfTheFileAreCountedInTheMessage)
{
    test::ScratchDir dir;
    gamedata::MissionSpec plan;
    plan.title = "Cut";
    plan.terrainName = "none.ter";
    plan.endMark = false;
    for (std::uint32_t i = 0; i < 3; ++i) {
        CMissionItem item;
        item.m_nId = 1;
        item.m_nX = static_cast<std::int32_t>(i);
        plan.items.push_back(item);
    }
    // The mission is the archive's last bytes: the table goes first.
    gamedata::WritePff(dir.File("kqbase.pff"), {{"cut.bms", gamedata::BuildMission(plan)}},
                       gamedata::PffLayout{2, true, 0});
    const Outcome r = Orvik(dir, "items '" + dir.File("kqbase.pff") + "' cut.bms");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Lines(r.out).size(), 4u);
    EXPECT_NE(r.err.find("The 3 whole items before the end of the file were loaded."), std::string::npos) << r.err;
}

TEST(OrvikMissions, JsonListsTheSameLinesInTheSameOrderWithEqualTexts)
{
    test::ScratchDir dir;
    std::vector<gamedata::PffFile> files;
    for (int i = 0; i < 300; ++i) {
        gamedata::MissionSpec plan;
        plan.title = i % 3 == 0 ? "Same \"quoted\" \xE9t\xE9" : "T" + std::to_string(i % 7);
        plan.seed = static_cast<std::uint32_t>(i);
        files.push_back({(i % 2 ? "M" : "m") + std::to_string(i % 5) + ".bms", gamedata::BuildMission(plan)});
    }
    gamedata::WritePff(dir.File("kqbase.pff"), files);
    const auto plain = Lines(Orvik(dir, "missions '" + dir.File("kqbase.pff") + "'").out);
    const auto doc = nlohmann::json::parse(Orvik(dir, "missions '" + dir.File("kqbase.pff") + "' --json").out);
    ASSERT_EQ(plain.size(), 300u);
    ASSERT_EQ(doc.size(), plain.size());
    // Equal texts keep the archive's order: their offsets rise.
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const auto& m = doc[i];
        EXPECT_EQ(plain[i],
                  std::to_string(m.at("offset").get<std::uint32_t>()) + "\t" + m.at("text").get<std::string>());
        EXPECT_EQ(m.at("text").get<std::string>(),
                  m.at("name").get<std::string>() + " (" + m.at("title").get<std::string>() + ")");
        if (i > 0 && doc[i - 1].at("text") == m.at("text")) {
            EXPECT_LT(doc[i - 1].at("offset").get<std::uint32_t>(), m.at("offset").get<std::uint32_t>());
        }
    }
}
