#include "ScreenshotRun.h"

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
#include <utility>

namespace orvik {

namespace {
// Long enough for the window to be mapped and painted by a real X server.
constexpr int kSettleMs = 1500;
} // namespace

ScreenshotRun::ScreenshotRun(CEditorDlg& dialog, ScreenshotOptions options)
    : m_dialog(dialog), m_options(std::move(options))
{
    m_dialog.installEventFilter(this);
}

bool ScreenshotRun::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_dialog && event->type() == QEvent::Show && !m_bStarted) {
        m_bStarted = true;
        QTimer::singleShot(0, this, [this] {
            if (m_options.mission >= 0 && m_options.mission < m_dialog.MissionCombo()->count())
                m_dialog.MissionCombo()->setCurrentIndex(m_options.mission);
            Arrange();
            QTimer::singleShot(kSettleMs, this, [this] { Take(); });
        });
    }
    return QObject::eventFilter(watched, event);
}

void ScreenshotRun::Arrange()
{
    if (m_options.width > 0 && m_options.height > 0)
        m_dialog.resize(m_options.width, m_options.height);
    if (m_options.zoom > 0) {
        const int middle = m_dialog.MapWnd()->View().FrameSize() / 2;
        m_dialog.MapWnd()->ZoomAbout(m_options.zoom, middle, middle);
    }
    CEditListCtrl* table = m_dialog.ItemTable();
    bool first = true;
    for (const int number : m_options.rows) {
        const int row = number - 1;
        if (row < 0 || row >= table->rowCount())
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
    if (!shot.save(m_options.path, "PNG")) {
        std::fprintf(stderr, "orvik-screenshot: could not save the screenshot to %s\n", qPrintable(m_options.path));
        m_nExitCode = 1;
    }
    m_dialog.done(0);
}

} // namespace orvik
