#include "labels/LabelPainter.h"

#include <QImage>
#include <QPainter>
#include <QString>

namespace orvik {

QFont LabelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

Canvas::TextDrawer MakeLabelDrawer()
{
    return [font = LabelFont()](Canvas& canvas, int x, int y, const std::string& text, Rgb colour) {
        QImage image(canvas.Data(), canvas.Width(), canvas.Height(), canvas.Stride(), QImage::Format_RGB888);
        QPainter painter(&image);
        const PixelRect& clip = canvas.Clip();
        painter.setClipRect(QRect(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top));
        painter.setFont(font);
        painter.setPen(QColor(colour.r, colour.g, colour.b));
        // Labels are digits and a minus sign: Latin-1 covers them.
        painter.drawText(QRect(x, y, 200, 40), Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(text.c_str()));
    };
}

void InstallMapLabelDrawer(Canvas& canvas) { canvas.SetTextDrawer(MakeLabelDrawer()); }

} // namespace orvik
