#include "image/Pcx.h"
#include "gamedata/PcxWriter.h"
#include "image/AllocationProbe.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace orvik {
namespace {

using gamedata::PcxRawSpec;
using Bytes = std::vector<std::uint8_t>;

struct Colour {
    std::uint8_t r, g, b;
    friend bool operator==(const Colour&, const Colour&) = default;
};

std::ostream& operator<<(std::ostream& os, const Colour& c)
{
    return os << '(' << int(c.r) << ',' << int(c.g) << ',' << int(c.b) << ')';
}

Colour At(const PackedImage& image, std::uint32_t x, std::uint32_t y)
{
    const std::uint8_t* p = image.pixels.data() + (std::size_t{y} * image.width + x) * 3;
    return {p[0], p[1], p[2]};
}

// Header palette entry i is (16i + 1, 200 - 5i, 7i + 3): no entry is grey or repeats.
std::array<std::uint8_t, 48> HeaderPalette()
{
    std::array<std::uint8_t, 48> p{};
    for (int i = 0; i < 16; ++i) {
        p[i * 3] = static_cast<std::uint8_t>(16 * i + 1);
        p[i * 3 + 1] = static_cast<std::uint8_t>(200 - 5 * i);
        p[i * 3 + 2] = static_cast<std::uint8_t>(7 * i + 3);
    }
    return p;
}

Colour HeaderEntry(int i)
{
    return {static_cast<std::uint8_t>(16 * i + 1), static_cast<std::uint8_t>(200 - 5 * i),
            static_cast<std::uint8_t>(7 * i + 3)};
}

// Trailing palette entry i is (i, 255 - i, 7i mod 256).
std::array<std::uint8_t, 768> TrailingPalette()
{
    std::array<std::uint8_t, 768> p{};
    for (int i = 0; i < 256; ++i) {
        p[i * 3] = static_cast<std::uint8_t>(i);
        p[i * 3 + 1] = static_cast<std::uint8_t>(255 - i);
        p[i * 3 + 2] = static_cast<std::uint8_t>(7 * i);
    }
    return p;
}

Colour TrailingEntry(int i)
{
    return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(7 * i)};
}

Colour Grey(int i)
{
    const auto v = static_cast<std::uint8_t>(i);
    return {v, v, v};
}

PcxRawSpec RawPlan(std::uint8_t bits, std::uint8_t planes, std::uint16_t width, std::uint16_t height,
                   std::uint16_t bytesPerLine)
{
    PcxRawSpec plan;
    plan.bitsPerPixel = bits;
    plan.planes = planes;
    plan.xmax = static_cast<std::uint16_t>(width - 1);
    plan.ymax = static_cast<std::uint16_t>(height - 1);
    plan.bytesPerLine = bytesPerLine;
    plan.headerPalette = HeaderPalette();
    return plan;
}

std::optional<PackedImage> Decode(const Bytes& file, std::uint32_t& width, std::uint32_t& height)
{
    return DecodePcx(file.data(), file.size(), width, height);
}

std::optional<PackedImage> Decode(const Bytes& file)
{
    std::uint32_t w = 0, h = 0;
    return Decode(file, w, h);
}

// An 8-bit file of 5 x 3 with an odd width (one pad byte a line); index at (x, y) is 37x + 11y + 100.
PcxRawSpec EightBitSpec()
{
    PcxRawSpec plan = RawPlan(8, 1, 5, 3, 6);
    for (int y = 0; y < 3; ++y) {
        Bytes line(6, 0xEE);
        for (int x = 0; x < 5; ++x)
            line[x] = static_cast<std::uint8_t>(37 * x + 11 * y + 100);
        plan.lines.push_back(line);
    }
    plan.trailingPalette = true;
    plan.palette = TrailingPalette();
    return plan;
}

void ExpectEightBit(const std::optional<PackedImage>& image, Colour (*entry)(int))
{
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 5u);
    ASSERT_EQ(image->height, 3u);
    ASSERT_EQ(image->pixels.size(), 5u * 3u * 3u);
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 5; ++x)
            EXPECT_EQ(At(*image, x, y), entry((37 * x + 11 * y + 100) & 255)) << x << ',' << y;
}

