#pragma once
// The map window: shows a MapView's 512 x 512 frame inside a one-pixel border, shows the world
// point under the mouse in the coordinate box and re-centres on a left click. A click on a marker
// also selects its item, a drag from a marker moves items, a drag from open ground (or with the
// middle button) pans, a drag with Shift draws a band that selects the markers inside, the wheel or
// + / - / 0 zoom, and the arrow keys ask to move the selected items.
#include "image/Canvas.h"
#include "map/MapView.h"

#include <QFrame>
#include <QPointer>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QLineEdit;

namespace orvik {

class CMapWnd : public QFrame {
    Q_OBJECT
public:
    explicit CMapWnd(QWidget* parent = nullptr);
    ~CMapWnd() override;

    // The coordinate box that shows the mouse position; nothing is shown until one is set.
    void SetCoordWnd(QLineEdit* coordWnd);
    void SetModel(const CMissionModel* model) { m_view.SetModel(model); }
    void SetCenter(std::int32_t x, std::int32_t y) { m_view.SetCenter(x, y); }

    MapView& View() { return m_view; }
    const MapView& View() const { return m_view; }
    // The frame as last painted.
    const Canvas& Frame() const { return m_frame; }
    int PaintCount() const { return m_nPaintCount; }

    using Moves = std::vector<std::pair<std::size_t, WorldPoint>>;
    // A click on an item's marker (toggle: with Ctrl); dragged items released at new positions;
    // the tooltip text of an item.
    std::function<void(std::size_t item, bool toggle)> onItemClicked;
    std::function<void(const Moves& moves)> onItemsMoved;
    std::function<QString(std::size_t item)> describeItem;
    // A band was drawn round items (add: Ctrl was held too, so they join the selection).
    std::function<void(const std::vector<std::size_t>& items, bool add)> onItemsBanded;
    // An arrow key asks to move the selection by (dx, dy) screen pixels (down is positive).
    std::function<void(int dx, int dy)> onArrowMove;

    // Repaints at once, or, while the map's own mouse handler is calling out, once as it ends.
    void RepaintNow();

    // Zooms about a frame point and repaints; false when the zoom is not 1, 2, 4 or 8 or unchanged.
    bool ZoomAbout(int zoom, int frameX, int frameY);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    // The frame is the largest square the widget holds; the view shows more ground, never
    // stretched pixels.
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowReadout(const QPoint& client);
    void EndGesture();

    // Client point (inside the border) of a widget point.
    QPoint ToClient(const QPoint& widgetPoint) const;

    QPointer<QLineEdit> m_pCoordWnd;
    MapView m_view;
    Canvas m_frame{MapView::kSize, MapView::kSize};
    int m_nPaintCount = 0;

    // The press that may become a click, a drag of items or a pan.
    enum class Gesture { None, Press, DragItems, Pan, Band };
    Gesture m_gesture = Gesture::None;
    Qt::MouseButton m_button = Qt::NoButton;
    bool m_bToggle = false;
    bool m_bBand = false; // Shift was held at the press
    QPoint m_bandEnd;
    QPoint m_pressPos;
    QPoint m_lastPos;
    std::optional<std::size_t> m_pressItem;
    std::vector<std::size_t> m_dragItems;
    bool m_bHoldRepaint = false;
};

} // namespace orvik
