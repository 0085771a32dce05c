#include "image/Canvas.h"

#include <algorithm>
#include <cstring>

namespace orvik {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// A half-open span [from, to) held to [0, size). Coordinates are widened first, so that no
// caller's value can overflow.
struct Span {
    std::int64_t from = 0;
    std::int64_t to = 0;
    bool Empty() const { return to <= from; }
};

Span ClipSpan(std::int64_t from, std::int64_t to, int low, int high)
{
    return {std::max<std::int64_t>(from, low), std::min<std::int64_t>(to, high)};
}

} // namespace

Canvas::Canvas(int width, int height)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height) * 3, 0),
      m_clip{0, 0, m_width, m_height}
{}

void Canvas::SetClip(const PixelRect& clip)
{
    m_clip = {std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, m_width),
              std::min(clip.bottom, m_height)};
}

Rgb Canvas::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return kBlack;
    const std::uint8_t* p = m_pixels.data() + (static_cast<std::size_t>(y) * m_width + x) * 3;
    return {p[0], p[1], p[2]};
}

void Canvas::SetPixel(int x, int y, Rgb colour)
{
    if (x < m_clip.left || y < m_clip.top || x >= m_clip.right || y >= m_clip.bottom)
        return;
    std::uint8_t* p = m_pixels.data() + (static_cast<std::size_t>(y) * m_width + x) * 3;
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
}

void Canvas::Fill(Rgb colour) { FillRect(0, 0, m_width, m_height, colour); }

void Canvas::FillRect(int left, int top, int right, int bottom, Rgb colour)
{
    const Span xs = ClipSpan(left, right, m_clip.left, m_clip.right);
    const Span ys = ClipSpan(top, bottom, m_clip.top, m_clip.bottom);
    if (xs.Empty() || ys.Empty())
        return;
    for (std::int64_t y = ys.from; y < ys.to; ++y) {
        std::uint8_t* p = m_pixels.data() + static_cast<std::size_t>(y * m_width + xs.from) * 3;
        for (std::int64_t x = xs.from; x < xs.to; ++x, p += 3) {
            p[0] = colour.r;
            p[1] = colour.g;
            p[2] = colour.b;
        }
    }
}

void Canvas::Rectangle(int left, int top, int right, int bottom)
{
    // Like the platform's call, a box given corner to corner the other way round is the same box.
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (right == left || bottom == top)
        return;
    FillRect(left, top, right, bottom, kBlack);
    const std::int64_t innerRight = std::int64_t{right} - 1;
    const std::int64_t innerBottom = std::int64_t{bottom} - 1;
    if (innerRight > std::int64_t{left} + 1 && innerBottom > std::int64_t{top} + 1)
        FillRect(left + 1, top + 1, static_cast<int>(innerRight), static_cast<int>(innerBottom), kWhite);
}

