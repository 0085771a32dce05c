// Writes the starting corpus of every harness into DIR/<harness>/, from the demo game's writers:
//   ./build/fuzz/fuzz/make_fuzz_seeds fuzz/corpus
// The files are small on purpose: the fuzzers grow them, and the repository stays small.
#include "common/File.h"
#include "gamedata/ItemDefWriter.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PcxWriter.h"
#include "gamedata/PffWriter.h"
#include "mission/MissionModel.h"

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace orvik;
using Bytes = std::vector<std::uint8_t>;

std::string g_root;

void Seed(const std::string& harness, const std::string& name, const Bytes& bytes)
{
    std::filesystem::create_directories(g_root + "/" + harness);
    WriteWholeFile(g_root + "/" + harness + "/" + name, bytes.data(), bytes.size());
}

void Seed(const std::string& harness, const std::string& name, const std::string& text)
{
    Seed(harness, name, Bytes(text.begin(), text.end()));
}

CMissionItem Item(std::int32_t id, std::int32_t number, std::int32_t x, std::int32_t y)
{
    CMissionItem item;
    item.m_nId = id;
    item.m_nNumber = number;
    item.m_nX = x;
    item.m_nY = y;
    item.m_nZ = -x / 7;
    item.m_nAngle = 90 * number;
    item.m_nFlags = number % 2 ? CMissionItem::kMpOnlyFlag : 0;
    return item;
}

Bytes Mission(bool endMark)
{
    gamedata::MissionSpec plan;
    plan.title = "Seed";
    plan.terrainName = "dunes.ter";
    plan.items = {Item(1, 1, 1000, -2000), Item(2, 2, -67108864, 67108863), Item(3, 3, 0, 0)};
    plan.endMark = endMark;
    plan.tailSize = 8;
    return gamedata::BuildMission(plan);
}

const char* const kDescription = "; dunes\r\ncolor_map dunes_c\r\nelev_map\tdunes_e  \nsky clear\ndetail_map DUNES_D\n";

Bytes Pcx(std::uint8_t bits, std::uint8_t planes, std::uint16_t width, std::uint16_t height, std::uint16_t bytesPerLine)
{
    gamedata::PcxRawSpec plan;
    plan.bitsPerPixel = bits;
    plan.planes = planes;
    plan.xmax = static_cast<std::uint16_t>(width - 1);
    plan.ymax = static_cast<std::uint16_t>(height - 1);
    plan.bytesPerLine = bytesPerLine;
    for (std::size_t i = 0; i < plan.headerPalette.size(); ++i)
        plan.headerPalette[i] = static_cast<std::uint8_t>(i * 5);
    for (int y = 0; y < height; ++y) {
        Bytes line(std::size_t{bytesPerLine} * planes);
        for (std::size_t i = 0; i < line.size(); ++i)
            line[i] = static_cast<std::uint8_t>(i < 3 ? 0xC7 : 31 * i + 7 * static_cast<std::size_t>(y));
        plan.lines.push_back(line);
    }
    plan.trailingPalette = bits == 8 && planes == 1;
    for (std::size_t i = 0; i < plan.palette.size(); ++i)
        plan.palette[i] = static_cast<std::uint8_t>(255 - i % 256);
    return gamedata::EncodePcxRaw(plan);
}

