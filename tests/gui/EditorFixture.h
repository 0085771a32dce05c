#pragma once
// Runs the real editor dialog on a TestGame with recording prompts.
#include "app/ControlIds.h"
#include "app/EditorDlg.h"
#include "gui/RecordingPrompts.h"
#include "gui/TestGame.h"
#include "image/Canvas.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace orvik {
class CEditListCtrl;
class CMapWnd;
} // namespace orvik

namespace orvik::test {

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Initialises the dialog (the file dialog answers with the game's base archive) and shows it.
    void Start();
    // Chooses a line of the mission list as the drop-down list does.
    void Choose(int line);
    // Start, then that line, with the window active and the prompts so far forgotten.
    void StartActive(int line);

    template <class T = QWidget>
    T* Control(int id) const
    {
        return m_dialog->findChild<T*>(ControlName(id));
    }
    QAbstractButton* Button(int id) const { return Control<QAbstractButton>(id); }
    // A left click in the middle of a push button or on a filter's round mark.
    void Click(QAbstractButton* button);
    // A click on the map at a frame pixel (the widget adds its border).
    void ClickMap(int frameX, int frameY);
    // The table's end-of-edit with a new text, as when the user types it into the cell.
    void Edit(int row, int column, const QString& text);

    CEditListCtrl* Table() const;
    CMapWnd* Map() const;
    Rgb FramePixel(FramePoint point) const;
    int CenterX() const;
    int CenterY() const;
    int PaintCount() const;

    ScratchDir m_scratch;
    std::unique_ptr<TestGame> m_game;
    RecordingPrompts m_prompts;
    std::unique_ptr<CEditorDlg> m_dialog;
};

} // namespace orvik::test
