#include "image/Canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <utility>

namespace orvik {
namespace {

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kPen{200, 30, 90};
using Points = std::set<std::pair<int, int>>;

// The pixels of the canvas that are not black.
Points Painted(const Canvas& canvas)
{
    Points points;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (canvas.Pixel(x, y) != kBlack)
                points.insert({x, y});
    return points;
}

Points Box(int left, int top, int right, int bottom)
{
    Points points;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            points.insert({x, y});
    return points;
}

TEST(CanvasRectangle, CoversLeftToRightLessOneWithABlackOutlineAndWhiteInside)
{
    // The buildings marker at (10, 10): outline x-3..x+2, white 4 x 4 inside.
    Canvas canvas(20, 20);
    canvas.Fill(kPen);
    canvas.Rectangle(7, 7, 13, 13);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            Rgb expected = kPen;
            if (x >= 7 && x <= 12 && y >= 7 && y <= 12)
                expected = (x == 7 || x == 12 || y == 7 || y == 12) ? kBlack : kWhite;
            EXPECT_EQ(canvas.Pixel(x, y), expected) << x << ',' << y;
        }
}

TEST(CanvasRectangle, IsClippedAtTheEdges)
{
    Canvas canvas(5, 5);
    canvas.Fill(kPen);
    canvas.Rectangle(-2, -2, 3, 3);
    EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
    EXPECT_EQ(canvas.Pixel(1, 1), kWhite);
    EXPECT_EQ(canvas.Pixel(2, 0), kBlack);
    EXPECT_EQ(canvas.Pixel(0, 2), kBlack);
    EXPECT_EQ(canvas.Pixel(3, 0), kPen);

    Canvas all(4, 4);
    all.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(Painted(all), Box(0, 0, 4, 4));
    EXPECT_EQ(all.Pixel(0, 0), kWhite);
}

TEST(CanvasEllipse, AFourByFourBoxLeavesOutItsCorners)
{
    Canvas canvas(12, 12);
    canvas.Ellipse(3, 4, 7, 8, kPen); // the marker at (5, 6)
    Points expected = Box(3, 4, 7, 8);
    for (auto corner : {std::pair{3, 4}, std::pair{6, 4}, std::pair{3, 7}, std::pair{6, 7}})
        expected.erase(corner);
    EXPECT_EQ(expected.size(), 12u);
    EXPECT_EQ(Painted(canvas), expected);
    EXPECT_EQ(canvas.Pixel(4, 4), kPen);
}

TEST(CanvasEllipse, IsClippedAndSurvivesAnyBox)
{
    Canvas canvas(4, 4);
    canvas.Ellipse(-2, -2, 2, 2, kPen);
    EXPECT_EQ(Painted(canvas), (Points{{0, 0}, {1, 0}, {0, 1}}));

    Canvas huge(6, 6);
    huge.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kPen);
    EXPECT_EQ(Painted(huge), Box(0, 0, 6, 6));
    huge.Ellipse(INT_MAX - 3, 0, INT_MAX, 3, kWhite);
    Canvas flat(6, 6);
    flat.Ellipse(1, 1, 5, 1, kPen);
    EXPECT_TRUE(Painted(flat).empty());
}

TEST(CanvasLine, NeverPaintsTheEndPoint)
{
    struct Case {
        int x0, y0, x1, y1;
        Points expected;
    };
    const Case cases[] = {
        {3, 5, 7, 5, {{3, 5}, {4, 5}, {5, 5}, {6, 5}}}, // marker line x-2..x+1
        {7, 5, 3, 5, {{7, 5}, {6, 5}, {5, 5}, {4, 5}}}, // drawn the other way
        {5, 3, 5, 7, {{5, 3}, {5, 4}, {5, 5}, {5, 6}}},
        {0, 0, 4, 4, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {0, 0, 6, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}}, // Bresenham
        {2, 9, 0, 3, {{2, 9}, {2, 8}, {1, 7}, {1, 6}, {1, 5}, {0, 4}}},
        {4, 4, 4, 4, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x0 << ',' << c.y0 << " -> " << c.x1 << ',' << c.y1);
        Canvas canvas(10, 10);
        canvas.Line(c.x0, c.y0, c.x1, c.y1, kPen);
        EXPECT_EQ(Painted(canvas), c.expected);
    }
}

