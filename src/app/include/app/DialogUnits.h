#pragma once
// Dialog units of the editor's layout, with base units 6 x 13 pixels. Edges are converted one by
// one (as the platform maps a dialog rectangle), so neighbouring controls never overlap by rounding.
#include <QRect>

#include <cmath>

namespace orvik {

inline int DluToPixelsX(int x) { return static_cast<int>(std::lround(x * 6.0 / 4.0)); }
inline int DluToPixelsY(int y) { return static_cast<int>(std::lround(y * 13.0 / 8.0)); }

// A rectangle given as x, y, width, height in dialog units.
inline QRect DluRect(int x, int y, int width, int height)
{
    const int left = DluToPixelsX(x);
    const int top = DluToPixelsY(y);
    return QRect(left, top, DluToPixelsX(x + width) - left, DluToPixelsY(y + height) - top);
}

} // namespace orvik
