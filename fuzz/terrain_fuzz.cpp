// A terrain description of any content must give the same map names whether it is parsed as one
// text or read from kq.pff in pieces, wherever the pieces happen to break.
#include "FuzzCheck.h"
#include "gamedata/PffWriter.h"
#include "mission/MissionModel.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool SameNames(const orvik::TerrainNames& a, const orvik::TerrainNames& b)
{
    return a.colorMapFile == b.colorMapFile && a.elevMapFile == b.elevMapFile && a.detailMapFile == b.detailMapFile;
}

} // namespace

// Input: two bytes giving the length of a line without keys put before the description (so the
// reads from the archive break at every place in it), then the description.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orvik;
    if (size < 2)
        return 0;
    const std::size_t filler = static_cast<std::size_t>(data[0] | (data[1] << 8)) % 8192;
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    const TerrainNames direct = ParseTerrainDescription(text);

    const std::string stored = filler == 0 ? text : std::string(filler - 1, '-') + "\n" + text;
    fuzz::Require(SameNames(ParseTerrainDescription(stored), direct), "a line without keys changes nothing");

    std::vector<std::uint8_t> mission(CMissionModel::kItemsOffset + 8, 0);
    std::memcpy(mission.data() + CMissionModel::kTerrainNameOffset, "DESC.TER", 8);
    const std::string base = fuzz::ScratchFile("kqbase.pff", mission.data(), mission.size());
    const std::string terrain = fuzz::ScratchFile("kq.pff", nullptr, 0);
    gamedata::WritePff(terrain, {{"desc.ter", std::vector<std::uint8_t>(stored.begin(), stored.end())}});

    CMissionModel model;
    File file(base, File::Mode::Read);
    fuzz::Require(model.ReadTerrainInfo(file, 0, base), "the description in kq.pff is found");
    fuzz::Require(model.terrain.terrainFile == "desc.ter", "the mission's terrain name is kept folded");
    fuzz::Require(SameNames(model.terrain, direct), "kq.pff and the text give the same map names");
    return 0;
}