TEST(CanvasLine, IsClippedForAnyCoordinates)
{
    Canvas canvas(8, 8);
    canvas.Line(-1000000, 5, 2000000000, 5, kPen);
    EXPECT_EQ(Painted(canvas), Box(0, 5, 8, 6));

    Canvas edge(8, 8);
    edge.Line(-2, 3, 2, 3, kPen);
    EXPECT_EQ(Painted(edge), (Points{{0, 3}, {1, 3}}));

    // From corner to corner of the whole integer range: the diagonal through the canvas.
    Canvas diagonal(8, 8);
    diagonal.Line(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kPen);
    Points expected;
    for (int i = 0; i < 8; ++i)
        expected.insert({i, i});
    EXPECT_EQ(Painted(diagonal), expected);

    Canvas away(8, 8);
    away.Line(INT_MAX, INT_MIN, INT_MIN, INT_MAX - 1, kPen);
    away.Line(100, 100, 200, 300, kPen);
    away.Line(-1, -1, -50, 3, kPen);
    EXPECT_TRUE(Painted(away).empty());
}

TEST(CanvasCopy, CopiesTheOverlapOnly)
{
    Canvas source(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            source.SetPixel(x, y, Rgb{static_cast<std::uint8_t>(x + 1), static_cast<std::uint8_t>(y + 1), 7});
    Canvas target(5, 5);
    target.CopyFrom(source, -1, 3, 4, 4, 0, 0);
    EXPECT_EQ(target.Pixel(0, 3), (Rgb{2, 1, 7}));
    EXPECT_EQ(target.Pixel(2, 4), (Rgb{4, 2, 7}));
    EXPECT_EQ(Painted(target), Box(0, 3, 3, 5));

    Canvas fromOutside(5, 5);
    fromOutside.CopyFrom(source, 0, 0, 10, 10, 2, -1);
    EXPECT_EQ(fromOutside.Pixel(0, 1), (Rgb{3, 1, 7}));
    EXPECT_EQ(Painted(fromOutside), Box(0, 1, 2, 5));

    Canvas none(5, 5);
    none.CopyFrom(source, INT_MAX, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0);
    none.CopyFrom(source, 0, 0, -3, 2, 0, 0);
    EXPECT_TRUE(Painted(none).empty());

    // Onto itself, overlapping: the result is as if copied through a second canvas.
    Canvas self = source;
    self.CopyFrom(self, 1, 1, 3, 3, 0, 0);
    EXPECT_EQ(self.Pixel(1, 1), source.Pixel(0, 0));
    EXPECT_EQ(self.Pixel(3, 3), source.Pixel(2, 2));
    EXPECT_EQ(self.Pixel(3, 1), source.Pixel(2, 0));
    self = source;
    self.CopyFrom(self, 0, 0, 3, 3, 1, 1);
    EXPECT_EQ(self.Pixel(0, 0), source.Pixel(1, 1));
    EXPECT_EQ(self.Pixel(2, 2), source.Pixel(3, 3));
}

TEST(CanvasPixels, OutsideIsBlackAndUntouchable)
{
    Canvas canvas(3, 2);
    EXPECT_EQ(canvas.Stride(), 9);
    canvas.SetPixel(-1, 0, kPen);
    canvas.SetPixel(3, 0, kPen);
    canvas.SetPixel(0, 2, kPen);
    canvas.FillRect(-5, -5, 0, 10, kPen);
    canvas.FillRect(2, 0, 1, 2, kPen);
    EXPECT_TRUE(Painted(canvas).empty());
    canvas.SetPixel(2, 1, kPen);
    EXPECT_EQ(canvas.Data()[(1 * 3 + 2) * 3], kPen.r);
    canvas.Fill(kWhite);
    EXPECT_EQ(canvas.Pixel(3, 0), kBlack);
    EXPECT_EQ(canvas.Pixel(0, -1), kBlack);

    Canvas empty(-4, 7);
    EXPECT_EQ(empty.Width(), 0);
    empty.Fill(kPen);
    empty.Line(0, 0, 5, 5, kPen);
}

TEST(CanvasText, GoesThroughTheDrawerWhenThereIsOne)
{
    Canvas canvas(4, 4);
    canvas.Text(1, 1, "12", kPen); // no drawer: nothing
    EXPECT_TRUE(Painted(canvas).empty());
    std::string seen;
    canvas.SetTextDrawer([&](Canvas& c, int x, int y, const std::string& text, Rgb colour) {
        seen = text;
        c.SetPixel(x, y, colour);
    });
    EXPECT_TRUE(canvas.HasTextDrawer());
    canvas.Text(2, 3, "-7", kPen);
    EXPECT_EQ(seen, "-7");
    EXPECT_EQ(Painted(canvas), (Points{{2, 3}}));
}

} // namespace
} // namespace orvik
