// orvik in folders whose names the system's 8-bit code page cannot hold: the names arrive whole
// from the command line, every file call finds them, and messages print them as typed.
#include "cli/OrvikRun.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace orvik;

namespace {

using test::Lines;

TEST(OrvikUnicodeFolders, DemoItemsSaveItemsRoundTrip)
{
    const char* const folders[] = {
        "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 \xD0\xA2\xD0\xB0\xD1\x80\xD0\xBD", // Cyrillic with a blank
        "mods \xF0\x9F\x8E\xAE \xE2\x98\x83",                                // emoji and a snowman
    };
    test::ScratchDir io;
    for (const char* folder : folders) {
        SCOPED_TRACE(folder);
        const std::string game = io.File(folder) + "/";
        const std::string base = game + "kqbase.pff";
        ASSERT_EQ(test::RunOrvik(io, {"demo", game}).status, 0);
        EXPECT_EQ(test::ListFolder(game), (std::vector<std::string>{"items.def", "kq.pff", "kqbase.pff"}));

        const test::OrvikRun list = test::RunOrvik(io, {"missions", base});
        ASSERT_EQ(list.status, 0) << list.err;
        const std::string line = Lines(list.out).at(0);
        const std::string mission = line.substr(line.find('\t') + 1, line.find(' ') - line.find('\t') - 1);

        const test::OrvikRun before = test::RunOrvik(io, {"items", base, mission});
        ASSERT_EQ(before.status, 0) << before.err;
        EXPECT_EQ(before.err, "");
        std::vector<std::string> rows = Lines(before.out);
        ASSERT_GE(rows.size(), 2u);
        // The first item's X position, the second cell, moved by 5.
        std::string& row = rows[1];
        const auto x = row.find('\t') + 1;
        const auto xEnd = row.find('\t', x);
        row.replace(x, xEnd - x, std::to_string(std::stoi(row.substr(x, xEnd - x)) + 5));
        std::string table;
        for (const auto& r : rows)
            table += r + "\n";
        const std::string tablePath = game + "\xD1\x82\xD0\xB0\xD0\xB1.tsv";
        test::WriteBytes(tablePath, std::vector<std::uint8_t>(table.begin(), table.end()));

        const test::OrvikRun saved = test::RunOrvik(io, {"save", base, mission, tablePath});
        EXPECT_EQ(saved.status, 0) << saved.err;
        EXPECT_EQ(saved.out, "Data saved!\n");
        EXPECT_EQ(test::RunOrvik(io, {"items", base, mission}).out, table);
        EXPECT_TRUE(test::Exists(base + ".orig"));

        // A missing archive is named as it was typed, not converted a second time.
        const test::OrvikRun missing = test::RunOrvik(io, {"items", game + "absent.pff", mission});
        EXPECT_EQ(missing.status, 1);
        EXPECT_EQ(missing.err, game + "absent.pff was not found.\n");
    }
}

} // namespace
