#include "gui/TestGame.h"

#include "gamedata/ItemDefWriter.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PcxWriter.h"
#include "gamedata/PffWriter.h"
#include "support/TestSupport.h"

#include <array>
#include <fstream>
#include <stdexcept>

namespace orvik::test {

namespace {

CMissionItem Item(std::int32_t id, std::int32_t x, std::int32_t y, std::int32_t number, std::int32_t flags = 0)
{
    CMissionItem item;
    item.m_nId = id;
    item.m_nX = x;
    item.m_nY = y;
    item.m_nZ = number * 3 - 40;
    item.m_nAngle = number * 7 % 360;
    item.m_nNumber = number;
    item.m_nFlags = flags;
    // Fields the editor never shows still vary, so nothing comes to rely on them.
    item.m_nWord2 = number * 31 + 5;
    item.m_nWords8To13 = {number, -number, 7, 0, number * 2, 99};
    item.m_nWords15To23 = {1, 2, 3, number, 5, 6, 7, 8, -9};
    return item;
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> ColorMap()
{
    // Dull colours only, so no terrain pixel looks like a marker or a label.
    std::array<std::uint8_t, 768> palette{};
    const std::uint8_t colours[4][3] = {{30, 60, 40}, {60, 90, 50}, {90, 80, 60}, {40, 50, 100}};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c)
            palette[static_cast<std::size_t>(i * 3 + c)] = colours[i][c];
    const std::uint32_t side = 512;
    std::vector<std::uint8_t> indices(side * side);
    for (std::uint32_t y = 0; y < side; ++y)
        for (std::uint32_t x = 0; x < side; ++x)
            indices[y * side + x] = static_cast<std::uint8_t>((x / 32 + y / 32 + (x * 7 + y) % 3) % 4);
    return gamedata::EncodePcx8(side, side, indices, palette, 11);
}

} // namespace

TestGame::TestGame(const std::string& folder, bool withCatalogue) : dir(folder), basePath(folder + "kqbase.pff")
{
    if (withCatalogue) {
        const std::string catalogue = gamedata::BuildItemDef({{"Soldier", kSoldier},
                                                              {"Tree", kTree},
                                                              {"Truck", kTruck},
                                                              {"Bunker", kBunker},
                                                              {"Crate", kCrate},
                                                              {"Waypoint", kWaypoint},
                                                              {"Map Center", kMapCenter}},
                                                             17);
        WriteBytes(dir + "items.def", Bytes(catalogue));
    }

    TestMission alpha{"alpha.bms", "alpha.bms (Alpha Strike)", {}, 0};
    alpha.items = {Item(kSoldier, 10 * kUnit, 20 * kUnit, 11, 16),
                   Item(kMapCenter, 0, 0, 12),
                   Item(kTree, -20 * kUnit, 10 * kUnit, 13),
                   Item(kTruck, 30 * kUnit, -10 * kUnit, 14, 32),
                   Item(kBunker, -30 * kUnit, -20 * kUnit, 15),
                   Item(kCrate, 50 * kUnit, 5 * kUnit, 16),
                   Item(kWaypoint, 20 * kUnit, -40 * kUnit, 17),
                   Item(kMapCenter, 40 * kUnit, -30 * kUnit, 18),
                   Item(kUnknown, -5, 3, 19)};
    TestMission bravo{"Bravo.BMS", "bravo.bms (Bridge)", {}, 0};
    for (int i = 0; i < 5; ++i) {
        const std::int32_t ids[] = {kSoldier, kCrate, kTree, kTruck, kBunker};
        bravo.items.push_back(Item(ids[i], (i + 1) * kUnit * 3, -(i + 1) * kUnit * 2, 21 + i));
    }
    TestMission charlie{"charlie.bms", "charlie.bms (Cold)", {Item(kCrate, kUnit, kUnit, 31)}, 0};
    TestMission unsafe{"r&d.bms", "r&d.bms (Unsafe)", {Item(kSoldier, 0, 0, 41)}, 0};

    const auto mission = [](const TestMission& m, const std::string& title, const std::string& terrain) {
        gamedata::MissionSpec plan;
        plan.title = title;
        plan.terrainName = terrain;
        plan.items = m.items;
        plan.seed = static_cast<std::uint32_t>(m.items.size() * 13 + 1);
        return gamedata::PffFile{m.entry, gamedata::BuildMission(plan)};
    };
    // Archive order differs from the list's order on purpose.
    const std::vector<gamedata::PffFile> baseFiles = {mission(charlie, "Cold", "nowhere"),
                                                      {"readme.txt", Bytes("not a mission")},
                                                      mission(bravo, "Bridge", "dunes"),
                                                      mission(alpha, "Alpha Strike", "Dunes"),
                                                      mission(unsafe, "Unsafe", "dunes")};
    std::vector<gamedata::PffWrittenEntry> written;
    gamedata::WritePff(basePath, baseFiles, {3, false, 5}, &written);
    const auto offsetOf = [&written](const std::string& entry) {
        for (const auto& w : written)
            if (w.name == entry)
                return w.dataOffset;
        throw std::logic_error("entry not written: " + entry);
    };
    alpha.offset = offsetOf(alpha.entry);
    bravo.offset = offsetOf(bravo.entry);
    charlie.offset = offsetOf(charlie.entry);
    unsafe.offset = offsetOf(unsafe.entry);
    missions = {alpha, bravo, charlie, unsafe};

    colorMap = ColorMap();
    elevMap = Bytes("elevation map bytes");
    detailMap = Bytes("detail map bytes");
    description =
        "; dunes by the sea\r\ncolor_map   Dunes_C  \r\nsky blue\r\nelev_map dunes_e\r\ndetail_map\tdunes_d\r\n";
    gamedata::WritePff(dir + "kq.pff",
                       {{"dunes", Bytes(description)},
                        {"dunes_c.pcx", colorMap},
                        {"dunes_e.pcx", elevMap},
                        {"dunes_d.pcx", detailMap}},
                       {9, true, 0});
}

FramePoint FrameOf(std::int32_t worldX, std::int32_t worldY, int centerX, int centerY)
{
    // World to map pixels truncates toward zero, as C++ integer division does.
    return {worldX / kUnit + 512 - centerX, 512 - worldY / kUnit - centerY};
}

std::int32_t RecordWord(const std::string& archivePath, std::uint32_t missionOffset, int item, int word)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(archivePath);
    const std::size_t at =
        missionOffset + 264u + static_cast<std::size_t>(item) * 96u + static_cast<std::size_t>(word) * 4u;
    if (at + 4 > bytes.size())
        throw std::out_of_range("record word past the end of the archive");
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
        (static_cast<std::uint32_t>(bytes[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24));
}

} // namespace orvik::test
