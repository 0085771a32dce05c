#pragma once
// Encodes PCX files (run-length encoded) for the demo game and for tests.
#include "image/PackedImage.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orvik::gamedata {

// 8 bits, one plane, version 5, with the 256-entry palette after the marker 12 at the end.
// indices holds width * height palette indices, rows top first.
std::vector<std::uint8_t> EncodePcx8(std::uint32_t width, std::uint32_t height,
                                     const std::vector<std::uint8_t>& indices,
                                     const std::array<std::uint8_t, 768>& palette, std::uint32_t seed = 3);

// 24 bits (8 bits x 3 planes), version 5, from a packed RGB image.
std::vector<std::uint8_t> EncodePcx24(const PackedImage& image, std::uint32_t seed = 3);

// Any layout, for tests: raw header fields, and the scan lines already packed (each line holds
// bytesPerLine * planes bytes), run-length encoded here. trailingPalette adds marker and palette.
struct PcxRawSpec {
    std::uint8_t version = 5;
    std::uint8_t bitsPerPixel = 8;
    std::uint8_t planes = 1;
    std::uint16_t xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    std::uint16_t bytesPerLine = 0;
    std::array<std::uint8_t, 48> headerPalette{};
    std::vector<std::vector<std::uint8_t>> lines;
    bool trailingPalette = false;
    std::array<std::uint8_t, 768> palette{};
    std::uint32_t seed = 3;
};
std::vector<std::uint8_t> EncodePcxRaw(const PcxRawSpec& plan);

// Run-length encodes one scan line (runs never cross the line's end).
void EncodePcxLine(const std::uint8_t* line, std::size_t size, std::vector<std::uint8_t>& out);

} // namespace orvik::gamedata
