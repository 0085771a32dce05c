// Tables as a spreadsheet program saves them: every encoding and separator it offers saves exactly
// the cells it held, read back with orvik items; and orvik items --spreadsheet goes through one and back.
#include "cli/OrvikRun.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

using namespace orvik;

namespace {

const std::string kData = std::string(ORVIK_TEST_DATA) + "/sheets/";
const std::string kMission = "m05_bridge.bms";

// The first five cells of each line of plain comma-separated text without quotes.
std::vector<std::string> SavedCells(const std::string& csv)
{
    std::vector<std::string> rows;
    for (const std::string& line : test::Lines(csv)) {
        std::string row;
        std::istringstream in(line);
        std::string cell;
        for (int c = 0; c < 5 && std::getline(in, cell, ','); ++c)
            row += cell + "|";
        rows.push_back(row);
    }
    return rows;
}

struct Sheets : ::testing::Test {
    test::ScratchDir dir;
    std::string base;
    std::vector<std::string> held = SavedCells(test::ReadText(kData + "edited.csv")); // what the sheet held

    void SetUp() override
    {
        ASSERT_EQ(test::RunOrvikLine(dir, "demo '" + dir.File("game") + "' --seed 1").status, 0);
        base = dir.File("game/kqbase.pff");
    }
    // Saves table into the mission; the cells read back must be the sheet's.
    void ExpectSaved(const std::string& table, bool windows1252)
    {
        const test::OrvikRun saved = test::RunOrvikLine(dir, "save '" + base + "' " + kMission + " '" + table + "' --no-backup");
        EXPECT_EQ(saved.status, 0) << saved.err;
        EXPECT_EQ(saved.err.find("was read as Windows-1252") != std::string::npos, windows1252) << saved.err;
        const test::OrvikRun back = test::RunOrvikLine(dir, "items '" + base + "' " + kMission + " --format csv");
        EXPECT_EQ(SavedCells(back.out), held);
    }
};

TEST_F(Sheets, EachFormatACalcSavedSavesTheCellsItHeld)
{
    const std::pair<const char*, bool> cases[] = {
        {"calc_comma_utf8.csv", false},     {"calc_comma_1252.csv", true}, {"calc_semicolon_utf8.csv", false},
        {"calc_semicolon_1252.csv", true}, {"calc_unicode_text.txt", false},
    };
    for (const auto& [name, windows1252] : cases) {
        SCOPED_TRACE(name);
        // Copied into the scratch folder: a fixture's path from the build host may not be a path the
        // program's own system reads as one (under Wine, "/work/..." reads as a Windows option).
        const std::string copy = dir.File(name);
        test::WriteBytes(copy, test::ReadBytes(kData + name));
        ExpectSaved(copy, windows1252);
    }
    // A last line of empty cells, as spreadsheets often add.
    const std::string padded = dir.File("padded.tsv");
    std::string tsv = test::ReadText(kData + "edited.csv");
    for (char& c : tsv)
        c = c == ',' ? '\t' : c;
    const std::string text = tsv + "\t\t\t\t\t\t\r\n";
    test::WriteBytes(padded, std::vector<std::uint8_t>(text.begin(), text.end()));
    ExpectSaved(padded, false);
}

TEST_F(Sheets, SpreadsheetOutputHasTheMarkCrlfAndTheSeparatorAsked)
{
    const test::OrvikRun semi = test::RunOrvikLine(
        dir, "items '" + base + "' " + kMission + " --format csv --separator semicolon --spreadsheet");
    ASSERT_EQ(semi.status, 0) << semi.err;
    EXPECT_EQ(semi.out.rfind("\xEF\xBB\xBFItem;X Position;Y Position;Z Position;Angle;ID;MP Only\r\n", 0), 0u);
    EXPECT_EQ(std::count(semi.out.begin(), semi.out.end(), '\n'), std::count(semi.out.begin(), semi.out.end(), '\r'));
    EXPECT_EQ(test::RunOrvikLine(dir, "items '" + base + "' " + kMission + " --format json --spreadsheet").status, 2);
    EXPECT_EQ(test::RunOrvikLine(dir, "items '" + base + "' " + kMission + " --separator semicolon").status, 2);
}

// soffice from PATH, or empty.
std::string FindSoffice()
{
    const char* path = std::getenv("PATH");
    std::istringstream in(path ? path : "");
    for (std::string folder; std::getline(in, folder, ':');)
        if (!folder.empty() && std::filesystem::exists(folder + "/soffice"))
            return folder + "/soffice";
    return {};
}

// The table converted by LibreOffice Calc, with its CSV filter's options (separator, quote, charset).
TEST_F(Sheets, WhatLibreOfficeCalcWritesToday)
{
    const std::string soffice = FindSoffice();
    if (soffice.empty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const test::OrvikRun ours = test::RunOrvikLine(
        dir, "items '" + base + "' " + kMission + " --format csv --separator semicolon --spreadsheet");
    const std::string source = dir.File("ours.csv");
    test::WriteBytes(source, std::vector<std::uint8_t>(ours.out.begin(), ours.out.end()));
    held = SavedCells(test::RunOrvikLine(dir, "items '" + base + "' " + kMission + " --format csv").out);
    // 59 semicolon, 44 comma, 9 tab; 76 UTF-8, 1 Windows-1252, 65535 UTF-16.
    const std::pair<const char*, bool> filters[] = {
        {"59,34,76", false}, {"44,34,1", true}, {"9,34,65535", false}, {"59,34,1", true}};
    for (const auto& [filter, windows1252] : filters) {
        SCOPED_TRACE(filter);
        const std::string out = dir.File(std::string("out") + filter[0] + filter[1] + filter[6]);
        const int status = test::RunProgram(
            soffice,
            {"-env:UserInstallation=file://" + dir.File("profile"), "--headless",
             "--infilter=Text - txt - csv (StarCalc):59,34,76,1",
             std::string("--convert-to"), std::string("csv:Text - txt - csv (StarCalc):") + filter, "--outdir", out, source},
            test::NullDevice(), dir.File("soffice.out"), dir.File("soffice.err"));
        ASSERT_EQ(status, 0) << test::ReadText(dir.File("soffice.err"));
        ExpectSaved(out + "/ours.csv", windows1252);
    }
}

} // namespace
