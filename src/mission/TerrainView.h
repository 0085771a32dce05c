#pragma once
// What loading a mission needs of the map: a colour-map file to show.
#include <string>

namespace orvik {

class ITerrainView {
public:
    virtual ~ITerrainView() = default;
    // Decodes the colour map at path (which may not exist: then the terrain goes black), then
    // deletes the file and forgets the view centre.
    virtual void LoadMap(std::string path) = 0;
};

} // namespace orvik
