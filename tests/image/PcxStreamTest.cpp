// Random run-length streams against what they were written to mean: the decoder's block paths
// must agree with the plain reading of the format at every width, line end and cut.
#include "gamedata/PcxWriter.h"
#include "image/Pcx.h"
#include "image/PcxSteps.h"

#include <gtest/gtest.h>

#include <random>

namespace orvik {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Appends random tokens for one scan line of length bytes and returns the bytes they stand for:
// single bytes, runs of 0 to 63 (some crossing the line's end) and run values of any size.
Bytes RandomLine(std::size_t length, std::mt19937& rng, Bytes& stream)
{
    Bytes line;
    while (line.size() < length) {
        const unsigned kind = rng() % 10;
        if (kind < 5) {
            const auto value = static_cast<std::uint8_t>(rng() % 0xC0);
            stream.push_back(value);
            line.push_back(value);
            continue;
        }
        const unsigned count = kind < 8 ? rng() % 6 : rng() % 64;
        const auto value = static_cast<std::uint8_t>(rng() % 4 == 0 ? 0xC0 + rng() % 64 : rng());
        stream.push_back(static_cast<std::uint8_t>(0xC0 | count));
        stream.push_back(value);
        for (unsigned k = 0; k < count && line.size() < length; ++k)
            line.push_back(value);
    }
    return line;
}

Bytes Header(std::uint8_t version, std::uint8_t planes, std::uint16_t width, std::uint16_t height,
             std::uint16_t bytesPerLine, std::uint32_t seed)
{
    gamedata::PcxRawSpec plan;
    plan.version = version;
    plan.bitsPerPixel = 8;
    plan.planes = planes;
    plan.xmax = static_cast<std::uint16_t>(width - 1);
    plan.ymax = static_cast<std::uint16_t>(height - 1);
    plan.bytesPerLine = bytesPerLine;
    plan.seed = seed;
    return gamedata::EncodePcxRaw(plan);
}

TEST(PcxStreams, RandomEightBitStreamsDecodeAsWritten)
{
    std::mt19937 rng(21);
    const std::uint16_t widths[] = {1, 2, 5, 63, 64, 65, 85, 86, 300};
    for (const std::uint16_t width : widths) {
        for (const std::uint16_t pad : {0, 1, 3}) {
            SCOPED_TRACE(testing::Message() << "width " << width << " pad " << pad);
            const std::uint16_t height = 7;
            const std::uint16_t bytesPerLine = static_cast<std::uint16_t>(width + pad);
            Bytes file = Header(5, 1, width, height, bytesPerLine, rng());
            std::vector<Bytes> lines;
            for (int y = 0; y < height; ++y)
                lines.push_back(RandomLine(bytesPerLine, rng, file));
            std::array<std::uint8_t, 768> palette{};
            for (auto& b : palette)
                b = static_cast<std::uint8_t>(rng());
            file.push_back(12);
            file.insert(file.end(), palette.begin(), palette.end());

            std::uint32_t w = 0, h = 0;
            const auto image = DecodePcx(file.data(), file.size(), w, h);
            ASSERT_TRUE(image);
            ASSERT_EQ(image->pixels.size(), std::size_t{width} * height * 3);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    for (int c = 0; c < 3; ++c)
                        ASSERT_EQ(image->pixels[(std::size_t(y) * width + x) * 3 + c], palette[lines[y][x] * 3 + c])
                            << x << ',' << y;
        }
    }
}

TEST(PcxStreams, RandomTrueColourStreamsDecodeAsWritten)
{
    std::mt19937 rng(22);
    for (const std::uint16_t width : {1, 7, 30, 100, 333}) {
        SCOPED_TRACE(width);
        const std::uint16_t height = 9;
        const std::uint16_t bytesPerLine = static_cast<std::uint16_t>(width + width % 2);
        Bytes file = Header(5, 3, width, height, bytesPerLine, rng());
        std::vector<Bytes> lines;
        for (int y = 0; y < height; ++y)
            lines.push_back(RandomLine(std::size_t{bytesPerLine} * 3, rng, file));
        std::uint32_t w = 0, h = 0;
        const auto image = DecodePcx(file.data(), file.size(), w, h);
        ASSERT_TRUE(image);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(image->pixels[(std::size_t(y) * width + x) * 3 + c], lines[y][c * bytesPerLine + x]);
    }
}

TEST(PcxStreams, EveryCutInsideThePixelDataFails)
{
    std::mt19937 rng(23);
    struct Case {
        std::uint8_t planes;
        std::uint16_t width, height;
    };
    for (const Case c : {Case{1, 100, 6}, Case{3, 40, 4}, Case{1, 3, 9}}) {
        const std::uint16_t bytesPerLine = static_cast<std::uint16_t>(c.width + c.width % 2);
        Bytes file = Header(3, c.planes, c.width, c.height, bytesPerLine, rng());
        for (int y = 0; y < c.height; ++y)
            RandomLine(std::size_t{bytesPerLine} * c.planes, rng, file);
        std::uint32_t w = 0, h = 0;
        ASSERT_TRUE(DecodePcx(file.data(), file.size(), w, h));
        for (std::size_t keep = 128; keep < file.size(); ++keep) {
            // A copy of exactly the kept bytes, so that any read past them is caught.
            const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(keep));
            w = h = 0;
            ASSERT_FALSE(DecodePcx(cut.data(), cut.size(), w, h)) << keep;
            ASSERT_EQ(w, c.width);
            ASSERT_EQ(h, c.height);
        }
    }
}

