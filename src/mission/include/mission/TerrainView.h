#pragma once
// What loading a mission needs of the map: a colour-map file to show.
#include "image/Pcx.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orvik {

struct MapSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Why a colour map was not shown, with its size as its header gives it (0 x 0 when unknown).
struct MapRefusal {
    PcxError reason = PcxError::None;
    MapSize size;
};

class TerrainView {
public:
    virtual ~TerrainView() = default;
    // Decodes the colour map at path (which may not exist: then the terrain goes black), then
    // deletes the file and forgets the view centre.
    virtual void LoadMap(std::string path) = 0;
    // Why the decoder refused the colour map of the last LoadMap (TooLarge: decoding it would need
    // more memory than the view allows); none when it was shown or there was no file.
    virtual std::optional<MapRefusal> RefusedMap() const { return std::nullopt; }
};

} // namespace orvik
