#include "image/Bitmap.h"
#include "image/Canvas.h"

#include <gtest/gtest.h>

#include <random>

namespace orvik {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Px {
    int r, g, b;
    friend bool operator==(const Px&, const Px&) = default;
};

std::ostream& operator<<(std::ostream& os, const Px& p) { return os << '(' << p.r << ',' << p.g << ',' << p.b << ')'; }

Px At(const PackedImage& image, std::uint32_t x, std::uint32_t y)
{
    const std::uint8_t* p = image.pixels.data() + (std::size_t{y} * image.width + x) * 3;
    return {p[0], p[1], p[2]};
}

void Set(PackedImage& image, std::uint32_t x, std::uint32_t y, Px c)
{
    std::uint8_t* p = image.pixels.data() + (std::size_t{y} * image.width + x) * 3;
    p[0] = static_cast<std::uint8_t>(c.r);
    p[1] = static_cast<std::uint8_t>(c.g);
    p[2] = static_cast<std::uint8_t>(c.b);
}

PackedImage Random(std::uint32_t w, std::uint32_t h, std::uint32_t seed)
{
    PackedImage image{w, h, Bytes(std::size_t{w} * h * 3)};
    std::mt19937 rng(seed);
    for (auto& b : image.pixels)
        b = static_cast<std::uint8_t>(rng());
    return image;
}

// Each pixel names its place: red and green the low bits of x and y, blue their high bits.
PackedImage Coordinates(std::uint32_t w, std::uint32_t h)
{
    PackedImage image{w, h, Bytes(std::size_t{w} * h * 3)};
    for (std::uint32_t y = 0; y < h; ++y)
        for (std::uint32_t x = 0; x < w; ++x)
            Set(image, x, y, {int(x & 255), int(y & 255), int((x >> 8) | ((y >> 8) << 4))});
    return image;
}

std::optional<PackedImage> Shrink(const PackedImage& src, std::uint32_t w, std::uint32_t h)
{
    return ShrinkImage(src.pixels.data(), src.width, src.height, w, h);
}

TEST(ShrinkImage, HalvingAveragesEachTwoByTwoBlockTruncating)
{
    PackedImage src = Random(1024, 1024, 4);
    Set(src, 200, 100, {1, 255, 0});
    Set(src, 201, 100, {2, 255, 0});
    Set(src, 200, 101, {2, 255, 0});
    Set(src, 201, 101, {2, 254, 3});
    const auto out = Shrink(src, 512, 512);
    ASSERT_TRUE(out);
    ASSERT_EQ(out->pixels.size(), 512u * 512u * 3u);
    EXPECT_EQ(At(*out, 100, 50), (Px{1, 254, 0}));

    // Every other pixel is the truncated mean of its block as well.
    for (std::uint32_t y = 0; y < 512; ++y)
        for (std::uint32_t x = 0; x < 512; ++x) {
            const Px a = At(src, 2 * x, 2 * y), b = At(src, 2 * x + 1, 2 * y);
            const Px c = At(src, 2 * x, 2 * y + 1), d = At(src, 2 * x + 1, 2 * y + 1);
            const Px mean{(a.r + b.r + c.r + d.r) / 4, (a.g + b.g + c.g + d.g) / 4, (a.b + b.b + c.b + d.b) / 4};
            ASSERT_EQ(At(*out, x, y), mean) << x << ',' << y;
        }
}

TEST(ShrinkImage, ABoxOfOneSamplesTheSourcePixelAtTheScaledPosition)
{
    // 1000 / 512 = 1.953125: a box of 1.
    const PackedImage src = Coordinates(1000, 1000);
    const auto out = Shrink(src, 512, 512);
    ASSERT_TRUE(out);
    for (std::uint32_t y = 0; y < 512; ++y)
        for (std::uint32_t x = 0; x < 512; ++x)
            ASSERT_EQ(At(*out, x, y), At(src, std::uint32_t(x * 1.953125), std::uint32_t(y * 1.953125)))
                << x << ',' << y;

    // Ratios 2 and 1.5: the smaller decides, so the box is 1 in both directions.
    const PackedImage wide = Coordinates(1024, 768);
    const auto squeezed = Shrink(wide, 512, 512);
    ASSERT_TRUE(squeezed);
    for (std::uint32_t y = 0; y < 512; ++y)
        for (std::uint32_t x = 0; x < 512; ++x)
            ASSERT_EQ(At(*squeezed, x, y), At(wide, 2 * x, y * 3 / 2)) << x << ',' << y;
}

TEST(ShrinkImage, LargerBoxesAverageAllTheirPixels)
{
    // 7 x 6 to 2 x 2: ratios 3.5 and 3, box 3; columns start at 0 and 3, rows at 0 and 3.
    PackedImage src{7, 6, Bytes(7 * 6 * 3, 0)};
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 3; x < 6; ++x)
            Set(src, x, y, {int(x + y), 9, 250});
    Set(src, 6, 0, {255, 255, 255}); // outside every box
    const auto out = Shrink(src, 2, 2);
    ASSERT_TRUE(out);
    // Red sums to (3+4+5)+(4+5+6)+(5+6+7) = 45, 45 / 9 = 5.
    EXPECT_EQ(At(*out, 1, 0), (Px{5, 9, 250}));
    EXPECT_EQ(At(*out, 0, 0), (Px{0, 0, 0}));
    EXPECT_EQ(At(*out, 1, 1), (Px{0, 0, 0}));
}

