#pragma once
// Draws the map's item labels with QPainter straight into a Canvas's memory. Needs only QtGui, so
// the editor's map widget and the command line's renderer draw labels the same way.
#include "image/Canvas.h"

#include <QFont>

namespace orvik {

// 8-point Arial at 96 dpi is 11 pixels; Liberation Sans has the same metrics where Arial is
// missing. No antialiasing, so labels stay the exact label colour.
QFont LabelFont();

Canvas::TextDrawer MakeLabelDrawer();

// Gives a canvas the label drawer above.
void InstallMapLabelDrawer(Canvas& canvas);

} // namespace orvik
