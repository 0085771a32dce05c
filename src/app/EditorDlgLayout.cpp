// The window made larger: the table takes the extra width and height, the map becomes the largest
// square beside it, and the filters stay under the map. At the default size nothing moves.
#include "app/EditorDlg.h"

#include "app/FilterButton.h"
#include "app/FilterField.h"
#include "app/FindField.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace orvik {

namespace {

constexpr int kMapLeft = 10;
constexpr int kMapTop = 50;

} // namespace

void CEditorDlg::RecordLayout()
{
    m_layout.clear();
    const auto add = [this](QWidget* widget, Follow follow) {
        if (widget)
            m_layout.push_back({widget, widget->geometry(), follow});
    };
    add(m_list, Follow::Table);
    add(m_find, Follow::Table);
    add(m_filter, Follow::Table);
    add(m_filterCount, Follow::Right);
    for (QWidget* button : {m_btnSave, m_btnGetMissionFiles, m_btnRefreshMap})
        add(button, Follow::Right);
    add(m_groupShow, Follow::UnderMap);
    for (QWidget* filter : std::initializer_list<QWidget*>{m_btnPeople, m_btnBuildings, m_btnDecorations, m_btnVehicles,
                                                           m_btnMarkers, m_btnObjects, m_btnIds})
        add(filter, Follow::UnderMap);
    add(m_btnChanges, Follow::AboveMapRight);
}

void CEditorDlg::LayOut()
{
    const int extraWidth = std::max(0, width() - kClientWidth);
    const int extraHeight = std::max(0, height() - kClientHeight);
    // The map grows as far as both directions allow, so the table never gets narrower.
    const int grow = std::min(extraWidth, extraHeight);
    if (m_map)
        m_map->setGeometry(kMapLeft, kMapTop, MapView::kSize + grow, MapView::kSize + grow);
    for (const Placed& p : m_layout) {
        QRect r = p.rect;
        switch (p.follow) {
        case Follow::Table:
            r.translate(grow, 0);
            r.setWidth(p.rect.width() + extraWidth - grow);
            if (p.widget == m_list)
                r.setHeight(p.rect.height() + extraHeight);
            break;
        case Follow::Right: r.translate(extraWidth, 0); break;
        case Follow::UnderMap: r.translate(0, grow); break;
        case Follow::AboveMapRight: r.translate(grow, 0); break;
        }
        p.widget->setGeometry(r);
    }
}

void CEditorDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayOut();
}

} // namespace orvik