TEST(ShrinkImage, SameSizeCopiesAndEnlargingOrEmptyInputIsRefused)
{
    const PackedImage src = Random(37, 11, 9);
    const auto same = Shrink(src, 37, 11);
    ASSERT_TRUE(same);
    EXPECT_EQ(same->pixels, src.pixels);
    EXPECT_EQ(same->width, 37u);
    EXPECT_EQ(same->height, 11u);

    EXPECT_FALSE(Shrink(src, 38, 11));
    EXPECT_FALSE(Shrink(src, 37, 12));
    EXPECT_FALSE(Shrink(src, 0, 5));
    EXPECT_FALSE(Shrink(src, 5, 0));
    EXPECT_FALSE(ShrinkImage(src.pixels.data(), 0, 11, 1, 1));
    EXPECT_FALSE(ShrinkImage(nullptr, 4, 4, 2, 2));
}

TEST(MakeDibBits, RowsRunBottomUpInBlueGreenRedWithZeroPadding)
{
    struct Case {
        std::uint32_t width, stride;
    };
    for (const Case c : {Case{1, 4}, Case{3, 12}, Case{4, 12}}) {
        SCOPED_TRACE(c.width);
        PackedImage image{c.width, 2, Bytes(c.width * 2 * 3)};
        for (std::uint32_t x = 0; x < c.width; ++x) {
            Set(image, x, 0, {int(10 + x), int(20 + x), int(30 + x)});
            Set(image, x, 1, {int(110 + x), int(120 + x), int(130 + x)});
        }
        std::uint32_t stride = 0;
        const auto dib = MakeDibBits(image.pixels.data(), c.width, 2, stride);
        ASSERT_TRUE(dib);
        EXPECT_EQ(stride, c.stride);
        ASSERT_EQ(dib->size(), c.stride * 2);
        Bytes expected(c.stride * 2, 0);
        for (std::uint32_t x = 0; x < c.width; ++x) {
            // DIB row 0 is the image's bottom row.
            expected[x * 3] = static_cast<std::uint8_t>(130 + x);
            expected[x * 3 + 1] = static_cast<std::uint8_t>(120 + x);
            expected[x * 3 + 2] = static_cast<std::uint8_t>(110 + x);
            expected[c.stride + x * 3] = static_cast<std::uint8_t>(30 + x);
            expected[c.stride + x * 3 + 1] = static_cast<std::uint8_t>(20 + x);
            expected[c.stride + x * 3 + 2] = static_cast<std::uint8_t>(10 + x);
        }
        EXPECT_EQ(*dib, expected);
    }
    std::uint32_t stride = 0;
    const Bytes pixel{1, 2, 3};
    EXPECT_FALSE(MakeDibBits(nullptr, 1, 1, stride));
    EXPECT_FALSE(MakeDibBits(pixel.data(), 0, 1, stride));
    EXPECT_FALSE(MakeDibBits(pixel.data(), 1, 0, stride));
}

// A 2 x 2 image: red, green over blue, white.
PackedImage Quad()
{
    PackedImage image{2, 2, Bytes(12)};
    Set(image, 0, 0, {255, 0, 0});
    Set(image, 1, 0, {0, 255, 0});
    Set(image, 0, 1, {0, 0, 255});
    Set(image, 1, 1, {255, 255, 255});
    return image;
}

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0};

// The picture as it used to be made: through the bottom-up BGR DIB, nearest pixel, clipped.
Canvas DrawnThroughTheDib(const PackedImage& image, int canvasW, int canvasH, int x, int y, int dstW, int dstH)
{
    Canvas canvas(canvasW, canvasH);
    std::uint32_t stride = 0;
    const auto dib = MakeDibBits(image.pixels.data(), image.width, image.height, stride);
    for (int j = 0; j < dstH; ++j)
        for (int i = 0; i < dstW; ++i) {
            const std::uint64_t ci = 2 * std::uint64_t(i) + 1, cj = 2 * std::uint64_t(j) + 1;
            const auto sx = static_cast<std::size_t>(ci * image.width / (2 * std::uint64_t(dstW)));
            const auto sy = static_cast<std::size_t>(cj * image.height / (2 * std::uint64_t(dstH)));
            const std::uint8_t* p = dib->data() + (image.height - 1 - sy) * stride + sx * 3;
            canvas.SetPixel(x + i, y + j, Rgb{p[2], p[1], p[0]});
        }
    return canvas;
}

