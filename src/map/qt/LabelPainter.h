#pragma once
// Draws the map's item labels with QPainter straight into a Canvas's memory. Needs only QtGui, so
// the editor's map widget and the command line's renderer draw labels the same way.
#include "image/Canvas.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace orvik {

// 8-point Arial at 96 dpi is 11 pixels; Liberation Sans has the same metrics where Arial is
// missing. No antialiasing, so labels stay the exact label colour.
inline QFont LabelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

inline Canvas::TextDrawer MakeLabelDrawer()
{
    return [font = LabelFont()](Canvas& canvas, int x, int y, const std::string& text, Rgb colour) {
        QImage image(canvas.Data(), canvas.Width(), canvas.Height(), canvas.Stride(), QImage::Format_RGB888);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(QColor(colour.r, colour.g, colour.b));
        // Labels are digits and a minus sign: Latin-1 covers them.
        painter.drawText(QRect(x, y, 200, 40), Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(text.c_str()));
    };
}

// Gives a canvas the label drawer above.
inline void InstallMapLabelDrawer(Canvas& canvas) { canvas.SetTextDrawer(MakeLabelDrawer()); }

} // namespace orvik
