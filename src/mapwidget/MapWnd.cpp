#include "mapwidget/MapWnd.h"

#include "labels/LabelPainter.h"

#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QResizeEvent>
#include <QToolTip>
#include <QWheelEvent>

namespace orvik {

CMapWnd::CMapWnd(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setMinimumSize(MapView::kSize, MapView::kSize);
    resize(MapView::kSize, MapView::kSize);
    setMouseTracking(true);
    // Focus by click only, so the zoom keys reach it and the dialog's tab order stays as it is.
    setFocusPolicy(Qt::ClickFocus);
    // Every paint covers the whole client area, so Qt need not erase it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    InstallMapLabelDrawer(m_frame);
}

CMapWnd::~CMapWnd() = default;

void CMapWnd::SetCoordWnd(QLineEdit* coordWnd) { m_pCoordWnd = coordWnd; }

QPoint CMapWnd::ToClient(const QPoint& widgetPoint) const { return widgetPoint - contentsRect().topLeft(); }

void CMapWnd::paintEvent(QPaintEvent* event)
{
    // Without a model the view draws nothing: the frame goes black, so that a mission that was
    // unloaded (another archive opened, its entry gone) does not stay on show.
    if (m_view.Model() == nullptr)
        m_frame.Fill({0, 0, 0});
    m_view.Paint(m_frame);
    ++m_nPaintCount;

    QPainter painter(this);
    const QRect client = contentsRect();
    // Only the part asked for is copied out: an edit repaints the few pixels around its markers.
    const QRect target = event->rect() & client;
    const QImage image(m_frame.Data(), m_frame.Width(), m_frame.Height(), m_frame.Stride(), QImage::Format_RGB888);
    if (!target.isEmpty())
        painter.drawImage(target, image, target.translated(-client.topLeft()));
    painter.setClipRect(client);
    if (m_gesture == Gesture::Band) {
        // Black and white dashes show on any terrain.
        const QRect band = QRect(m_pressPos, m_bandEnd).normalized().translated(client.topLeft());
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(band);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(band);
    }
    painter.end();
    QFrame::paintEvent(event); // the border
}

namespace {

// A press and release closer than this (in pixels, either way) is a click.
constexpr int kClickSlop = 3;

} // namespace

void CMapWnd::ShowReadout(const QPoint& client)
{
    if (m_pCoordWnd)
        m_pCoordWnd->setText(QString::fromStdString(m_view.ReadoutText(client.x(), client.y())));
}

void CMapWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = ToClient(event->position().toPoint());
    if (m_gesture == Gesture::Press) {
        const QPoint d = p - m_pressPos;
        if (std::abs(d.x()) > kClickSlop || std::abs(d.y()) > kClickSlop) {
            if (m_bBand) {
                m_gesture = Gesture::Band;
            } else if (m_pressItem) {
                m_gesture = Gesture::DragItems;
                // A selected marker takes the whole selection with it; any other goes alone.
                m_dragItems =
                    m_view.IsSelected(*m_pressItem) ? m_view.Selection() : std::vector<std::size_t>{*m_pressItem};
            } else {
                m_gesture = Gesture::Pan;
                m_lastPos = m_pressPos;
            }
        }
    }
    if (m_gesture == Gesture::DragItems) {
        const QPoint d = p - m_pressPos;
        m_view.SetDrag(m_dragItems, d.x(), d.y());
        RepaintNow();
    } else if (m_gesture == Gesture::Band) {
        // The whole map, so that the band's last outline is painted over.
        m_bandEnd = p;
        repaint();
    } else if (m_gesture == Gesture::Pan) {
        const QPoint d = p - m_lastPos;
        m_lastPos = p;
        m_view.PanBy(d.x(), d.y());
        repaint();
    }
    ShowReadout(p);
    QFrame::mouseMoveEvent(event);
}