TEST(PcxPalette, VersionFiveEightBitTakesTheTrailingPalette)
{
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        PcxRawSpec plan = EightBitSpec();
        plan.seed = seed;
        ExpectEightBit(Decode(gamedata::EncodePcxRaw(plan)), TrailingEntry);
    }
}

TEST(PcxPalette, WithoutItsMarkerOrInAnotherVersionTheImageIsGrey)
{
    Bytes file = gamedata::EncodePcxRaw(EightBitSpec());
    ASSERT_EQ(file[file.size() - 769], 12);
    file[file.size() - 769] = 13;
    ExpectEightBit(Decode(file), Grey);

    for (std::uint8_t version : {0, 2, 3}) {
        PcxRawSpec plan = EightBitSpec();
        plan.version = version;
        ExpectEightBit(Decode(gamedata::EncodePcxRaw(plan)), Grey);
    }

    // No palette at all: the file is shorter than 769 bytes.
    PcxRawSpec plan = EightBitSpec();
    plan.trailingPalette = false;
    const Bytes shortFile = gamedata::EncodePcxRaw(plan);
    ASSERT_LT(shortFile.size(), 769u);
    ExpectEightBit(Decode(shortFile), Grey);
}

TEST(PcxLayouts, OneBitOfWidthTenSetsAllTenPixels)
{
    PcxRawSpec plan = RawPlan(1, 1, 10, 2, 2);
    // Bits past the width are set in the second byte and must be ignored.
    plan.lines = {{0b10110010, 0b01111111}, {0b01001101, 0b10000000}};
    // A trailing palette in a 1-bit file changes nothing: header entries 0 and 1 are used.
    plan.trailingPalette = true;
    plan.palette = TrailingPalette();
    const auto image = Decode(gamedata::EncodePcxRaw(plan));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->pixels.size(), 10u * 2u * 3u);
    const int row0[10] = {1, 0, 1, 1, 0, 0, 1, 0, 0, 1};
    const int row1[10] = {0, 1, 0, 0, 1, 1, 0, 1, 1, 0};
    for (std::uint32_t x = 0; x < 10; ++x) {
        EXPECT_EQ(At(*image, x, 0), HeaderEntry(row0[x])) << x;
        EXPECT_EQ(At(*image, x, 1), HeaderEntry(row1[x])) << x;
    }
}

TEST(PcxLayouts, FourBitsInOnePlaneUseTheSixteenHeaderEntries)
{
    PcxRawSpec plan = RawPlan(4, 1, 5, 2, 4);
    plan.lines = {{0x01, 0x23, 0x4F, 0xEE}, {0xFE, 0xDC, 0xB0, 0x00}};
    const auto image = Decode(gamedata::EncodePcxRaw(plan));
    ASSERT_TRUE(image);
    const int row0[5] = {0, 1, 2, 3, 4};
    const int row1[5] = {15, 14, 13, 12, 11};
    for (std::uint32_t x = 0; x < 5; ++x) {
        EXPECT_EQ(At(*image, x, 0), HeaderEntry(row0[x])) << x;
        EXPECT_EQ(At(*image, x, 1), HeaderEntry(row1[x])) << x;
    }
}

TEST(PcxLayouts, FourPlanesOfOneBitGiveOneIndexBitEach)
{
    PcxRawSpec plan = RawPlan(1, 4, 10, 1, 2);
    // Planes 0 to 3, two bytes each; plane p is bit p of the index.
    plan.lines = {{0xAA, 0x80, 0xCC, 0x40, 0xF0, 0x00, 0x0F, 0xC0}};
    const auto image = Decode(gamedata::EncodePcxRaw(plan));
    ASSERT_TRUE(image);
    const int expected[10] = {7, 6, 5, 4, 11, 10, 9, 8, 9, 10};
    for (std::uint32_t x = 0; x < 10; ++x)
        EXPECT_EQ(At(*image, x, 0), HeaderEntry(expected[x])) << x;
}

TEST(PcxLayouts, ThreePlanesOfEightBitsAreRedGreenBlue)
{
    PcxRawSpec plan = RawPlan(8, 3, 3, 2, 4);
    plan.lines = {{10, 20, 30, 0xFF, 40, 50, 60, 0xFF, 70, 80, 90, 0xFF}, {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0}};
    const auto image = Decode(gamedata::EncodePcxRaw(plan));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (Bytes{10, 40, 70, 20, 50, 80, 30, 60, 90, 1, 4, 7, 2, 5, 8, 3, 6, 9}));
}

