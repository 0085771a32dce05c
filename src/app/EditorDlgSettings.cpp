// What the editor remembers between starts: the archives, the window, the table's columns, the map's
// switches and zoom, and per archive its last mission and per mission the map's centre and the row.
#include "app/EditorDlg.h"

#include "app/EditorSettings.h"
#include "app/FilterButton.h"
#include "app/QtText.h"
#include "common/Paths.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <array>

namespace orvik {

namespace {

const QString kRect = QStringLiteral("window/rect");
const QString kMaximized = QStringLiteral("window/maximized");
const QString kHeader = QStringLiteral("table/header");
const QString kZoom = QStringLiteral("map/zoom");

} // namespace

std::vector<std::pair<QString, bool*>> CEditorDlg::Switches()
{
    MapView& view = m_map->View();
    return {{QStringLiteral("map/people"), &view.m_bShowPeople},
            {QStringLiteral("map/buildings"), &view.m_bShowBuildings},
            {QStringLiteral("map/decorations"), &view.m_bShowDecorations},
            {QStringLiteral("map/vehicles"), &view.m_bShowVehicles},
            {QStringLiteral("map/markers"), &view.m_bShowMarkers},
            {QStringLiteral("map/objects"), &view.m_bShowObjects},
            {QStringLiteral("map/ids"), &view.m_bShowIds},
            {QStringLiteral("map/changes"), &view.m_bShowChanges}};
}

void CEditorDlg::UseSettings(EditorSettings* settings) { m_settings = settings; }

void CEditorDlg::ApplySettings()
{
    if (!m_settings)
        return;
    const std::array<FilterButton*, 8> buttons{m_btnPeople,  m_btnBuildings, m_btnDecorations, m_btnVehicles,
                                               m_btnMarkers, m_btnObjects,   m_btnIds,         m_btnChanges};
    const auto switches = Switches();
    for (std::size_t i = 0; i < switches.size(); ++i) {
        const QVariant value = m_settings->Value(switches[i].first);
        if (value.isValid()) {
            *switches[i].second = value.toBool();
            buttons[i]->setChecked(*switches[i].second);
        }
    }
    const int zoom = m_settings->Value(kZoom, 1).toInt();
    if (MapView::IsValidZoom(zoom))
        m_map->View().SetZoom(zoom, MapView::kSize / 2, MapView::kSize / 2);
    // A state of another layout of the table is refused by the header itself.
    m_list->horizontalHeader()->restoreState(m_settings->Value(kHeader).toByteArray());

    if (const QScreen* main = QGuiApplication::primaryScreen()) {
        QList<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens())
            screens.append(screen->availableGeometry());
        setGeometry(EditorSettings::PlaceWindow(m_settings->Value(kRect).toRect(), screens, main->availableGeometry(),
                                                QSize(kClientWidth, kClientHeight)));
    }
    if (m_settings->Value(kMaximized).toBool())
        setWindowState(windowState() | Qt::WindowMaximized);

    // Starting as it was left is no change: nothing is written until something does change. The
    // window's place is taken once it shows, where the window manager put it.
    StoreSettings(true);
    QTimer::singleShot(0, this, [this] { StoreSettings(true); });
    m_settingsTimer = new QTimer(this);
    connect(m_settingsTimer, &QTimer::timeout, this, [this] { StoreSettings(false); });
    m_settingsTimer->start(1000);
}

void CEditorDlg::StoreSettings(bool asFound)
{
    if (!m_settings)
        return;
    const auto put = [&](const QString& key, const QVariant& value) {
        if (!asFound)
            m_settings->SetValue(key, value);
        else if (!m_settings->Value(key).isValid())
            m_settings->Baseline(key, value);
    };
    for (const auto& [key, flag] : Switches())
        put(key, *flag);
    put(kZoom, m_map->View().Zoom());
    put(kHeader, m_list->horizontalHeader()->saveState());
    put(kMaximized, isMaximized());
    put(kRect, isMaximized() ? normalGeometry() : geometry());
    if (!asFound && m_loadedMission && !m_strBasePath.empty()) {
        const QString archive = PathToQt(m_strBasePath);
        // The world point in the middle of the map, which any zoom and size of the map can show again.
        const MapView& view = m_map->View();
        const WorldPoint centre = view.WorldAt(view.FrameSize() / 2, view.FrameSize() / 2);
        const int row = m_list->currentRow();
        m_settings->SetValue(EditorSettings::MissionKey(archive, ToQt(m_loadedMission->name)),
                             QStringList{QString::number(centre.x), QString::number(centre.y), QString::number(row)});
    }
    if (!asFound)
        m_settings->Flush();
}

OpenFileHint CEditorDlg::OpenHint()
{
    OpenFileHint hint;
    if (!m_settings)
        return hint;
    hint.recent = m_settings->RecentArchives();
    // Shown once more, as gone, then left out of the list.
    QStringList kept = hint.recent;
    kept.erase(std::remove_if(kept.begin(), kept.end(), [](const QString& p) { return !QFileInfo(p).isFile(); }),
               kept.end());
    if (kept.size() != hint.recent.size())
        m_settings->SetValue(QStringLiteral("archives/recent"), kept);
    const QString last = m_strBasePath.empty() ? m_settings->Value(QStringLiteral("archives/last")).toString()
                                               : PathToQt(m_strBasePath);
    if (!last.isEmpty()) {
        hint.folder = QFileInfo(last).absolutePath();
        hint.selected = last;
    }
    return hint;
}

bool CEditorDlg::IsFirstStart() const
{
    return !m_settings || m_settings->Value(QStringLiteral("archives/last")).toString().isEmpty();
}

void CEditorDlg::RememberArchive()
{
    if (!m_settings || m_strBasePath.empty() || !QFileInfo(PathToQt(m_strBasePath)).isFile())
        return;
    const QString archive = PathToQt(m_strBasePath);
    m_settings->NoteArchive(archive);
    m_settings->Flush();
    // Its last mission again, with its view.
    const QString mission = m_settings->Value(EditorSettings::ArchiveGroup(archive) + QStringLiteral("/mission")).toString();
    if (mission.isEmpty())
        return;
    for (int i = 0; i < m_cbMission->count(); ++i) {
        if (QString::compare(ToQt(MissionNameFromLine(FromQt(m_cbMission->itemText(i)))), mission,
                             Qt::CaseInsensitive) == 0) {
            m_cbMission->setCurrentIndex(i);
            return;
        }
    }
}

void CEditorDlg::RememberMission()
{
    if (!m_settings || !m_loadedMission || m_strBasePath.empty())
        return;
    const QString archive = PathToQt(m_strBasePath);
    const QString mission = ToQt(m_loadedMission->name);
    m_settings->SetValue(EditorSettings::ArchiveGroup(archive) + QStringLiteral("/mission"), mission);
    const QStringList view = m_settings->Value(EditorSettings::MissionKey(archive, mission)).toStringList();
    if (view.size() == 3) {
        bool okX = false, okY = false, okRow = false;
        const int x = view[0].toInt(&okX), y = view[1].toInt(&okY), row = view[2].toInt(&okRow);
        if (okX && okY) {
            m_map->SetCenter(x, y);
            m_map->RepaintNow();
        }
        if (okRow && row >= 0 && row < static_cast<int>(m_document.Rows().size())) {
            const QModelIndex index = m_list->model()->index(m_list->ViewRow(static_cast<std::size_t>(row)), 0);
            m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
            m_list->scrollTo(index, QAbstractItemView::PositionAtCenter);
        }
    }
    m_settings->Flush();
}

} // namespace orvik
