#include "image/Bitmap.h"

#include "image/Canvas.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvik {

namespace {

// A packed image of the given size, zeroed; none when its block could not be had.
std::optional<PackedImage> AllocateImage(std::uint32_t width, std::uint32_t height)
{
    const std::uint64_t pixelCount = std::uint64_t{width} * height;
    if (pixelCount > std::numeric_limits<std::size_t>::max() / 3)
        return std::nullopt;
    PackedImage image;
    image.width = width;
    image.height = height;
    try {
        image.pixels.resize(static_cast<std::size_t>(pixelCount * 3));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    } catch (const std::length_error&) {
        return std::nullopt;
    }
    return image;
}

#if defined(__SSE2__)
// Eight output pixels from 16 pixels of two source rows: the sums go in 16-bit lanes, and the
// 24 wanted bytes are picked out of the 48 with word shifts.
void ShrinkEightByTwo(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i sums[6];
    for (int k = 0; k < 3; ++k) {
        const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + 16 * k));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + 16 * k));
        sums[2 * k] = _mm_add_epi16(_mm_unpacklo_epi8(t, zero), _mm_unpacklo_epi8(b, zero));
        sums[2 * k + 1] = _mm_add_epi16(_mm_unpackhi_epi8(t, zero), _mm_unpackhi_epi8(b, zero));
    }
    // Lane i plus lane i + 3: each byte of pixel 2x with the same byte of pixel 2x + 1.
    __m128i means[6];
    for (int r = 0; r < 6; ++r) {
        const __m128i next = r < 5 ? sums[r + 1] : zero;
        const __m128i later = _mm_or_si128(_mm_srli_si128(sums[r], 6), _mm_slli_si128(next, 10));
        means[r] = _mm_srli_epi16(_mm_add_epi16(sums[r], later), 2);
    }
    alignas(16) std::uint8_t packed[48];
    _mm_store_si128(reinterpret_cast<__m128i*>(packed), _mm_packus_epi16(means[0], means[1]));
    _mm_store_si128(reinterpret_cast<__m128i*>(packed + 16), _mm_packus_epi16(means[2], means[3]));
    _mm_store_si128(reinterpret_cast<__m128i*>(packed + 32), _mm_packus_epi16(means[4], means[5]));
    // Bytes 6x to 6x + 2 of the 48 are output pixel x. Little-endian words (x86).
    for (int half = 0; half < 2; ++half) {
        std::uint64_t q0 = 0, q1 = 0, q2 = 0;
        std::memcpy(&q0, packed + 24 * half, 8);
        std::memcpy(&q1, packed + 24 * half + 8, 8);
        std::memcpy(&q2, packed + 24 * half + 16, 8);
        const std::uint64_t low = (q0 & 0xFFFFFF) | ((q0 >> 48) << 24) | ((q1 & 0xFF) << 40) | ((q1 >> 32) << 48);
        const auto high = static_cast<std::uint32_t>(((q1 >> 48) & 0xFF) | (((q2 >> 16) & 0xFFFFFF) << 8));
        std::memcpy(dst + 12 * half, &low, 8);
        std::memcpy(dst + 12 * half + 8, &high, 4);
    }
}
#endif

// Both ratios exactly 2: every output pixel is the truncated mean of the 2 x 2 block at
// (2x, 2y). The same result as the general loop, without its per-pixel index arithmetic.
void ShrinkByTwo(const std::uint8_t* pixels, std::uint32_t srcWidth, PackedImage& out)
{
    const std::size_t srcRow = std::size_t{srcWidth} * 3;
    const std::size_t dstRow = std::size_t{out.width} * 3;
    for (std::uint32_t y = 0; y < out.height; ++y) {
        const std::uint8_t* top = pixels + std::size_t{y} * 2 * srcRow;
        const std::uint8_t* bottom = top + srcRow;
        std::uint8_t* dst = out.pixels.data() + std::size_t{y} * dstRow;
        std::uint32_t x = 0;
#if defined(__SSE2__)
        for (; x + 8 <= out.width; x += 8, top += 48, bottom += 48, dst += 24)
            ShrinkEightByTwo(top, bottom, dst);
#endif
        for (; x < out.width; ++x, top += 6, bottom += 6, dst += 3) {
            for (int c = 0; c < 3; ++c) {
                const unsigned sum = unsigned{top[c]} + top[c + 3] + bottom[c] + bottom[c + 3];
                dst[c] = static_cast<std::uint8_t>(sum >> 2);
            }
        }
    }
}