TEST(PcxLayouts, DepthsTwoAndThreeGiveABlackImageButReadEveryRow)
{
    struct Case {
        std::uint8_t bits, planes;
    };
    for (const Case c : {Case{2, 1}, Case{1, 2}, Case{1, 3}, Case{3, 1}}) {
        SCOPED_TRACE(testing::Message() << int(c.bits) << "x" << int(c.planes));
        PcxRawSpec plan = RawPlan(c.bits, c.planes, 7, 4, 4);
        for (int y = 0; y < 4; ++y)
            plan.lines.push_back(Bytes(4u * c.planes, static_cast<std::uint8_t>(0x5A + y)));
        Bytes file = gamedata::EncodePcxRaw(plan);
        const auto image = Decode(file);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, 7u);
        EXPECT_EQ(image->height, 4u);
        EXPECT_EQ(image->pixels, Bytes(7u * 4u * 3u, 0));

        file.pop_back();
        EXPECT_FALSE(Decode(file));
    }
}

TEST(PcxRunLength, RunsAreCutAtTheEndOfTheirScanLine)
{
    // Hand-made data after a grey 8 x 3 header.
    PcxRawSpec plan = RawPlan(8, 1, 8, 3, 8);
    plan.version = 3;
    Bytes file = gamedata::EncodePcxRaw(plan);
    const Bytes data = {
        0xC5, 0x20, 0xC0, 0x77, 0x01, 0x02, 0x03, // five 0x20, an empty run, three single bytes
        0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0xFF, 0x33, // a run of 63 with 3 bytes of the line left
        0xC8, 0x44,                               // the next line starts afresh
    };
    file.insert(file.end(), data.begin(), data.end());
    const auto image = Decode(file);
    ASSERT_TRUE(image);
    const int rows[3][8] = {{0x20, 0x20, 0x20, 0x20, 0x20, 1, 2, 3},
                            {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x33, 0x33, 0x33},
                            {0x44, 0x44, 0x44, 0x44, 0x44, 0x44, 0x44, 0x44}};
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 8; ++x)
            EXPECT_EQ(At(*image, x, y), Grey(rows[y][x])) << x << ',' << y;
}

TEST(PcxHeader, SizeComesFromTheBoundsAndTheEncodingByteIsIgnored)
{
    PcxRawSpec plan = RawPlan(8, 1, 1, 1, 4);
    plan.xmin = 100;
    plan.xmax = 103;
    plan.ymin = 7;
    plan.ymax = 8;
    plan.lines = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    plan.version = 2;
    Bytes file = gamedata::EncodePcxRaw(plan);
    for (std::uint8_t encoding : {0, 1, 0x7F, 0xFF}) {
        file[2] = encoding;
        std::uint32_t w = 0, h = 0;
        const auto image = Decode(file, w, h);
        ASSERT_TRUE(image);
        EXPECT_EQ(w, 4u);
        EXPECT_EQ(h, 2u);
        EXPECT_EQ(At(*image, 3, 1), Grey(8));
    }
}

TEST(PcxHeader, BadHeadersAreRefusedBeforeTheSizeIsReported)
{
    const Bytes good = gamedata::EncodePcxRaw(EightBitSpec());
    for (std::uint8_t version : {1, 4, 6, 10, 255}) {
        Bytes file = good;
        file[1] = version;
        std::uint32_t w = 777, h = 777;
        EXPECT_FALSE(Decode(file, w, h)) << int(version);
        EXPECT_EQ(w, 777u);
        EXPECT_EQ(h, 777u);
    }
    Bytes notPcx = good;
    notPcx[0] = 11;
    EXPECT_FALSE(Decode(notPcx));

    const Bytes cut(good.begin(), good.begin() + 127);
    std::uint32_t w = 777, h = 777;
    EXPECT_FALSE(Decode(cut, w, h));
    EXPECT_EQ(w, 777u);
    EXPECT_FALSE(DecodePcx(nullptr, 0, w, h));
    EXPECT_EQ(w, 777u);
}