void CMapWnd::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = ToClient(event->position().toPoint());
    if (m_gesture == Gesture::None && event->button() == Qt::LeftButton) {
        m_gesture = Gesture::Press;
        m_button = Qt::LeftButton;
        m_pressPos = p;
        m_bToggle = event->modifiers().testFlag(Qt::ControlModifier);
        m_bBand = event->modifiers().testFlag(Qt::ShiftModifier);
        m_bandEnd = p;
        m_pressItem = m_view.ItemAt(p.x(), p.y());
        event->accept();
        return;
    }
    if (m_gesture == Gesture::None && event->button() == Qt::MiddleButton) {
        m_gesture = Gesture::Pan;
        m_button = Qt::MiddleButton;
        m_pressPos = m_lastPos = p;
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void CMapWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_gesture == Gesture::None || event->button() != m_button) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    const QPoint p = ToClient(event->position().toPoint());
    const Gesture gesture = m_gesture;
    if (gesture == Gesture::Press) {
        // A click: its item is selected, and the map re-centres on the point as it always has.
        const std::optional<std::size_t> item = m_pressItem;
        const bool toggle = m_bToggle;
        EndGesture();
        m_bHoldRepaint = true;
        if (item && onItemClicked)
            onItemClicked(*item, toggle);
        m_bHoldRepaint = false;
        m_view.Click(m_pressPos.x(), m_pressPos.y());
        repaint();
    } else if (gesture == Gesture::DragItems) {
        const QPoint d = p - m_pressPos;
        m_view.SetDrag(m_dragItems, d.x(), d.y());
        const Moves moves = m_view.DropPositions();
        EndGesture();
        m_bHoldRepaint = true;
        if (onItemsMoved)
            onItemsMoved(moves);
        m_bHoldRepaint = false;
        repaint();
    } else if (gesture == Gesture::Band) {
        const std::vector<std::size_t> items = m_view.ItemsIn(m_pressPos.x(), m_pressPos.y(), p.x(), p.y());
        const bool add = m_bToggle;
        EndGesture();
        m_bHoldRepaint = true;
        if (onItemsBanded)
            onItemsBanded(items, add);
        m_bHoldRepaint = false;
        repaint();
    } else {
        EndGesture();
    }
    ShowReadout(p);
    event->accept();
}

void CMapWnd::RepaintNow()
{
    if (m_bHoldRepaint)
        return;
    const std::optional<PixelRect> area = m_view.PendingArea();
    if (!area) {
        repaint();
        return;
    }
    if (!area->Empty())
        repaint(QRect(area->left, area->top, area->right - area->left, area->bottom - area->top)
                    .translated(contentsRect().topLeft()) &
                contentsRect());
}

void CMapWnd::EndGesture()
{
    m_gesture = Gesture::None;
    m_button = Qt::NoButton;
    m_pressItem.reset();
    m_dragItems.clear();
    m_view.ClearDrag();
}

bool CMapWnd::ZoomAbout(int zoom, int frameX, int frameY)
{
    if (m_gesture == Gesture::DragItems || !m_view.SetZoom(zoom, frameX, frameY))
        return false;
    repaint();
    return true;
}

void CMapWnd::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y();
    if (steps == 0) {
        QFrame::wheelEvent(event);
        return;
    }
    const QPoint p = ToClient(event->position().toPoint());
    const int zoom = m_view.Zoom();
    ZoomAbout(steps > 0 ? std::min(zoom * 2, MapView::kMaxZoom) : std::max(zoom / 2, 1), p.x(), p.y());
    ShowReadout(p);
    event->accept();
}

void CMapWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_gesture != Gesture::None) {
        // A cancelled drag puts the markers back; nothing is written.
        EndGesture();
        repaint();
        event->accept();
        return;
    }
    // Keys zoom about the mouse when it is over the map, otherwise about the centre.
    QPoint p = ToClient(mapFromGlobal(QCursor::pos()));
    if (!contentsRect().contains(p + contentsRect().topLeft()))
        p = QPoint(m_view.FrameSize() / 2, m_view.FrameSize() / 2);
    const int zoom = m_view.Zoom();
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: ZoomAbout(std::min(zoom * 2, MapView::kMaxZoom), p.x(), p.y()); break;
    case Qt::Key_Minus: ZoomAbout(std::max(zoom / 2, 1), p.x(), p.y()); break;
    case Qt::Key_0: ZoomAbout(1, p.x(), p.y()); break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // One screen pixel a press, ten with Shift; not while the mouse moves something.
        const int step = event->modifiers().testFlag(Qt::ShiftModifier) ? 10 : 1;
        const int dx = event->key() == Qt::Key_Left ? -step : event->key() == Qt::Key_Right ? step : 0;
        const int dy = event->key() == Qt::Key_Up ? -step : event->key() == Qt::Key_Down ? step : 0;
        if (m_gesture == Gesture::None && onArrowMove)
            onArrowMove(dx, dy);
        break;
    }
    default: QFrame::keyPressEvent(event); return;
    }
    event->accept();
}

void CMapWnd::resizeEvent(QResizeEvent* event)
{
    const int side = std::max(MapView::kSize, std::min(width(), height()));
    if (side != m_frame.Width()) {
        m_frame = Canvas(side, side);
        InstallMapLabelDrawer(m_frame);
        m_view.SetFrameSize(side);
    }
    QFrame::resizeEvent(event);
}

bool CMapWnd::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint p = ToClient(help->pos());
        const std::optional<std::size_t> item = m_view.ItemAt(p.x(), p.y());
        if (item && describeItem)
            QToolTip::showText(help->globalPos(), describeItem(*item), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QFrame::event(event);
}

} // namespace orvik
