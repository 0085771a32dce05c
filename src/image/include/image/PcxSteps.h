#pragma once
// The steps of the PCX decoder, shared by its two source files. Not for use outside the decoder.
#include "image/Pcx.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvik::pcx {

constexpr std::size_t kHeaderSize = 128;
// Distance of the 256-colour palette's marker from the end of the file (marker + 768 bytes).
constexpr std::size_t kPaletteTail = 769;
constexpr std::uint8_t kPaletteMarker = 12;

// How the decoded scan lines become pixels.
enum class Layout {
    OneBit,     // 1 bit x 1 plane
    FourBit,    // 4 bits x 1 plane
    FourPlanes, // 1 bit x 4 planes
    EightBit,   // 8 bits x 1 plane
    TrueColour, // 8 bits x 3 planes
    Black,      // depth 2 or 3: rows are read, nothing is drawn
};

// The working palette, one entry per index; each entry holds in memory the bytes red, green,
// blue, 0, so that a pixel is written with one 4-byte copy.
using Palette = std::array<std::uint32_t, 256>;

// Reads and checks the 128-byte header at the start of data: NotPcx when the file ends inside it
// or the first byte is not 10, UnknownVersion when the version is not 0, 2, 3 or 5.
PcxError ReadPcxHeader(const std::uint8_t* data, std::size_t size, PcxHeader& header);

// The working palette: the trailing 256-colour palette for version 5 at depth 8 when its marker
// is there, otherwise the grey ramp; at depths 1 to 4 the first 2^depth entries come from the
// header's 16-entry palette.
Palette ReadPcxPalette(const std::uint8_t* data, std::size_t size, const PcxHeader& header);

// The bit tricks of the block decoders. A block is 64 file bytes; bit i of a mask stands for byte i.

// A word whose eight bytes all hold value: a run's bytes, written eight at a time.
inline std::uint64_t BroadcastByte(std::uint8_t value) { return 0x0101010101010101ULL * value; }

// Bit 0 of each byte of w set where that byte has both top bits set (is 0xC0 or more), all else clear.
inline std::uint64_t TopBitsSetPerByte(std::uint64_t w) { return ((w & (w << 1)) >> 7) & BroadcastByte(1); }

// Bit 0 of each of the eight bytes of w gathered into one byte, byte 0's bit lowest.
inline std::uint64_t GatherByteBits(std::uint64_t w) { return (w * 0x0102040810204080ULL) >> 56; }

// Where the first of the remaining runs of a block stands: the lowest set bit (64 when none is left).
inline std::size_t FirstRun(std::uint64_t runs) { return static_cast<std::size_t>(std::countr_zero(runs)); }

// The runs of a block less the first one.
inline std::uint64_t DropFirstRun(std::uint64_t runs) { return runs & (runs - 1); }

// The mask of the bytes of the block at p that are 0xC0 or more: run bytes, unless the value of a run.
inline std::uint64_t RunByteMaskPortable(const std::uint8_t* p)
{
    std::uint64_t mask = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (int k = 0; k < 8; ++k) {
            std::uint64_t w = 0;
            std::memcpy(&w, p + 8 * k, 8);
            mask |= GatherByteBits(TopBitsSetPerByte(w)) << (8 * k);
        }
    } else {
        for (int i = 0; i < 64; ++i)
            mask |= std::uint64_t{p[i] >= 0xC0} << i;
    }
    return mask;
}

// The same mask as RunByteMaskPortable, with SSE2 where there is SSE2.
inline std::uint64_t RunByteMask(const std::uint8_t* p)
{
#if defined(__SSE2__)
    std::uint64_t mask = 0;
    const __m128i top = _mm_set1_epi8(static_cast<char>(0xC0));
    for (int k = 0; k < 4; ++k) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        const __m128i isRun = _mm_cmpeq_epi8(_mm_and_si128(bytes, top), top);
        mask |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(isRun))) << (16 * k);
    }
    return mask;
#else
    return RunByteMaskPortable(p);
#endif
}

// The bytes that start tokens in a block that begins at one, given its RunByteMask: all but the
// value bytes after run bytes. In a series of candidates the first is a run byte, the second its
// value, and so on; the borrow of the subtraction carries that alternation along each series.
inline std::uint64_t TokenStarts(std::uint64_t runBytes)
{
    constexpr std::uint64_t kOddBits = 0xAAAAAAAAAAAAAAAAULL;
    const std::uint64_t followsRunByte = runBytes << 1;
    const std::uint64_t codes = ((followsRunByte | kOddBits) - runBytes) ^ kOddBits;
    return ~(codes ^ runBytes);
}

// Run-length decodes one scan line of length bytes from in (which advances). Runs are cut at the
// end of the line. False when the data ends before the line is complete. line must have room
// for length + kLineSlack bytes: runs are written in whole words.
constexpr std::size_t kLineSlack = 192;
bool DecodePcxLine(const std::uint8_t*& in, const std::uint8_t* end, std::uint8_t* line, std::size_t length);

// Room behind a row buffer for pixels written in whole pieces past its end.
constexpr std::size_t kRowSlack = 256;

// Decodes the rows of an 8-bit image and appends them to pixels (whose capacity must hold
// them), as DecodePcxLine and ExpandThroughPalette would, without the pass through a line.
// False when the data ends before the last row is complete.
bool DecodeEightBitRows(const std::uint8_t*& in, const std::uint8_t* end, std::size_t bytesPerLine, std::uint32_t width,
                        std::uint32_t height, const Palette& palette, std::vector<std::uint8_t>& pixels);

// Turns a decoded scan line into width palette indices, one a byte (palette layouts other than
// EightBit, whose decoded line already is the index line).
void UnpackPcxPlanes(Layout layout, const std::uint8_t* line, std::size_t bytesPerLine, std::uint32_t width,
                     std::uint8_t* indices);

// Writes width pixels of a row through the palette, red green blue each.
void ExpandThroughPalette(const std::uint8_t* indices, std::uint32_t width, const Palette& palette, std::uint8_t* row);

// Interleaves the red, green and blue planes of a 24-bit scan line into a row.
void InterleavePlanes(const std::uint8_t* line, std::size_t bytesPerLine, std::uint32_t width, std::uint8_t* row);

} // namespace orvik::pcx