TEST(PcxFailures, AFileCutInsideThePixelsFailsButReportsItsSize)
{
    PcxRawSpec plan = RawPlan(8, 1, 16, 16, 16);
    std::mt19937 rng(5);
    for (int y = 0; y < 16; ++y) {
        Bytes line(16);
        for (auto& b : line)
            b = static_cast<std::uint8_t>(rng());
        plan.lines.push_back(line);
    }
    const Bytes whole = gamedata::EncodePcxRaw(plan);
    ASSERT_TRUE(Decode(whole));
    for (std::size_t keep : {std::size_t{128}, std::size_t{140}, whole.size() - 1}) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep));
        std::uint32_t w = 0, h = 0;
        EXPECT_FALSE(Decode(cut, w, h)) << keep;
        EXPECT_EQ(w, 16u);
        EXPECT_EQ(h, 16u);
    }
    // A run byte whose value byte is missing.
    Bytes runCut = gamedata::EncodePcxRaw(RawPlan(8, 1, 4, 1, 4));
    runCut.push_back(0xC4);
    EXPECT_FALSE(Decode(runCut));
}

TEST(PcxFailures, ImagesThatCannotBeHeldAreRefusedWithoutAllocating)
{
    // Headers of up to 65535 x 65535 in files of 200 bytes.
    struct Case {
        std::uint8_t bits, planes;
        std::uint16_t width, height, bytesPerLine;
    };
    for (const Case c :
         {Case{1, 1, 65535, 65535, 8192}, Case{8, 1, 32767, 65535, 32767}, Case{8, 3, 32000, 65535, 32000},
          Case{4, 1, 65534, 40000, 32767}, Case{8, 1, 16000, 16000, 16000}, Case{1, 1, 20000, 20000, 2500}}) {
        Bytes file = gamedata::EncodePcxRaw(RawPlan(c.bits, c.planes, c.width, c.height, c.bytesPerLine));
        file.resize(200, 0x41);
        test::AllocationProbe probe;
        std::uint32_t w = 0, h = 0;
        EXPECT_FALSE(Decode(file, w, h));
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
        EXPECT_LT(probe.Largest(), 65536u);
    }
    // A file that does hold 65535 scan lines of a 65535 x 65535 one-bit image: its block of 12 GiB
    // is too large all the same.
    Bytes big = gamedata::EncodePcxRaw(RawPlan(1, 1, 65535, 65535, 8192));
    const Bytes line(8192, 0);
    Bytes encodedLine;
    gamedata::EncodePcxLine(line.data(), line.size(), encodedLine);
    for (int y = 0; y < 65535; ++y)
        big.insert(big.end(), encodedLine.begin(), encodedLine.end());
    test::AllocationProbe probe;
    EXPECT_FALSE(Decode(big));
    EXPECT_LT(probe.Largest(), 65536u);
}

TEST(PcxFailures, LayoutsOutsideTheSupportedOnesAreRefused)
{
    struct Case {
        std::uint8_t bits, planes;
        std::uint16_t width, bytesPerLine;
    };
    const Case cases[] = {
        {0, 1, 4, 4},    // depth 0
        {8, 2, 4, 4},    // depth 16
        {8, 4, 4, 4},    // depth 32
        {2, 2, 4, 4},    // 2 bits x 2 planes
        {4, 2, 4, 4},    // 4 bits x 2 planes
        {16, 1, 4, 8},   // 16 bits
        {8, 0xFF, 4, 4}, // negative planes
        {1, 1, 17, 2},   // bytes per line too small for the width
        {4, 1, 9, 4},      {8, 1, 5, 4}, {8, 3, 5, 4}, {2, 1, 9, 2}, {8, 1, 4, 0}, // no bytes per line
        {8, 1, 4, 0xFFFC},                                                         // negative bytes per line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.bits) << "x" << int(c.planes) << " w" << c.width << " bpl "
                                        << c.bytesPerLine);
        PcxRawSpec plan = RawPlan(c.bits, c.planes, c.width, 2, c.bytesPerLine);
        Bytes file = gamedata::EncodePcxRaw(plan);
        file.resize(file.size() + 4096, 0x11); // plenty of pixel data
        std::uint32_t w = 0, h = 0;
        EXPECT_FALSE(Decode(file, w, h));
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, 2u);
    }
    // Bounds that give a width of 0.
    PcxRawSpec empty = RawPlan(8, 1, 4, 2, 4);
    empty.xmin = 5;
    empty.xmax = 4;
    Bytes file = gamedata::EncodePcxRaw(empty);
    file.resize(file.size() + 4096, 0x11);
    EXPECT_FALSE(Decode(file));
}

