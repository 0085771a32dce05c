#include "app/ScreenshotRun.h"

#include "app/EditorDlg.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace orvik {

namespace {
// Long enough for the window to be mapped and painted by a real X server.
constexpr int kSettleMs = 1500;
} // namespace

ScreenshotRun::ScreenshotRun(CEditorDlg& dialog) : m_dialog(dialog)
{
    m_path = qEnvironmentVariable("ORVIK_SCREENSHOT");
    if (m_path.isEmpty())
        return;
    bool ok = false;
    const int mission = qEnvironmentVariable("ORVIK_SCREENSHOT_MISSION").toInt(&ok);
    if (ok)
        m_nMission = mission;
    m_dialog.installEventFilter(this);
}

bool ScreenshotRun::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_dialog && event->type() == QEvent::Show && !m_bStarted) {
        m_bStarted = true;
        QTimer::singleShot(0, this, [this] {
            if (m_nMission >= 0 && m_nMission < m_dialog.MissionCombo()->count())
                m_dialog.MissionCombo()->setCurrentIndex(m_nMission);
            Arrange();
            QTimer::singleShot(kSettleMs, this, [this] { Take(); });
        });
    }
    return QObject::eventFilter(watched, event);
}

void ScreenshotRun::Arrange()
{
    const QStringList size = qEnvironmentVariable("ORVIK_SCREENSHOT_SIZE").split(QLatin1Char('x'));
    if (size.size() == 2)
        m_dialog.resize(size[0].toInt(), size[1].toInt());
    bool ok = false;
    const int zoom = qEnvironmentVariable("ORVIK_SCREENSHOT_ZOOM").toInt(&ok);
    if (ok) {
        const int middle = m_dialog.MapWnd()->View().FrameSize() / 2;
        m_dialog.MapWnd()->ZoomAbout(zoom, middle, middle);
    }
    CEditListCtrl* table = m_dialog.ItemTable();
    bool first = true;
    for (const QString& text :
         qEnvironmentVariable("ORVIK_SCREENSHOT_ROWS").split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int row = text.toInt(&ok) - 1;
        if (!ok || row < 0 || row >= table->rowCount())
            continue;
        if (first)
            table->ShowCell(row, 0);
        else
            table->selectionModel()->select(table->model()->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        first = false;
    }
}

void ScreenshotRun::Take()
{
    QPixmap shot;
    // What the display really shows, where the platform can read it back; else the widget's own
    // rendering.
    if (QScreen* screen = m_dialog.screen(); screen && QGuiApplication::platformName() == QLatin1String("xcb"))
        shot = screen->grabWindow(m_dialog.winId());
    if (shot.isNull() || shot.width() < m_dialog.width() / 2)
        shot = m_dialog.grab();
    if (!shot.save(m_path, "PNG")) {
        std::fprintf(stderr, "orvik-editor: could not save the screenshot to %s\n", qPrintable(m_path));
        m_nExitCode = 1;
    }
    m_dialog.done(0);
}

} // namespace orvik
