#include "gui/EditorFixture.h"

#include "listedit/EditListCtrl.h"
#include "common/NativePath.h"
#include "mapwidget/MapWnd.h"
#include "userdata/UserFolders.h"

#include <QApplication>
#include <QTest>

#include <filesystem>

namespace orvik::test {

void EditorTest::SetUp()
{
    m_game = std::make_unique<TestGame>(m_scratch.Path());
    m_prompts.openFileAnswer = QString::fromStdString(m_game->basePath);
}

void EditorTest::TearDown()
{
    if (m_dialog) {
        // Leave without questions: the tests that ask have had their answers.
        m_prompts.answers.assign(8, true);
        m_dialog->hide();
        m_dialog.reset();
    }
    // A dialog that ends without the discard question leaves its edits' file, as a crash would;
    // the next test starts without it.
    std::error_code ec;
    std::filesystem::remove_all(PathFromUtf8(RecoveryFolder()), ec);
}

void EditorTest::Start()
{
    m_dialog = std::make_unique<CEditorDlg>(m_prompts);
    m_dialog->OnInitDialog();
    m_dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    QApplication::processEvents();
}

void EditorTest::Choose(int line)
{
    m_dialog->MissionCombo()->setCurrentIndex(line);
    QApplication::processEvents();
}

void EditorTest::StartActive(int line)
{
    Start();
    Choose(line);
    m_dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
    m_prompts.Clear();
}

void EditorTest::Click(QAbstractButton* button)
{
    ASSERT_NE(button, nullptr);
    const bool isFilter = qobject_cast<QRadioButton*>(button) != nullptr;
    const QPoint point = isFilter ? QPoint(7, button->height() / 2) : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, point);
}

void EditorTest::ClickMap(int frameX, int frameY)
{
    QTest::mouseClick(Map(), Qt::LeftButton, Qt::NoModifier, QPoint(frameX + 1, frameY + 1));
}

void EditorTest::Edit(int row, int column, const QString& text) { Table()->OnEndLabelEdit(row, column, &text); }

CEditListCtrl* EditorTest::Table() const { return m_dialog->ItemTable(); }
CMapWnd* EditorTest::Map() const { return m_dialog->MapWnd(); }
Rgb EditorTest::FramePixel(FramePoint point) const { return Map()->Frame().Pixel(point.x, point.y); }
int EditorTest::CenterX() const { return Map()->View().CenterX(); }
int EditorTest::CenterY() const { return Map()->View().CenterY(); }
int EditorTest::PaintCount() const { return Map()->PaintCount(); }

} // namespace orvik::test
