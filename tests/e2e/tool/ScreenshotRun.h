#pragma once
// Takes a picture of the editor's window for the end-to-end test and the README: once the window is
// on screen it chooses a mission, optionally zooms the map, selects rows and sizes the window, saves a
// PNG of the window and closes the dialog.
#include <QObject>
#include <QString>
#include <QVector>

namespace orvik {

class CEditorDlg;

struct ScreenshotOptions {
    QString path;         // where the PNG goes
    int mission = -1;     // a line of the mission list; none when negative
    int zoom = 0;         // 1, 2, 4 or 8 about the map's middle; none when 0
    QVector<int> rows;    // rows from 1; the first becomes the current row
    int width = 0;        // the window's size, when both are set
    int height = 0;
};

class ScreenshotRun : public QObject {
    Q_OBJECT
public:
    ScreenshotRun(CEditorDlg& dialog, ScreenshotOptions options);
    // 0 when the picture was saved, 1 when it could not be.
    int ExitCode() const { return m_nExitCode; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Take();
    void Arrange();

    CEditorDlg& m_dialog;
    ScreenshotOptions m_options;
    bool m_bStarted = false;
    int m_nExitCode = 0;
};

} // namespace orvik