void Canvas::Ellipse(int left, int top, int right, int bottom, Rgb colour)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    // A pixel belongs to the ellipse when its centre lies inside the ellipse inscribed in the
    // box. In doubled coordinates the centre of pixel px is 2 px + 1 and the box's centre is
    // left + right, so a 4 x 4 box keeps all but its four corners.
    const double w = static_cast<double>(right) - left;
    const double h = static_cast<double>(bottom) - top;
    if (w <= 0 || h <= 0)
        return;
    const Span xs = ClipSpan(left, right, m_clip.left, m_clip.right);
    const Span ys = ClipSpan(top, bottom, m_clip.top, m_clip.bottom);
    const double cx = static_cast<double>(left) + right;
    const double cy = static_cast<double>(top) + bottom;
    const double limit = w * w * h * h;
    for (std::int64_t y = ys.from; y < ys.to; ++y) {
        const double dy = static_cast<double>(2 * y + 1) - cy;
        const double rowPart = dy * dy * w * w;
        for (std::int64_t x = xs.from; x < xs.to; ++x) {
            const double dx = static_cast<double>(2 * x + 1) - cx;
            if (dx * dx * h * h + rowPart <= limit)
                SetPixel(static_cast<int>(x), static_cast<int>(y), colour);
        }
    }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb colour)
{
    // Bresenham from (x0, y0) towards (x1, y1), the end point left out. Step k of the major
    // axis moves the minor axis by round(k * minor / major), halves rounding away from the
    // start; the steps are computed directly, so only those over the canvas are visited.
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const std::uint64_t adx = static_cast<std::uint64_t>(dx < 0 ? -dx : dx);
    const std::uint64_t ady = static_cast<std::uint64_t>(dy < 0 ? -dy : dy);
    if (adx == 0 && ady == 0)
        return;
    const bool xMajor = adx >= ady;
    const std::uint64_t major = xMajor ? adx : ady;
    const std::uint64_t minor = xMajor ? ady : adx;
    const std::int64_t majorStart = xMajor ? x0 : y0;
    const std::int64_t minorStart = xMajor ? y0 : x0;
    const std::int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int majorSize = xMajor ? m_width : m_height;

    // Steps k in [0, major) whose major coordinate majorStart + majorStep * k lies in [0, majorSize).
    std::int64_t kFrom = 0;
    std::int64_t kTo = static_cast<std::int64_t>(major);
    if (majorStep > 0) {
        kFrom = std::max<std::int64_t>(kFrom, -majorStart);
        kTo = std::min<std::int64_t>(kTo, std::int64_t{majorSize} - majorStart);
    } else {
        kFrom = std::max<std::int64_t>(kFrom, majorStart - (std::int64_t{majorSize} - 1));
        kTo = std::min<std::int64_t>(kTo, majorStart + 1);
    }
    for (std::int64_t k = kFrom; k < kTo; ++k) {
        // k * minor < 2^64 since both are below 2^32.
        const std::uint64_t product = static_cast<std::uint64_t>(k) * minor;
        const std::uint64_t whole = product / major;
        const std::uint64_t rest = product % major;
        const std::int64_t offset = static_cast<std::int64_t>(whole + (2 * rest >= major ? 1 : 0));
        const std::int64_t a = majorStart + majorStep * k;
        const std::int64_t b = minorStart + minorStep * offset;
        const std::int64_t px = xMajor ? a : b;
        const std::int64_t py = xMajor ? b : a;
        if (px >= 0 && py >= 0 && px < m_width && py < m_height)
            SetPixel(static_cast<int>(px), static_cast<int>(py), colour);
    }
}

void Canvas::CopyFrom(const Canvas& source, int dx, int dy, int w, int h, int sx, int sy)
{
    if (w <= 0 || h <= 0)
        return;
    // Clip the source rectangle to the source and the destination rectangle to this canvas,
    // moving both together.
    std::int64_t srcX = sx, srcY = sy, dstX = dx, dstY = dy;
    std::int64_t width = w, height = h;
    auto clipStart = [](std::int64_t& a, std::int64_t& b, std::int64_t& size) {
        const std::int64_t cut = std::max<std::int64_t>({0, -a, -b});
        a += cut;
        b += cut;
        size -= cut;
    };
    clipStart(srcX, dstX, width);
    clipStart(srcY, dstY, height);
    width = std::min({width, std::int64_t{source.m_width} - srcX, std::int64_t{m_width} - dstX});
    height = std::min({height, std::int64_t{source.m_height} - srcY, std::int64_t{m_height} - dstY});
    if (width <= 0 || height <= 0)
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    // Copying a canvas onto itself may overlap: walk the rows from the side that is not yet overwritten.
    const bool upwards = &source == this && dstY > srcY;
    for (std::int64_t r = 0; r < height; ++r) {
        const std::int64_t row = upwards ? height - 1 - r : r;
        const std::uint8_t* from =
            source.m_pixels.data() + static_cast<std::size_t>((srcY + row) * source.m_width + srcX) * 3;
        std::uint8_t* to = m_pixels.data() + static_cast<std::size_t>((dstY + row) * m_width + dstX) * 3;
        std::memmove(to, from, rowBytes);
    }
}

void Canvas::Text(int x, int y, const std::string& text, Rgb colour)
{
    if (m_textDrawer)
        m_textDrawer(*this, x, y, text, colour);
}

} // namespace orvik
