// The per-scan-line steps of the PCX decoder: run-length decoding, unpacking of planes and bits,
// and writing pixels. These run once per row of every image, so they avoid per-byte calls.
#include "image/PcxSteps.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace orvik::pcx {

namespace {

// The eight pixels of indices[0..7] through the palette as 24 bytes at row, in three word stores
// (little-endian: an entry's red, green, blue are its low three bytes).
void WriteEightPixels(const std::uint8_t* indices, const Palette& palette, std::uint8_t* row)
{
    const std::uint64_t e0 = palette[indices[0]], e1 = palette[indices[1]];
    const std::uint64_t e2 = palette[indices[2]], e3 = palette[indices[3]];
    const std::uint64_t e4 = palette[indices[4]], e5 = palette[indices[5]];
    const std::uint64_t e6 = palette[indices[6]], e7 = palette[indices[7]];
    const std::uint64_t w0 = e0 | (e1 << 24) | (e2 << 48);
    const std::uint64_t w1 = (e2 >> 16) | (e3 << 8) | (e4 << 32) | (e5 << 56);
    const std::uint64_t w2 = (e5 >> 8) | (e6 << 16) | (e7 << 40);
    std::memcpy(row, &w0, 8);
    std::memcpy(row + 8, &w1, 8);
    std::memcpy(row + 16, &w2, 8);
}

} // namespace

bool DecodePcxLine(const std::uint8_t*& in, const std::uint8_t* end, std::uint8_t* line, std::size_t length)
{
    const std::uint8_t* p = in;
    std::size_t pos = 0;
    // Blocks of 64 bytes, each starting at a token. Bit masks give the run bytes of a block at
    // once, and the single bytes between two runs are copied as one stretch, so the work goes
    // by runs rather than by bytes. Copies and runs are written in whole words: what passes the
    // line's end lands in the slack behind it and is never used, which is how the rest of a run
    // that crosses the end is dropped. 0xC0 writes nothing.
    while (pos < length && end - p > 64 + 16) {
        const std::uint8_t* base = p;
        const std::uint64_t runBytes = RunByteMask(base);
        std::uint64_t runs = TokenStarts(runBytes) & runBytes;
        std::size_t next = 0; // the token after the last one handled
        bool lineDone = false;
        for (;;) {
            // The single bytes before the next run, copied whole (also when there are none:
            // that costs less than telling the cases apart), then the run.
            const std::size_t stop = std::max(FirstRun(runs), next);
            const std::size_t single = stop - next;
            std::memcpy(line + pos, base + next, 16);
            for (std::size_t k = 16; k < single; k += 16)
                std::memcpy(line + pos + k, base + next + k, 16);
            if (runs == 0) {
                if (single >= length - pos) {
                    p = base + next + (length - pos);
                    pos = length;
                    lineDone = true;
                } else {
                    pos += single;
                }
                break;
            }
            runs = DropFirstRun(runs);
            const std::size_t count = base[stop] & 0x3F;
            const std::uint64_t word = BroadcastByte(base[stop + 1]);
            std::uint8_t* dst = line + pos + single;
            std::memcpy(dst, &word, 8);
            std::memcpy(dst + 8, &word, 8);
            for (std::size_t k = 16; k < count; k += 8)
                std::memcpy(dst + k, &word, 8);
            if (pos + single + count >= length) {
                // The line ends in this stretch or in this run.
                p = single >= length - pos ? base + next + (length - pos) : base + stop + 2;
                pos = length;
                lineDone = true;
                break;
            }
            pos += single + count;
            next = stop + 2;
        }
        if (!lineDone)
            p = base + std::max<std::size_t>(next, 64);
    }
    // The last bytes of the file, one token at a time.
    while (pos < length) {
        if (p == end)
            return false;
        const std::uint8_t b = *p++;
        if (b < 0xC0) {
            line[pos++] = b;
            continue;
        }
        if (p == end)
            return false;
        const std::size_t count = b & 0x3F;
        const std::uint64_t word = BroadcastByte(*p++);
        for (std::size_t k = 0; k < count; k += 8)
            std::memcpy(line + pos + k, &word, 8);
        pos += count;
    }
    in = p;
    return true;
}

void UnpackPcxPlanes(Layout layout, const std::uint8_t* line, std::size_t bytesPerLine, std::uint32_t width,
                     std::uint8_t* indices)
{
    switch (layout) {
    case Layout::OneBit:
        for (std::uint32_t x = 0; x < width; ++x)
            indices[x] = static_cast<std::uint8_t>((line[x >> 3] >> (7 - (x & 7))) & 1);
        break;
    case Layout::FourBit:
        for (std::uint32_t x = 0; x < width; ++x)
            indices[x] = static_cast<std::uint8_t>((line[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
        break;
    case Layout::FourPlanes: {
        // Plane p gives bit p of the index; plane 0 is the least significant.
        const std::uint8_t* p0 = line;
        const std::uint8_t* p1 = line + bytesPerLine;
        const std::uint8_t* p2 = line + 2 * bytesPerLine;
        const std::uint8_t* p3 = line + 3 * bytesPerLine;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::size_t k = x >> 3;
            const int shift = 7 - static_cast<int>(x & 7);
            indices[x] = static_cast<std::uint8_t>(((p0[k] >> shift) & 1) | (((p1[k] >> shift) & 1) << 1) |
                                                   (((p2[k] >> shift) & 1) << 2) | (((p3[k] >> shift) & 1) << 3));
        }
        break;
    }
    case Layout::EightBit: std::memcpy(indices, line, width); break;
    case Layout::TrueColour:
    case Layout::Black: break;
    }
}

void ExpandThroughPalette(const std::uint8_t* indices, std::uint32_t width, const Palette& palette, std::uint8_t* row)
{
    std::uint32_t x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Eight pixels make 24 bytes: three whole words, with no byte written twice.
        for (; x + 8 <= width; x += 8, row += 24)
            WriteEightPixels(indices + x, palette, row);
    }
    for (; x < width; ++x, row += 3)
        std::memcpy(row, &palette[indices[x]], 3);
}

void InterleavePlanes(const std::uint8_t* line, std::size_t bytesPerLine, std::uint32_t width, std::uint8_t* row)
{
    const std::uint8_t* red = line;
    const std::uint8_t* green = line + bytesPerLine;
    const std::uint8_t* blue = line + 2 * bytesPerLine;
    for (std::uint32_t x = 0; x < width; ++x, row += 3) {
        row[0] = red[x];
        row[1] = green[x];
        row[2] = blue[x];
    }
}

} // namespace orvik::pcx
