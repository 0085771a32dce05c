#pragma once
// A believable sample game directory: kqbase.pff with several missions, kq.pff with several
// terrains (descriptions, colour, depth and detail maps) and items.def.
#include <cstdint>
#include <string>

namespace orvik::gamedata {

struct DemoOptions {
    std::uint32_t seed = 1;
    int colorMapSize = 1024; // side of the colour maps; smaller for quick tests
};

// Writes kqbase.pff, kq.pff and items.def into dir (created when missing). Deterministic for a seed.
// A colour map size outside 16..4096 throws UserError; a folder or file that cannot be written
// throws FileError, leaving no partly written file behind.
void WriteDemoGame(const std::string& dir, const DemoOptions& options = {});

} // namespace orvik::gamedata
