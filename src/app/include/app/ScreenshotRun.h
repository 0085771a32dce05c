#pragma once
// For the end-to-end test and the documentation: with ORVIK_SCREENSHOT=PATH set, the editor
// chooses mission ORVIK_SCREENSHOT_MISSION (a line index; none when unset), saves a PNG of its
// window to PATH once the window is on screen, and ends. ORVIK_SCREENSHOT_ZOOM (1, 2, 4, 8) zooms the
// map about its middle and ORVIK_SCREENSHOT_ROWS (rows from 1, comma-separated) selects rows;
// ORVIK_SCREENSHOT_SIZE=WxH sizes the window. Without ORVIK_SCREENSHOT nothing happens.
#include <QObject>
#include <QString>

namespace orvik {

class CEditorDlg;

class ScreenshotRun : public QObject {
    Q_OBJECT
public:
    explicit ScreenshotRun(CEditorDlg& dialog);
    // 0 when no screenshot was asked for or it was saved, 1 when it could not be saved.
    int ExitCode() const { return m_nExitCode; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Take();
    // The optional zoom, rows and size, once the mission is shown.
    void Arrange();

    CEditorDlg& m_dialog;
    QString m_path;
    int m_nMission = -1;
    bool m_bStarted = false;
    int m_nExitCode = 0;
};

} // namespace orvik