TEST(PcxRoundTrip, EightBitAndTrueColourFilesDecodeToWhatWasWritten)
{
    std::mt19937 rng(11);
    for (std::uint32_t seed : {1u, 7u, 99u}) {
        const std::uint32_t w = 151, h = 9; // odd width: a pad byte; long flat stretches: long runs
        Bytes indices(w * h);
        for (std::size_t i = 0; i < indices.size(); ++i)
            indices[i] = static_cast<std::uint8_t>((i / w) % 3 == 0 ? 0xC7 : rng());
        std::array<std::uint8_t, 768> palette{};
        for (auto& b : palette)
            b = static_cast<std::uint8_t>(rng());
        const auto image = Decode(gamedata::EncodePcx8(w, h, indices, palette, seed));
        ASSERT_TRUE(image);
        ASSERT_EQ(image->pixels.size(), std::size_t{w} * h * 3);
        for (std::size_t i = 0; i < indices.size(); ++i)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(image->pixels[i * 3 + c], palette[indices[i] * 3 + c]) << i;

        PackedImage rgb{w, h, Bytes(std::size_t{w} * h * 3)};
        for (std::size_t i = 0; i < rgb.pixels.size(); ++i)
            rgb.pixels[i] = static_cast<std::uint8_t>((i / (w * 3)) % 2 ? 0xFF : rng());
        const auto decoded = Decode(gamedata::EncodePcx24(rgb, seed));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->pixels, rgb.pixels);
    }
}

TEST(PcxRoundTrip, WritersPadToEvenLinesAndVaryOnlyUnusedFields)
{
    const Bytes indices = {1, 2, 3, 4, 5, 6, 7, 8, 9}; // 3 x 3: an odd width
    std::array<std::uint8_t, 768> palette{};
    palette[3 * 5] = 200;
    const Bytes a = gamedata::EncodePcx8(3, 3, indices, palette, 1);
    const Bytes b = gamedata::EncodePcx8(3, 3, indices, palette, 2);
    EXPECT_EQ(a[66] | (a[67] << 8), 4); // bytes per line, even
    EXPECT_EQ(a[2], 1);                 // other tools insist on encoding 1
    EXPECT_EQ(a[65], 1);
    EXPECT_NE(Bytes(a.begin() + 70, a.begin() + 128), Bytes(b.begin() + 70, b.begin() + 128));
    const auto first = Decode(a);
    const auto second = Decode(b);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->pixels, second->pixels);
    EXPECT_EQ(first->pixels[3 * 4], 200); // pixel (1, 1) has index 5

    PackedImage rgb{3, 1, Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}};
    const Bytes c = gamedata::EncodePcx24(rgb, 5);
    EXPECT_EQ(c[66] | (c[67] << 8), 4);
    EXPECT_EQ(c[65], 3);
}

TEST(PcxLoad, LoadsFromDiskAsFromMemory)
{
    test::ScratchDir dir;
    const Bytes file = gamedata::EncodePcxRaw(EightBitSpec());
    test::WriteBytes(dir.File("map.pcx"), file);
    std::uint32_t w = 0, h = 0;
    const auto image = LoadPcxImage(dir.File("map.pcx"), w, h);
    ExpectEightBit(image, TrailingEntry);
    EXPECT_EQ(w, 5u);
    EXPECT_EQ(h, 3u);

    w = h = 777;
    EXPECT_FALSE(LoadPcxImage("", w, h));
    EXPECT_FALSE(LoadPcxImage(dir.File("missing.pcx"), w, h));
    EXPECT_FALSE(LoadPcxImage(dir.Path(), w, h));
    EXPECT_EQ(w, 777u);

    test::WriteBytes(dir.File("cut.pcx"), Bytes(file.begin(), file.end() - 772));
    EXPECT_FALSE(LoadPcxImage(dir.File("cut.pcx"), w, h));
    EXPECT_EQ(w, 5u);
    EXPECT_EQ(h, 3u);
}

} // namespace
} // namespace orvik