TEST(DrawImage, DrawsWhatTheDibLayoutGave)
{
    struct Case {
        std::uint32_t w, h;
        int x, y, dstW, dstH;
    };
    const Case cases[] = {
        {512, 512, 0, 0, 512, 512}, // the map's own draw
        {7, 5, 2, 3, 7, 5},         // 1:1, odd width (DIB padding)
        {7, 5, -3, -2, 7, 5},       // 1:1 clipped at the top left
        {7, 5, 30, 25, 7, 5},       // 1:1 clipped at the bottom right
        {9, 4, 1, 1, 20, 13},       // enlarged
        {33, 17, -5, 4, 11, 6},     // shrunk and clipped
        {3, 3, 0, 0, 1, 40},        // squeezed one way, stretched the other
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " at " << c.x << "," << c.y << " as " << c.dstW << "x"
                                        << c.dstH);
        const PackedImage image = Random(c.w, c.h, c.w * 31 + c.h);
        const int canvasW = 32, canvasH = 28;
        const int cw = c.w == 512 ? 512 : canvasW, ch = c.h == 512 ? 512 : canvasH;
        Canvas canvas(cw, ch);
        ASSERT_TRUE(DrawImage(&canvas, image.pixels.data(), c.w, c.h, c.x, c.y, c.dstW, c.dstH));
        const Canvas expected = DrawnThroughTheDib(image, cw, ch, c.x, c.y, c.dstW, c.dstH);
        int wrong = 0;
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x)
                if (!(canvas.Pixel(x, y) == expected.Pixel(x, y)) && wrong++ < 3)
                    ADD_FAILURE() << "pixel " << x << "," << y;
        EXPECT_EQ(wrong, 0);
    }
}

TEST(DrawImage, OneToOneKeepsTheTopRowAtTheTopAndItsColours)
{
    Canvas canvas(6, 5);
    const PackedImage image = Quad();
    EXPECT_TRUE(DrawImage(&canvas, image.pixels.data(), 2, 2, 3, 1, 2, 2));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            Rgb expected = kBlack;
            if (x == 3 && y == 1)
                expected = kRed;
            else if (x == 4 && y == 1)
                expected = kGreen;
            else if (x == 3 && y == 2)
                expected = kBlue;
            else if (x == 4 && y == 2)
                expected = kWhite;
            EXPECT_EQ(canvas.Pixel(x, y), expected) << x << ',' << y;
        }
}

TEST(DrawImage, AnotherSizeStretchesByNearestPixel)
{
    Canvas canvas(4, 4);
    const PackedImage image = Quad();
    EXPECT_TRUE(DrawImage(&canvas, image.pixels.data(), 2, 2, 0, 0, 4, 4));
    const Rgb expected[2][2] = {{kRed, kGreen}, {kBlue, kWhite}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(canvas.Pixel(x, y), expected[y / 2][x / 2]) << x << ',' << y;

    // Shrinking 4 x 1 to 2 x 1 takes the pixels under the destination pixels' centres: 1 and 3.
    PackedImage row{4, 1, Bytes{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}};
    Canvas small(2, 1);
    EXPECT_TRUE(DrawImage(&small, row.pixels.data(), 4, 1, 0, 0, 2, 1));
    EXPECT_EQ(small.Pixel(0, 0), (Rgb{2, 2, 2}));
    EXPECT_EQ(small.Pixel(1, 0), (Rgb{4, 4, 4}));
}

TEST(DrawImage, IsClippedToTheCanvasAndRefusesBadArguments)
{
    const PackedImage image = Quad();
    Canvas canvas(3, 3);
    EXPECT_TRUE(DrawImage(&canvas, image.pixels.data(), 2, 2, -1, -1, 2, 2));
    EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
    EXPECT_EQ(canvas.Pixel(1, 0), kBlack);
    EXPECT_EQ(canvas.Pixel(0, 1), kBlack);

    Canvas corner(3, 3);
    EXPECT_TRUE(DrawImage(&corner, image.pixels.data(), 2, 2, 2, 2, 4, 4));
    EXPECT_EQ(corner.Pixel(2, 2), kRed);
    EXPECT_EQ(corner.Pixel(1, 1), kBlack);

    Canvas untouched(3, 3);
    EXPECT_TRUE(DrawImage(&untouched, image.pixels.data(), 2, 2, 1000, -1000, 2, 2));
    EXPECT_TRUE(DrawImage(&untouched, image.pixels.data(), 2, 2, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX));
    EXPECT_EQ(untouched.Pixel(0, 0), kBlack);
    EXPECT_FALSE(DrawImage(nullptr, image.pixels.data(), 2, 2, 0, 0, 2, 2));
    EXPECT_FALSE(DrawImage(&untouched, nullptr, 2, 2, 0, 0, 2, 2));
    EXPECT_FALSE(DrawImage(&untouched, image.pixels.data(), 0, 2, 0, 0, 2, 2));
    EXPECT_FALSE(DrawImage(&untouched, image.pixels.data(), 2, 2, 0, 0, 0, 2));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(untouched.Pixel(x, y), kBlack);
}

} // namespace
} // namespace orvik