// The general box average. Sums are kept in 64 bits: 32-bit ones give the same means for any
// box of up to 4104 x 4104 pixels, and would wrap past that.
void ShrinkByBox(const std::uint8_t* pixels, std::uint32_t srcWidth, std::uint32_t srcHeight, float xRatio,
                 float yRatio, std::uint64_t box, PackedImage& out)
{
    const std::size_t srcRow = std::size_t{srcWidth} * 3;
    const std::uint64_t area = box * box;
    // Box origins, computed in double from the single-precision ratios. The clamp only guards
    // against ratios rounded upwards at extreme sizes; it never moves a box otherwise.
    std::vector<std::uint64_t> columns(out.width);
    for (std::uint32_t x = 0; x < out.width; ++x)
        columns[x] =
            std::min<std::uint64_t>(static_cast<std::uint64_t>(static_cast<double>(x) * xRatio), srcWidth - box);
    std::uint8_t* dst = out.pixels.data();
    for (std::uint32_t y = 0; y < out.height; ++y) {
        const std::uint64_t sy =
            std::min<std::uint64_t>(static_cast<std::uint64_t>(static_cast<double>(y) * yRatio), srcHeight - box);
        for (std::uint32_t x = 0; x < out.width; ++x, dst += 3) {
            std::uint64_t sums[3] = {0, 0, 0};
            for (std::uint64_t j = 0; j < box; ++j) {
                const std::uint8_t* p = pixels + (sy + j) * srcRow + columns[x] * 3;
                for (std::uint64_t i = 0; i < box; ++i, p += 3) {
                    sums[0] += p[0];
                    sums[1] += p[1];
                    sums[2] += p[2];
                }
            }
            for (int c = 0; c < 3; ++c)
                dst[c] = static_cast<std::uint8_t>(sums[c] / area);
        }
    }
}

} // namespace

std::optional<PackedImage> ShrinkImage(const std::uint8_t* pixels, std::uint32_t srcWidth, std::uint32_t srcHeight,
                                       std::uint32_t dstWidth, std::uint32_t dstHeight)
{
    if (!pixels || srcWidth == 0 || srcHeight == 0 || dstWidth == 0 || dstHeight == 0 || dstWidth > srcWidth ||
        dstHeight > srcHeight)
        return std::nullopt;
    std::optional<PackedImage> out = AllocateImage(dstWidth, dstHeight);
    if (!out)
        return std::nullopt;

    const float xRatio = static_cast<float>(static_cast<double>(srcWidth) / dstWidth);
    const float yRatio = static_cast<float>(static_cast<double>(srcHeight) / dstHeight);
    // The box is square: the smaller ratio decides. A ratio rounded up past the source size
    // (possible only near 2^32) is held to it.
    std::uint64_t box = std::min(static_cast<std::uint64_t>(xRatio), static_cast<std::uint64_t>(yRatio));
    box = std::clamp<std::uint64_t>(box, 1, std::min(srcWidth, srcHeight));

    if (box == 2 && xRatio == 2.0F && yRatio == 2.0F)
        ShrinkByTwo(pixels, srcWidth, *out);
    else
        ShrinkByBox(pixels, srcWidth, srcHeight, xRatio, yRatio, box, *out);
    return out;
}

namespace {

// The row stride of a 24-bit DIB of this size (rounded up to 4 bytes); none when the DIB could not
// be described (a stride past 32 bits or a block past the address space).
std::optional<std::uint64_t> DibStride(std::uint32_t width, std::uint32_t height)
{
    const std::uint64_t rowStride = ((std::uint64_t{width} * 24 + 31) / 32) * 4;
    if (width == 0 || height == 0 || rowStride > std::numeric_limits<std::uint32_t>::max() ||
        rowStride > std::numeric_limits<std::size_t>::max() / height)
        return std::nullopt;
    return rowStride;
}

} // namespace

