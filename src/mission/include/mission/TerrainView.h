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

// Where a colour map's bytes lie: the terrain archive (its path as opened and its last change)
// and the entry's place in it. Equal sources hold equal bytes, so a decoded map can be kept.
struct MapSource {
    std::string archive;
    std::int64_t modified = 0; // the file's modification time, in the clock's ticks
    std::int64_t offset = 0;
    std::uint32_t size = 0;
    bool operator==(const MapSource&) const = default;
};

class TerrainView {
public:
    virtual ~TerrainView() = default;
    // Shows the colour map of source again when the view still holds it decoded, and forgets the
    // view centre as LoadMap does; false when it must be read.
    virtual bool ShowKeptMap(const MapSource& /*source*/) { return false; }
    // As LoadMap; the view may keep the result for source.
    virtual void LoadMap(std::string path, const MapSource& /*source*/) { LoadMap(std::move(path)); }
    // Decodes the colour map at path (which may not exist: then the terrain goes black), then
    // deletes the file and forgets the view centre.
    virtual void LoadMap(std::string path) = 0;
    // Why the decoder refused the colour map of the last LoadMap (TooLarge: decoding it would need
    // more memory than the view allows); none when it was shown or there was no file.
    virtual std::optional<MapRefusal> RefusedMap() const { return std::nullopt; }
};

} // namespace orvik
