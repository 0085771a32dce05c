#pragma once
// Writes ".pff" archives for the demo game and for tests. Unused header and entry fields get
// varying values so that no reader comes to rely on them.
#include <cstdint>
#include <string>
#include <vector>

namespace orvik::gamedata {

struct PffFile {
    std::string name; // stored as is, up to 16 bytes (16 bytes leave no NUL)
    std::vector<std::uint8_t> data;
};

struct PffLayout {
    std::uint32_t seed = 1;       // drives the unused fields' values
    bool tableFirst = false;      // entry table before the data instead of after it
    std::uint32_t gapBetween = 0; // junk bytes between entries' data
};

// Entry i of the table; dataOffset and dataSize as written.
struct PffWrittenEntry {
    std::string name;
    std::uint32_t dataOffset = 0;
    std::uint32_t dataSize = 0;
};

// The archive bytes; entries are listed in the table in the order given.
std::vector<std::uint8_t> BuildPff(const std::vector<PffFile>& files, const PffLayout& layout = {},
                                   std::vector<PffWrittenEntry>* written = nullptr);
void WritePff(const std::string& path, const std::vector<PffFile>& files, const PffLayout& layout = {},
              std::vector<PffWrittenEntry>* written = nullptr);

} // namespace orvik::gamedata
