#pragma once
// A packed RGB image: rows top first, width * 3 bytes a row, no padding, red green blue.
#include <cstdint>
#include <vector>

namespace orvik {

struct PackedImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 3 bytes
};

} // namespace orvik
