#include "map/qt/MapWnd.h"

#include "map/qt/LabelPainter.h"

#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace orvik {

CMapWnd::CMapWnd(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("65535"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFixedSize(MapView::kSize, MapView::kSize);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // Every paint covers the whole client area, so Qt need not erase it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    InstallMapLabelDrawer(m_frame);
}

CMapWnd::~CMapWnd() = default;

void CMapWnd::SetCoordWnd(QLineEdit* coordWnd) { m_pCoordWnd = coordWnd; }

QPoint CMapWnd::ToClient(const QPoint& widgetPoint) const
{
    return widgetPoint - contentsRect().topLeft();
}

void CMapWnd::paintEvent(QPaintEvent* event)
{
    // Without a model the view draws nothing and the frame keeps its black start.
    m_view.Paint(m_frame);
    ++m_nPaintCount;

    QPainter painter(this);
    const QRect client = contentsRect();
    painter.save();
    painter.setClipRect(client);
    const QImage image(m_frame.Data(), m_frame.Width(), m_frame.Height(), m_frame.Stride(), QImage::Format_RGB888);
    painter.drawImage(client.topLeft(), image);
    painter.restore();
    painter.end();
    QFrame::paintEvent(event);  // the border
}

void CMapWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pCoordWnd) {
        const QPoint p = ToClient(event->position().toPoint());
        m_pCoordWnd->setText(QString::fromStdString(m_view.ReadoutText(p.x(), p.y())));
    }
    QFrame::mouseMoveEvent(event);
}

void CMapWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint p = ToClient(event->position().toPoint());
        m_view.Click(p.x(), p.y());
        repaint();
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

} // namespace orvik
