#pragma once
// What loading a mission needs of the map: a colour-map file to show.
#include <cstdint>
#include <optional>
#include <string>

namespace orvik {

struct MapSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

class TerrainView {
public:
    virtual ~TerrainView() = default;
    // Decodes the colour map at path (which may not exist: then the terrain goes black), then
    // deletes the file and forgets the view centre.
    virtual void LoadMap(std::string path) = 0;
    // The size of the colour map the last LoadMap refused because decoding it would need more
    // memory than the view allows; none when it was not refused for that.
    virtual std::optional<MapSize> OversizedMap() const { return std::nullopt; }
};

} // namespace orvik
