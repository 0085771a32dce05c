#pragma once
// A 24-bit RGB frame with the drawing operations of the map, reproducing the footprints of the
// Windows drawing calls: boxes and lines leave out their right/bottom edge and end point.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvik {

// A pixel rectangle: columns left..right-1, rows top..bottom-1.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    bool Intersects(const PixelRect& o) const
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

class Canvas {
public:
    // Draws text with its top-left corner at (x, y); provided by the shell (QPainter).
    using TextDrawer = std::function<void(Canvas& canvas, int x, int y, const std::string& text, Rgb colour)>;

    Canvas() = default;
    Canvas(int width, int height); // black

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Rows top first, width * 3 bytes each, red green blue.
    std::uint8_t* Data() { return m_pixels.data(); }
    const std::uint8_t* Data() const { return m_pixels.data(); }
    int Stride() const { return m_width * 3; }

    Rgb Pixel(int x, int y) const;           // black outside
    void SetPixel(int x, int y, Rgb colour); // clipped

    // Drawing (not CopyFrom) stays inside the clip, the whole canvas unless set; the text drawer
    // keeps to it too. Redrawing a small part of a frame draws the items around it clipped.
    void SetClip(const PixelRect& clip);
    void ResetClip() { m_clip = {0, 0, m_width, m_height}; }
    const PixelRect& Clip() const { return m_clip; }
    void Fill(Rgb colour);
    void FillRect(int left, int top, int right, int bottom, Rgb colour); // columns left..right-1
    // Black one-pixel outline, white inside: covers left..right-1, top..bottom-1.
    void Rectangle(int left, int top, int right, int bottom);
    // Filled ellipse in the box (left, top)-(right, bottom), pen and brush of one colour. The
    // 4 x 4 box covers its 16 pixels less the four corners.
    void Ellipse(int left, int top, int right, int bottom, Rgb colour);
    // A one-pixel line; the end point is not painted.
    void Line(int x0, int y0, int x1, int y1, Rgb colour);
    // Copies w x h pixels from (sx, sy) of source to (dx, dy), clipped to both.
    void CopyFrom(const Canvas& source, int dx, int dy, int w, int h, int sx, int sy);

    void SetTextDrawer(TextDrawer drawer) { m_textDrawer = std::move(drawer); }
    bool HasTextDrawer() const { return static_cast<bool>(m_textDrawer); }
    // Does nothing without a text drawer.
    void Text(int x, int y, const std::string& text, Rgb colour);

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_pixels;
    PixelRect m_clip;
    TextDrawer m_textDrawer;
};

} // namespace orvik