TEST(PcxStreams, RunBytesAndTokenStartsOfABlock)
{
    std::mt19937 rng(24);
    for (int trial = 0; trial < 20000; ++trial) {
        // Bytes around the 0xC0 boundary, with long series of run-looking bytes.
        std::uint8_t block[64];
        const unsigned share = rng() % 100;
        for (auto& b : block)
            b = static_cast<std::uint8_t>(rng() % 100 < share ? 0xC0 + rng() % 64 : 0xBF - rng() % 3);
        std::uint64_t expectedRuns = 0, expectedStarts = 0;
        bool isValue = false;
        for (int i = 0; i < 64; ++i) {
            const bool runByte = block[i] >= 0xC0;
            expectedRuns |= std::uint64_t{runByte} << i;
            if (isValue) {
                isValue = false;
            } else {
                expectedStarts |= std::uint64_t{1} << i;
                isValue = runByte;
            }
        }
        ASSERT_EQ(pcx::RunByteMask(block), expectedRuns);
        ASSERT_EQ(pcx::RunByteMaskPortable(block), expectedRuns);
        ASSERT_EQ(pcx::TokenStarts(expectedRuns), expectedStarts);
    }
}

TEST(PcxStreams, BitHelpersComputeWhatTheyName)
{
    EXPECT_EQ(pcx::BroadcastByte(0x00), 0u);
    EXPECT_EQ(pcx::BroadcastByte(0xAB), 0xABABABABABABABABULL);
    EXPECT_EQ(pcx::BroadcastByte(0xFF), ~std::uint64_t{0});

    struct Case {
        std::uint8_t bytes[8];
        std::uint64_t flags; // bit 0 of each byte: 0xC0 or more
        std::uint64_t gathered;
    };
    const Case cases[] = {
        {{0xC0, 0xBF, 0xFF, 0x40, 0x80, 0xC1, 0x00, 0xFE}, 0x0100010000010001ULL, 0xA5},
        {{0, 0, 0, 0, 0, 0, 0, 0}, 0, 0},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 0x0101010101010101ULL, 0xFF},
        {{0x7F, 0xBF, 0x3F, 0xC0, 0x7F, 0xBF, 0x3F, 0xDF}, 0x0100000001000000ULL, 0x88},
    };
    for (const Case& c : cases) {
        std::uint64_t word = 0;
        for (int k = 7; k >= 0; --k)
            word = (word << 8) | c.bytes[k];
        EXPECT_EQ(pcx::TopBitsSetPerByte(word), c.flags) << std::hex << word;
        EXPECT_EQ(pcx::GatherByteBits(c.flags), c.gathered) << std::hex << word;
    }

    struct RunCase {
        std::uint64_t runs;
        std::size_t first;
        std::uint64_t rest;
    };
    const RunCase runCases[] = {
        {0, 64, 0},
        {0b1100, 2, 0b1000},
        {std::uint64_t{1} << 63, 63, 0},
        {0x8000000000000001ULL, 0, 0x8000000000000000ULL},
    };
    for (const RunCase& c : runCases) {
        EXPECT_EQ(pcx::FirstRun(c.runs), c.first) << std::hex << c.runs;
        EXPECT_EQ(pcx::DropFirstRun(c.runs), c.rest) << std::hex << c.runs;
    }
}

} // namespace
} // namespace orvik
