// Decoding within a memory limit: refused before allocating when the limit is too small, the same
// image as without a limit when it is enough.
#include "gamedata/PcxWriter.h"
#include "image/AllocationProbe.h"
#include "image/Pcx.h"

#include <gtest/gtest.h>

#include <string>

namespace orvik {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Scan lines of a varying pattern, packed as the layout stores them.
Bytes RawImage(std::uint8_t bits, std::uint8_t planes, std::uint16_t width, std::uint16_t height)
{
    gamedata::PcxRawSpec plan;
    plan.bitsPerPixel = bits;
    plan.planes = planes;
    plan.xmax = static_cast<std::uint16_t>(width - 1);
    plan.ymax = static_cast<std::uint16_t>(height - 1);
    plan.bytesPerLine = static_cast<std::uint16_t>(((width * bits + 15) / 16) * 2);
    plan.trailingPalette = bits == 8 && planes == 1;
    for (int i = 0; i < 768; ++i)
        plan.palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7);
    for (std::uint16_t y = 0; y < height; ++y) {
        Bytes line(static_cast<std::size_t>(plan.bytesPerLine) * planes);
        for (std::size_t i = 0; i < line.size(); ++i)
            line[i] = static_cast<std::uint8_t>((i / 5 + y * 3) & 0xFF);
        plan.lines.push_back(line);
    }
    return gamedata::EncodePcxRaw(plan);
}

PcxHeader HeaderOf(const Bytes& file)
{
    PcxHeader h;
    h.bitsPerPixel = static_cast<std::int8_t>(file[3]);
    h.xmax = static_cast<std::uint16_t>(file[8] | file[9] << 8);
    h.ymax = static_cast<std::uint16_t>(file[10] | file[11] << 8);
    h.planes = static_cast<std::int8_t>(file[65]);
    h.bytesPerLine = static_cast<std::int16_t>(file[66] | file[67] << 8);
    return h;
}

TEST(PcxMemoryLimit, RefusedBelowTheNeedDecodedFromItOn)
{
    struct Case {
        const char* what;
        std::uint8_t bits, planes;
        std::uint16_t width, height;
    };
    const Case cases[] = {
        {"8-bit", 8, 1, 700, 300},    {"24-bit", 8, 3, 640, 480},
        {"4-bit", 4, 1, 901, 250},    {"16 colours in planes", 1, 4, 1000, 260},
        {"one bit", 1, 1, 2001, 100}, {"odd width, one line", 8, 3, 4099, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes file = RawImage(c.bits, c.planes, c.width, c.height);
        std::uint32_t w = 0, h = 0;
        const auto whole = DecodePcx(file.data(), file.size(), w, h);
        ASSERT_TRUE(whole.has_value());
        const std::uint64_t need = PcxDecodeBytes(HeaderOf(file));
        const std::uint64_t pixels = std::uint64_t{c.width} * c.height * 3;
        EXPECT_GT(need, pixels);

        for (const std::uint64_t limit : {need, need + 1, need * 2}) {
            PcxError error = PcxError::TooLarge;
            const auto within = DecodePcxWithin(file.data(), file.size(), limit, w, h, &error);
            ASSERT_TRUE(within.has_value()) << limit;
            EXPECT_EQ(error, PcxError::None);
            EXPECT_EQ(within->pixels, whole->pixels);
        }
        for (const std::uint64_t limit : {need - 1, pixels, std::uint64_t{0}}) {
            test::AllocationProbe probe;
            PcxError error = PcxError::None;
            w = h = 0;
            EXPECT_FALSE(DecodePcxWithin(file.data(), file.size(), limit, w, h, &error).has_value()) << limit;
            EXPECT_EQ(error, PcxError::TooLarge);
            EXPECT_EQ(w, c.width);
            EXPECT_EQ(h, c.height);
            EXPECT_LT(probe.Largest(), 4096u) << "allocated before refusing";
        }
    }
}

TEST(PcxMemoryLimit, OtherRefusalsAreNotTakenForSize)
{
    Bytes file = RawImage(8, 1, 300, 200);
    std::uint32_t w = 0, h = 0;
    PcxError error = PcxError::None;
    // Cut short: not enough data, whatever the limit.
    const Bytes cut(file.begin(), file.begin() + 400);
    EXPECT_FALSE(DecodePcxWithin(cut.data(), cut.size(), std::uint64_t{1} << 40, w, h, &error).has_value());
    EXPECT_EQ(error, PcxError::Truncated);
    file[0] = 9; // not a PCX file
    EXPECT_FALSE(DecodePcxWithin(file.data(), file.size(), 0, w, h, &error).has_value());
    EXPECT_EQ(error, PcxError::NotPcx);
    // A file that is not there.
    EXPECT_FALSE(LoadPcxImageWithin("/nonexistent/map.pcx", 0, w, h, &error).has_value());
    EXPECT_EQ(error, PcxError::CannotOpen);
}

} // namespace
} // namespace orvik
