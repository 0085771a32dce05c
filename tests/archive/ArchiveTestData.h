#pragma once
// Archive bytes for the archive tests, made with the demo game's archive writer.
#include "common/File.h"
#include "gamedata/PffWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvik::test {

// size bytes that differ from file to file.
inline std::vector<std::uint8_t> Pattern(std::size_t size, std::uint32_t seed)
{
    std::vector<std::uint8_t> out(size);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : out) {
        x = x * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(x >> 16);
    }
    return out;
}

inline void Patch32(std::vector<std::uint8_t>& bytes, std::size_t at, std::int64_t value)
{
    PutInt32(bytes.data() + at, static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

// Offset of field `field` of table entry `index` in an archive built by BuildPff.
inline std::size_t EntryField(const std::vector<std::uint8_t>& bytes, std::size_t index, std::size_t field)
{
    return static_cast<std::size_t>(GetInt32(bytes.data() + 16)) + index * 32 + field;
}

} // namespace orvik::test
