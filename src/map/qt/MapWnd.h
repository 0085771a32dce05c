#pragma once
// The map window: shows a MapView's 512 x 512 frame inside a one-pixel border, shows the world
// point under the mouse in the coordinate box and re-centres on a left click.
#include "image/Canvas.h"
#include "map/MapView.h"

#include <QFrame>
#include <QPointer>

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

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Client point (inside the border) of a widget point.
    QPoint ToClient(const QPoint& widgetPoint) const;

    QPointer<QLineEdit> m_pCoordWnd;
    MapView m_view;
    Canvas m_frame{MapView::kSize, MapView::kSize};
    int m_nPaintCount = 0;
};

} // namespace orvik
