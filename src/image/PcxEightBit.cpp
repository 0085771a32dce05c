// The 8-bit decoder's fast path: terrain colour maps are 8-bit, so their scan lines go straight
// from the file's runs to pixels, without a decoded line in between.
#include "image/PcxSteps.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace orvik::pcx {

namespace {

// Sixteen pixels of each palette colour, so that a run is written in whole pieces.
using Pattern = std::array<std::uint8_t, 48>;

std::vector<Pattern> MakePatterns(const Palette& palette)
{
    std::vector<Pattern> patterns(256);
    for (std::size_t i = 0; i < 256; ++i)
        for (std::size_t k = 0; k < 16; ++k)
            std::memcpy(patterns[i].data() + 3 * k, &palette[i], 3);
    return patterns;
}

} // namespace

bool DecodeEightBitRows(const std::uint8_t*& in, const std::uint8_t* end, std::size_t bytesPerLine, std::uint32_t width,
                        std::uint32_t height, const Palette& palette, std::vector<std::uint8_t>& pixels)
{
    const std::size_t length = bytesPerLine;
    const std::size_t rowBytes = std::size_t{width} * 3;
    const std::vector<Pattern> patterns = MakePatterns(palette);
    // Each row is made in this buffer, which stays in the cache, and then appended in one copy.
    // The buffer holds a pixel for every byte of the scan line, padding included, so the fast
    // loop never asks where the width ends; and runs and stretches are written in whole pieces
    // that may pass the line's end, which the slack takes.
    std::vector<std::uint8_t> buffer(3 * length + 2 * kRowSlack);
    std::uint8_t* const row = buffer.data();

    const std::uint8_t* p = in;
    std::size_t pos = 0;
    std::size_t y = 0;
    auto finishRow = [&] {
        pixels.insert(pixels.end(), row, row + rowBytes);
        pos = 0;
        ++y;
    };
    // Blocks of 64 file bytes, each starting at a token, as in DecodePcxLine: the run bytes come
    // from bit masks, and each step writes the single bytes before a run as one stretch and
    // then the run.
    while (y < height && end - p > 64 + 16) {
        const std::uint8_t* base = p;
        const std::uint64_t runBytes = RunByteMask(base);
        std::uint64_t runs = TokenStarts(runBytes) & runBytes;
        std::size_t next = 0;
        bool lineDone = false;
        for (;;) {
            const std::size_t stop = std::max(FirstRun(runs), next);
            const std::size_t single = stop - next;
            // Most stretches are short: eight pixels go out whether needed or not (also when two
            // runs follow each other and there is none), so the usual one costs no guess.
            std::uint8_t* dst = row + 3 * pos;
            const std::uint8_t* src = base + next;
            for (std::size_t k = 0;;) {
                for (int j = 0; j < 8; ++j)
                    std::memcpy(dst + 3 * (k + j), &palette[src[k + j]], 4);
                k += 8;
                if (k >= single)
                    break;
            }
            if (runs == 0) {
                if (single >= length - pos) {
                    p = base + next + (length - pos);
                    lineDone = true;
                } else {
                    pos += single;
                }
                break;
            }
            runs = DropFirstRun(runs);
            const std::size_t count = base[stop] & 0x3F;
            const Pattern& pattern = patterns[base[stop + 1]];
            dst += 3 * single;
            std::memcpy(dst, pattern.data(), 16);
            if (count > 5) {
                for (std::size_t k = 0; k < 3 * count; k += 48)
                    std::memcpy(dst + k, pattern.data(), 48);
            }
            if (pos + single + count >= length) {
                // The line ends in this stretch or in this run.
                p = single >= length - pos ? base + next + (length - pos) : base + stop + 2;
                lineDone = true;
                break;
            }
            pos += single + count;
            next = stop + 2;
        }
        if (lineDone)
            finishRow();
        else
            p = base + std::max<std::size_t>(next, 64);
    }

    // The last bytes of the file: one token at a time.
    while (y < height) {
        if (p == end)
            return false;
        std::size_t count = 1;
        std::uint8_t value = *p++;
        if (value >= 0xC0) {
            if (p == end)
                return false;
            count = value & 0x3F;
            value = *p++;
        }
        if (pos < width) {
            const std::size_t n = std::min<std::size_t>(count, width - pos);
            for (std::size_t k = 0; k < n; ++k)
                std::memcpy(row + 3 * (pos + k), &palette[value], 3);
        }
        pos += count;
        if (pos >= length)
            finishRow();
    }
    in = p;
    return true;
}

} // namespace orvik::pcx
