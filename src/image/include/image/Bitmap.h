#pragma once
// Bitmap operations on packed RGB images: box-average shrinking, the bottom-up BGR DIB layout,
// and drawing onto a Canvas.
#include "image/PackedImage.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace orvik {

class Canvas;

// Shrinks by box averaging; refuses (no image) a null source, a size of 0 or enlarging.
std::optional<PackedImage> ShrinkImage(const std::uint8_t* pixels, std::uint32_t srcWidth, std::uint32_t srcHeight,
                                       std::uint32_t dstWidth, std::uint32_t dstHeight);

// Bottom-up rows, blue green red, stride rounded up to 4, zero padding. No block for null pixels
// or a size of 0.
std::optional<std::vector<std::uint8_t>> MakeDibBits(const std::uint8_t* pixels, std::uint32_t width,
                                                     std::uint32_t height, std::uint32_t& stride);

// Draws the image into canvas at (x, y) with size dstWidth x dstHeight: 1:1 or stretched
// (nearest pixel). False for a null canvas or pixels, or a size no DIB could describe.
bool DrawImage(Canvas* canvas, const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height, std::int32_t x,
               std::int32_t y, std::int32_t dstWidth, std::int32_t dstHeight);

} // namespace orvik