std::optional<std::vector<std::uint8_t>> MakeDibBits(const std::uint8_t* pixels, std::uint32_t width,
                                                     std::uint32_t height, std::uint32_t& stride)
{
    const std::optional<std::uint64_t> dibStride = DibStride(width, height);
    if (!pixels || !dibStride)
        return std::nullopt;
    const std::uint64_t rowStride = *dibStride;
    std::vector<std::uint8_t> bits;
    try {
        bits.resize(static_cast<std::size_t>(rowStride * height));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    } catch (const std::length_error&) {
        return std::nullopt;
    }
    // Bottom row first, blue green red; the padding stays 0.
    const std::size_t srcRow = std::size_t{width} * 3;
    for (std::uint32_t r = 0; r < height; ++r) {
        const std::uint8_t* src = pixels + std::size_t{height - 1 - r} * srcRow;
        std::uint8_t* dst = bits.data() + static_cast<std::size_t>(r * rowStride);
        for (std::uint32_t x = 0; x < width; ++x, src += 3, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
    stride = static_cast<std::uint32_t>(rowStride);
    return bits;
}

bool DrawImage(Canvas* canvas, const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height, std::int32_t x,
               std::int32_t y, std::int32_t dstWidth, std::int32_t dstHeight)
{
    // The rows are read where they lie, top row first: a DIB copy would only be turned back. What
    // no DIB could describe is refused all the same.
    if (!canvas || !pixels || !DibStride(width, height))
        return false;
    // A mirrored or empty destination is not drawn.
    if (dstWidth <= 0 || dstHeight <= 0)
        return false;

    // The part of the destination rectangle that lies on the canvas, relative to its corner.
    const std::int64_t left = std::max<std::int64_t>(0, -std::int64_t{x});
    const std::int64_t top = std::max<std::int64_t>(0, -std::int64_t{y});
    const std::int64_t right = std::min<std::int64_t>(dstWidth, std::int64_t{canvas->Width()} - x);
    const std::int64_t bottom = std::min<std::int64_t>(dstHeight, std::int64_t{canvas->Height()} - y);
    if (right <= left || bottom <= top)
        return true;
    const std::size_t srcRow = std::size_t{width} * 3;
    const bool stretched =
        static_cast<std::uint32_t>(dstWidth) != width || static_cast<std::uint32_t>(dstHeight) != height;
    if (!stretched) {
        const std::size_t bytes = static_cast<std::size_t>(right - left) * 3;
        for (std::int64_t j = top; j < bottom; ++j)
            std::memcpy(canvas->Data() + static_cast<std::size_t>((y + j) * canvas->Stride() + (x + left) * 3),
                        pixels + static_cast<std::size_t>(j) * srcRow + static_cast<std::size_t>(left) * 3, bytes);
        return true;
    }
    // Nearest pixel: the source pixel under the centre of each destination pixel.
    auto sourceIndex = [](std::int64_t i, std::uint32_t size, std::int32_t dstSize) {
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(2 * i + 1) * size) /
                                          (2 * static_cast<std::uint64_t>(dstSize)));
    };
    std::vector<std::uint32_t> columns(static_cast<std::size_t>(right - left));
    for (std::int64_t i = left; i < right; ++i)
        columns[static_cast<std::size_t>(i - left)] = sourceIndex(i, width, dstWidth);
    for (std::int64_t j = top; j < bottom; ++j) {
        const std::uint8_t* row = pixels + std::size_t{sourceIndex(j, height, dstHeight)} * srcRow;
        std::uint8_t* dst = canvas->Data() + static_cast<std::size_t>((y + j) * canvas->Stride() + (x + left) * 3);
        for (const std::uint32_t column : columns) {
            std::memcpy(dst, row + std::size_t{column} * 3, 3);
            dst += 3;
        }
    }
    return true;
}

} // namespace orvik
