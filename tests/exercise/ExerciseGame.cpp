#include "exercise/ExerciseGame.h"

#include "gamedata/ItemDefWriter.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PcxWriter.h"
#include "gamedata/PffWriter.h"
#include "common/Paths.h"

#include <array>
#include <iterator>
#include <fstream>

namespace orvik::exercise {

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Items spread over some 300 map pixels around the origin, so that most are on the first view.
std::vector<CMissionItem> Items(const std::vector<std::int32_t>& kinds, std::uint32_t seed)
{
    std::vector<CMissionItem> items;
    std::uint32_t state = seed;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<std::int32_t>((state >> 8) % 301) - 150;
    };
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        CMissionItem item;
        item.m_nId = kinds[i];
        item.m_nX = next() * kUnit + next();
        item.m_nY = next() * kUnit;
        item.m_nZ = next();
        item.m_nAngle = (next() + 150) % 360;
        item.m_nNumber = static_cast<std::int32_t>(i + 1);
        item.m_nFlags = i % 5 == 2 ? CMissionItem::kMpOnlyFlag : 0;
        item.m_nWord2 = next();
        item.m_nWords8To13 = {next(), 1, 2, 3, 4, next()};
        item.m_nWords15To23 = {9, 8, 7, 6, 5, 4, 3, 2, next()};
        items.push_back(item);
    }
    return items;
}

// Hundreds of items within a few pixels of the centre item: kinds stacked on one pixel, and every
// third item exactly where the one before it stands.
std::vector<CMissionItem> Crowd(std::size_t count)
{
    const std::int32_t kinds[] = {5001, 1001, 2001, 3001, 4001, 6001, 5002, 4002, 1001, 5001};
    std::vector<CMissionItem> items = Items(std::vector<std::int32_t>(count, 1001), 5);
    for (std::size_t i = 0; i < count; ++i) {
        CMissionItem& item = items[i];
        item.m_nId = i == 0 ? 6500 : kinds[i % std::size(kinds)];
        if (i % 3 == 2) {
            item.m_nX = items[i - 1].m_nX;
            item.m_nY = items[i - 1].m_nY;
            item.m_nZ = items[i - 1].m_nZ;
            item.m_nId = items[i - 1].m_nId;
        } else {
            const auto spread = static_cast<std::int32_t>(i * 7 % 5);
            item.m_nX = (40 + spread) * kUnit + static_cast<std::int32_t>(i % 4) * 1000;
            item.m_nY = -(30 + static_cast<std::int32_t>(i * 3 % 4)) * kUnit - static_cast<std::int32_t>(i % 2);
        }
    }
    return items;
}

gamedata::PffFile Mission(const std::string& entry, const std::string& title, std::vector<CMissionItem> items)
{
    gamedata::MissionSpec plan;
    plan.title = title;
    plan.terrainName = "dunes";
    plan.items = std::move(items);
    plan.seed = static_cast<std::uint32_t>(entry.size());
    return {entry, gamedata::BuildMission(plan)};
}

} // namespace

ExerciseGame WriteExerciseGame(const std::string& dir)
{
    ExerciseGame game{dir, dir + "kqbase.pff", {}, {"big.bms", "crowd.bms", "many.bms", "mixed.bms", "one.bms"}};
    // "Crate" twice: a save gives items of the second kind the first one's id.
    const std::vector<gamedata::ItemDefSpec> catalogue = {
        {"Soldier", 5001}, {"Rifleman", 5002}, {"Tree", 1001},      {"Truck", 2001},      {"Bunker", 3001},
        {"Crate", 4001},   {"Crate", 4002},    {"Waypoint", 6001}, {"Map Center", 6500}};
    for (const auto& def : catalogue)
        game.names.push_back(def.name);
    Write(dir + "items.def", gamedata::BuildItemDef(catalogue, 3));

    std::vector<std::int32_t> big;
    const std::int32_t cycle[] = {5001, 1001, 2001, 3001, 4001, 6001, 5002, 4002};
    for (int i = 0; i < 30; ++i)
        big.push_back(cycle[i % 8]);
    big[12] = 6500; // the map centres on it
    // A few thousand items over some 300 pixels: most of the first view is covered.
    std::vector<std::int32_t> many;
    for (int i = 0; i < 3000; ++i)
        many.push_back(cycle[i % 8]);
    gamedata::WritePff(game.basePath,
                       {Mission("one.bms", "One", Items({4002}, 3)),
                        {"readme.txt", Bytes("not a mission")},
                        Mission("big.bms", "Big", Items(big, 1)),
                        Mission("mixed.bms", "Mixed", Items({5001, 7000, 2001, 6500, 1001, 3001}, 2)),
                        Mission("crowd.bms", "Crowd", Crowd(400)),
                        Mission("many.bms", "Many", Items(many, 4))},
                       {4, false, 8});

    std::array<std::uint8_t, 768> palette{};
    for (std::size_t i = 0; i < 4; ++i)
        for (std::size_t c = 0; c < 3; ++c)
            palette[i * 3 + c] = static_cast<std::uint8_t>(30 + i * 20 + c * 10);
    std::vector<std::uint8_t> indices(512 * 512);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<std::uint8_t>((i / 512 / 64 + i % 512 / 64) % 4);
    gamedata::WritePff(dir + "kq.pff",
                       {{"dunes", Bytes("color_map dunes_c\r\nelev_map dunes_e\r\ndetail_map dunes_d\r\n")},
                        {"dunes_c.pcx", gamedata::EncodePcx8(512, 512, indices, palette)},
                        {"dunes_e.pcx", Bytes("e")},
                        {"dunes_d.pcx", Bytes("d")}},
                       {9, true, 0});
    return game;
}

} // namespace orvik::exercise

namespace orvik::exercise {

ExerciseGame ExistingExerciseGame(const std::string& dir)
{
    // The names come from writing the same game aside; the files are the ones already in dir.
    const TempDir aside;
    ExerciseGame game = WriteExerciseGame(aside.Path());
    game.dir = dir;
    game.basePath = dir + "kqbase.pff";
    return game;
}

} // namespace orvik::exercise