// UTF-16 with its byte-order mark, of text whose bytes are Windows-1252 characters.
std::string Utf16(const std::string& text, bool littleEndian)
{
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : text) {
        const char unit[2] = {c, '\0'};
        out += littleEndian ? std::string(unit, 2) : std::string{unit[1], unit[0]};
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_fuzz_seeds DIR\n";
        return 2;
    }
    g_root = argv[1];

    const Bytes whole = Mission(true);
    const Bytes cut = Mission(false);
    gamedata::PffLayout tableFirst;
    tableFirst.tableFirst = true;
    tableFirst.gapBetween = 5;
    Seed("archive_fuzz", "two_missions.pff", gamedata::BuildPff({{"m01_seed.bms", whole}, {"M02_CUT.BMS", cut}}));
    Seed("archive_fuzz", "table_first.pff",
         gamedata::BuildPff({{"kq.pff", Bytes(20, 7)}, {"m03.bms", whole}}, tableFirst));
    Seed("roundtrip_fuzz", "whole", Bytes(whole.begin() + CMissionModel::kItemsOffset, whole.end()));
    Seed("roundtrip_fuzz", "no_end_mark", Bytes(cut.begin() + CMissionModel::kItemsOffset, cut.end()));

    const std::string itemDef = gamedata::BuildItemDef({{"Rifleman", 1}, {"Jeep, desert", 2}, {"Map Center", 3}});
    Seed("catalogue_fuzz", "items.def", itemDef);
    Seed("catalogue_fuzz", "odd_lines.def", "begin\r\nid\nbegin \"\"\nid 99999\nxbegin \"Tail\"");
    Seed("text_fuzz", "items.def", itemDef);
    Seed("text_fuzz", "dunes.ter", kDescription);
    Seed("terrain_fuzz", "dunes", std::string("\x00\x00", 2) + kDescription);
    Seed("terrain_fuzz", "dunes_at_4090", std::string("\xFA\x0F", 2) + kDescription);

    for (const char* harness : {"pcx_fuzz", "pcx_file_fuzz"}) {
        Seed(harness, "eight_bit.pcx", Pcx(8, 1, 5, 3, 6));
        Seed(harness, "true_colour.pcx", Pcx(8, 3, 4, 2, 4));
        Seed(harness, "one_bit.pcx", Pcx(1, 1, 9, 2, 2));
        Seed(harness, "four_bit.pcx", Pcx(4, 1, 3, 2, 2));
        Seed(harness, "four_planes.pcx", Pcx(1, 4, 8, 2, 2));
        Seed(harness, "two_bit.pcx", Pcx(2, 1, 4, 2, 2));
    }

    const std::string tsv =
        "Item\tX Position\tY Position\tZ Position\tAngle\tID\tMP Only\n"
        "Rifleman\t1000\t-2000\t-142\t90\t1\tY\r\nJeep, desert\t-67108864\t67108863\t0\t180\t2\tN\n";
    const std::string csv = "\xEF\xBB\xBFItem,X Position,Y Position,Z Position,Angle\n"
                            "Rifleman,1000,-2000,-142,90\n\"Jeep, desert\",-5,\"6\",7,\"8\"\"\"\n";
    const std::string json = R"([{"item":"Rifleman","x":1000,"y":-2000,"z":-142,"angle":90},)"
                             R"({"item":"Map Center","x":"5","y":0,"z":4294967296,"angle":-1}])";
    Seed("table_fuzz", "items.tsv", std::string(1, '\0') + tsv);
    Seed("table_fuzz", "items.csv", std::string(1, '\1') + csv);
    Seed("table_fuzz", "items.json", std::string(1, '\2') + json);
    // Paste: rows, current row and column, selected rows, then the clipboard's text.
    Seed("paste_fuzz", "header_from_row_1", std::string("\x06\x01\x00\x00", 4) + tsv);
    Seed("paste_fuzz", "header_to_selection", std::string("\x06\x00\x00\x05", 4) + tsv);
    Seed("paste_fuzz", "csv_quoted", std::string("\x06\x00\x00\x00", 4) + csv);
    Seed("paste_fuzz", "block_at_cell", std::string("\x06\x02\x01\x00", 4) + "1\t2\n3\t4\n\n");
    Seed("paste_fuzz", "one_column", std::string("\x06\x00\x00\x00", 4) + "Jeep, desert\r\nRifleman\n");

    // What spreadsheets save: each encoding and separator, quoted cells, rows of empty cells.
    const std::string semicolon = "\xEF\xBB\xBFItem;X Position;Y Position;Z Position;Angle;ID;MP Only\r\n"
                                  "\"Jeep; \"\"desert\"\"\";1000;-2000;-142;90;1;Y\r\n;;;;;;\r\nRifleman;1;2;3;4;;\r\n";
    const std::string windows1252 = "Item,X Position,Y Position,Z Position,Angle\r\n,,,,\r\n"
                                    "Caf\xE9 Table,1,2,3,4\r\n\"Tab\there\",17.910.457,\"1,5\",1.79E+07,-0\r\n";
    const std::string unicodeText = "Item\tX Position\tY Position\tZ Position\tAngle\r\n\"Map \"\"Center\"\"\"\t5\t6\t7\t8\r\n"
                                    "G\xE9n\xE9ral\t-1\t-2\t-3\t-4\r\n\t\t\t\t\r\n";
    const std::pair<const char*, std::string> sheets[] = {
        {"semicolon_utf8.csv", semicolon},
        {"comma_windows1252.csv", windows1252},
        {"tab_utf16le.txt", Utf16(unicodeText, true)},
        {"tab_utf16be.txt", Utf16(unicodeText, false)},
    };
    for (const auto& [name, text] : sheets) {
        Seed("table_fuzz", name, std::string(1, '\1') + text);
        Seed("paste_fuzz", name, std::string("\x06\x01\x00\x00", 4) + text);
    }
    return 0;
}
