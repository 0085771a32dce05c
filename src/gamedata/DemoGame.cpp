#include "gamedata/DemoGame.h"

#include "common/File.h"
#include "common/FileError.h"
#include "common/NativePath.h"
#include "gamedata/DemoCatalogue.h"
#include "gamedata/DemoMissions.h"
#include "gamedata/DemoTerrain.h"
#include "gamedata/ItemDefWriter.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace orvik::gamedata {

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string Lines(const std::vector<std::string>& lines, const char* eol)
{
    std::string out;
    for (const auto& line : lines)
        out += line + eol;
    return out;
}

// The terrain name as a mission stores it: the description's name in whatever case the mission's
// author typed it.
std::string MissionTerrainName(const DemoTerrain& terrain, DemoRandom& rng)
{
    return rng.Chance(40) ? terrain.descName : VaryCase(terrain.baseName + ".ter", rng);
}

PffLayout VariedLayout(DemoRandom& rng)
{
    PffLayout layout;
    layout.seed = rng.Next();
    layout.tableFirst = rng.Chance(50);
    layout.gapBetween = static_cast<std::uint32_t>(rng.Range(0, 12));
    return layout;
}

// Writes every file under a scratch name first and renames them only when all are written, so a
// failure leaves no half-written game behind.
void WriteAll(const std::string& dir, const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& files)
{
    std::vector<std::string> written;
    try {
        for (const auto& [name, data] : files) {
            const std::string part = dir + name + ".part";
            WriteWholeFile(part, data.data(), data.size());
            written.push_back(part);
        }
        for (const auto& [name, data] : files) {
            std::error_code ec;
            fs::rename(PathFromUtf8(dir + name + ".part"), PathFromUtf8(dir + name), ec);
            if (ec)
                throw FileError(FileErrorKindFromErrorCode(ec), dir + name);
        }
    } catch (...) {
        std::error_code ec;
        for (const auto& part : written)
            fs::remove(PathFromUtf8(part), ec);
        throw;
    }
}

} // namespace

void WriteDemoGame(const std::string& dir, const DemoOptions& options)
{
    if (options.colorMapSize < 16 || options.colorMapSize > 4096)
        throw UserError("The colour map size must lie between 16 and 4096 pixels; " +
                        std::to_string(options.colorMapSize) + " was asked for.");

    // The folder first: a folder that cannot be made fails before any work is done.
    std::error_code ec;
    if (!dir.empty() && !fs::is_directory(PathFromUtf8(dir), ec)) {
        fs::create_directories(PathFromUtf8(dir), ec);
        std::error_code again;
        if (!fs::is_directory(PathFromUtf8(dir), again))
            throw FileError(ec ? FileErrorKindFromErrorCode(ec) : FileErrorKind::BadPath, dir);
    }
    std::string folder = dir;
    if (!folder.empty() && folder.back() != '/' && folder.back() != fs::path::preferred_separator)
        folder += '/';

    DemoRandom rng(options.seed);
    const DemoCatalogue catalogue = BuildDemoCatalogue(rng);
    const std::string itemDef = BuildItemDef(catalogue.Specs(), rng.Next());

    std::vector<TerrainLook> looks = {TerrainLook::Desert, TerrainLook::Temperate, TerrainLook::Snowy,
                                      TerrainLook::Island};
    rng.Shuffle(looks);
    looks.resize(static_cast<std::size_t>(rng.Range(3, 4)));
    std::vector<DemoTerrain> terrains;
    std::vector<PffFile> terrainFiles;
    std::vector<std::string> terrainList;
    for (TerrainLook look : looks) {
        terrains.push_back(BuildDemoTerrain(look, options.colorMapSize, rng));
        for (auto& file : terrains.back().files)
            terrainFiles.push_back(std::move(file));
        terrains.back().files.clear();
        terrainList.push_back(terrains.back().baseName);
    }
    terrainFiles.push_back({"terrains.lst", Bytes(Lines(terrainList, "\r\n"))});
    rng.Shuffle(terrainFiles);

    std::vector<PffFile> baseFiles;
    for (const auto& plan : PlanDemoMissions(terrains.size(), rng)) {
        const DemoTerrain& terrain = terrains[plan.terrain];
        MissionSpec missionFile;
        missionFile.title = plan.title;
        missionFile.terrainName = MissionTerrainName(terrain, rng);
        missionFile.items = PlaceDemoItems(plan, terrain, catalogue, rng);
        missionFile.tailSize = static_cast<std::uint32_t>(rng.Range(0, 64));
        missionFile.seed = rng.Next();
        baseFiles.push_back({plan.entryName, BuildMission(missionFile)});
    }
    baseFiles.push_back({"readme.txt", Bytes(Lines({"Tarnhold sample missions.", "Open kqbase.pff with the editor.",
                                                    "Missions are the .bms entries."},
                                                   "\r\n"))});
    baseFiles.push_back({"sounds.lst", Bytes(Lines({"gunshot.wav", "engine_idle.wav", "wind_loop.wav"}, "\n"))});
    baseFiles.push_back({"Strings.DAT", Bytes(Lines({"1 Mission complete", "2 Mission failed"}, "\n"))});
    rng.Shuffle(baseFiles);

    const auto kq = BuildPff(terrainFiles, VariedLayout(rng));
    const auto kqbase = BuildPff(baseFiles, VariedLayout(rng));

    WriteAll(folder, {{"items.def", Bytes(itemDef)}, {"kq.pff", kq}, {"kqbase.pff", kqbase}});
}

} // namespace orvik::gamedata
