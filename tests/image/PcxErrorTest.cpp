// Why the PCX decoder refuses a file: one reason per refusal, each with its own words.
#include "gamedata/PcxWriter.h"
#include "image/Pcx.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace orvik {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A valid 8-bit file of width x height, every pixel index 3, whose scan lines follow.
Bytes EightBit(std::uint16_t width, std::uint16_t height, std::uint16_t bytesPerLine)
{
    gamedata::PcxRawSpec plan;
    plan.bitsPerPixel = 8;
    plan.planes = 1;
    plan.xmax = static_cast<std::uint16_t>(width - 1);
    plan.ymax = static_cast<std::uint16_t>(height - 1);
    plan.bytesPerLine = bytesPerLine;
    for (std::uint16_t y = 0; y < height; ++y)
        plan.lines.push_back(Bytes(bytesPerLine, 3));
    return gamedata::EncodePcxRaw(plan);
}

Bytes Patched(Bytes file, std::size_t at, std::initializer_list<std::uint8_t> bytes)
{
    for (std::uint8_t b : bytes)
        file[at++] = b;
    return file;
}

TEST(PcxError, EachRefusalNamesItsReason)
{
    const Bytes good = EightBit(6, 4, 6);
    struct Case {
        const char* what;
        Bytes file;
        PcxError reason;
    };
    const Case cases[] = {
        {"a good file", good, PcxError::None},
        {"empty", {}, PcxError::NotPcx},
        {"cut inside the header", Bytes(good.begin(), good.begin() + 100), PcxError::NotPcx},
        {"first byte not 10", Patched(good, 0, {11}), PcxError::NotPcx},
        {"version 4", Patched(good, 1, {4}), PcxError::UnknownVersion},
        {"16 bits a pixel", Patched(good, 3, {16}), PcxError::UnknownLayout},
        {"8 bits in 2 planes", Patched(good, 65, {2}), PcxError::UnknownLayout},
        {"xmin past xmax", Patched(good, 4, {6, 0}), PcxError::NoPixels},
        {"no bytes per line", Patched(good, 66, {0, 0}), PcxError::LineTooShort},
        {"negative bytes per line", Patched(good, 66, {0xFC, 0xFF}), PcxError::LineTooShort},
        {"bytes per line below the width", Patched(good, 66, {5, 0}), PcxError::LineTooShort},
        {"too few lines for the height", Patched(good, 10, {40, 0}), PcxError::Truncated},
        {"cut in the last line", Bytes(good.begin(), good.end() - 2), PcxError::Truncated},
        {"over 2 GiB of pixels", Patched(Patched(good, 8, {0xFE, 0x7F, 0xFE, 0xFF}), 66, {0xFF, 0x7F}),
         PcxError::TooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::uint32_t w = 0, h = 0;
        PcxError error = c.reason == PcxError::None ? PcxError::Truncated : PcxError::None;
        const auto image = DecodePcx(c.file.data(), c.file.size(), w, h, &error);
        EXPECT_EQ(image.has_value(), c.reason == PcxError::None);
        EXPECT_EQ(error, c.reason);

        // The file on disk is refused for the same reason.
        test::ScratchDir dir;
        test::WriteBytes(dir.File("x.pcx"), c.file);
        PcxError fromFile = PcxError::None;
        EXPECT_EQ(LoadPcxImage(dir.File("x.pcx"), w, h, &fromFile).has_value(), image.has_value());
        EXPECT_EQ(fromFile, error);
    }
}

TEST(PcxError, TheMemoryLimitAndAMissingFileHaveTheirOwnReasons)
{
    const Bytes file = EightBit(64, 64, 64);
    std::uint32_t w = 0, h = 0;
    PcxError error = PcxError::None;
    EXPECT_FALSE(DecodePcxWithin(file.data(), file.size(), 64 * 64 * 3, w, h, &error));
    EXPECT_EQ(error, PcxError::TooLarge);
    EXPECT_TRUE(DecodePcxWithin(file.data(), file.size(), 1 << 20, w, h, &error));
    EXPECT_EQ(error, PcxError::None);

    test::ScratchDir dir;
    for (const std::string& path : {std::string(), dir.File("missing.pcx"), dir.Path()}) {
        error = PcxError::None;
        EXPECT_FALSE(LoadPcxImage(path, w, h, &error)) << path;
        EXPECT_EQ(error, PcxError::CannotOpen) << path;
    }
}

TEST(PcxError, EveryReasonHasWordsOfItsOwn)
{
    const PcxError all[] = {PcxError::None,           PcxError::CannotOpen,    PcxError::NotPcx,
                            PcxError::UnknownVersion, PcxError::UnknownLayout, PcxError::NoPixels,
                            PcxError::LineTooShort,   PcxError::TooLarge,      PcxError::Truncated,
                            PcxError::OutOfMemory};
    std::set<std::string> texts;
    for (PcxError e : all) {
        const std::string text = PcxErrorText(e);
        EXPECT_FALSE(text.empty());
        EXPECT_TRUE(texts.insert(text).second) << "said twice: " << text;
    }
    // The reasons met most often say so in plain words.
    EXPECT_NE(std::string(PcxErrorText(PcxError::TooLarge)).find("too large"), std::string::npos);
    EXPECT_NE(std::string(PcxErrorText(PcxError::Truncated)).find("truncated"), std::string::npos);
    EXPECT_NE(std::string(PcxErrorText(PcxError::UnknownLayout)).find("layout"), std::string::npos);
    EXPECT_NE(std::string(PcxErrorText(PcxError::LineTooShort)).find("bytes per line"), std::string::npos);
}

} // namespace
} // namespace orvik
