// Undo and redo, the title mark, find, shown-only columns, another archive and the calm mission
// list, in the real dialog.
#include "app/FindField.h"
#include "gui/EditorFixture.h"
#include "listedit/EditListCtrl.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <filesystem>

namespace orvik::test {
namespace {

using Kind = PromptCall::Kind;

class EditingTest : public EditorTest {
protected:
    void StartActive(int line)
    {
        Start();
        Choose(line);
        m_dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
    }
    void ClickCell(int row, int column)
    {
        const QPoint point(Table()->columnViewportPosition(column) + 30,
                           Table()->rowViewportPosition(row) + Table()->rowHeight(row) / 2);
        QTest::mouseClick(Table()->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    }
    void TypeIntoCell(int row, int column, const QString& text)
    {
        if (Table()->currentRow() != row)
            ClickCell(row, column);
        ClickCell(row, column);
        ASSERT_NE(Table()->ActiveEdit(), nullptr);
        QTest::keyClicks(Table()->ActiveEdit(), text);
        QTest::keyClick(Table()->ActiveEdit(), Qt::Key_Return);
        QApplication::processEvents();
    }
};

TEST_F(EditingTest, CtrlZUndoesAnInPlaceEditAndTheTitleMarksUnsavedEdits)
{
    Start();
    EXPECT_EQ(m_dialog->windowTitle(), "Orvik Editor V1.5");
    Choose(1);
    m_dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
    const QString loaded = Table()->GetItemText(2, 1);
    const QString clean = "Orvik Editor V1.5 - bravo.bms";
    const QString dirty = clean + " *";
    EXPECT_EQ(m_dialog->windowTitle(), clean);
    TypeIntoCell(2, 1, "77");

    struct Step {
        const char* what;
        std::function<void()> act;
        QString cell;
        bool unsaved;
        QString title;
    };
    const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m) {
        return [=, this] { QTest::keyClick(Table(), k, m); };
    };
    const Step steps[] = {
        {"typed", [] {}, "77", true, dirty},
        {"Ctrl+Z", key(Qt::Key_Z, Qt::ControlModifier), loaded, false, clean},
        {"Ctrl+Y", key(Qt::Key_Y, Qt::ControlModifier), "77", true, dirty},
        {"Ctrl+Z again", key(Qt::Key_Z, Qt::ControlModifier), loaded, false, clean},
        {"Ctrl+Shift+Z", key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier), "77", true, dirty},
        {"Save", [this] { Click(Button(kIdSave)); }, "77", false, clean},
        {"undo past the save", key(Qt::Key_Z, Qt::ControlModifier), loaded, true, dirty},
        {"redo to the save", key(Qt::Key_Y, Qt::ControlModifier), "77", false, clean},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        QApplication::processEvents();
        EXPECT_EQ(Table()->GetItemText(2, 1), step.cell);
        EXPECT_EQ(m_dialog->HasUnsavedEdits(), step.unsaved);
        EXPECT_EQ(m_dialog->windowTitle(), step.title);
        // The changed cell is the current one.
        EXPECT_EQ(Table()->currentRow(), 2);
    }
    EXPECT_EQ(RecordWord(m_game->basePath, m_game->Bravo().offset, 2, 5), 77);
}

TEST_F(EditingTest, UndoWhileABoxIsOpenStoresItFirstThenUndoesIt)
{
    StartActive(1);
    const QString loaded = Table()->GetItemText(3, 2);
    ClickCell(3, 2);
    ClickCell(3, 2);
    ASSERT_NE(Table()->ActiveEdit(), nullptr);
    QTest::keyClicks(Table()->ActiveEdit(), "-9");
    QTest::keyClick(Table()->ActiveEdit(), Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(Table()->ActiveEdit(), nullptr);
    EXPECT_EQ(Table()->GetItemText(3, 2), loaded);
    EXPECT_FALSE(m_dialog->HasUnsavedEdits());
    EXPECT_EQ(m_dialog->Document().RedoText(), "Redo Y Position, row 4");
}

TEST_F(EditingTest, AFailedSaveChangesNeitherTheHistoryNorTheUnsavedState)
{
    StartActive(1);
    Edit(0, 1, "5");
    Edit(1, 0, "Boulder");
    const auto archive = ReadBytes(m_game->basePath);
    m_prompts.Clear();
    Click(Button(kIdSave));
    EXPECT_EQ(m_prompts.Texts(Kind::Message),
              (std::vector<QString>{"Invalid item name \"Boulder\" aborting save. (row 2)"}));
    EXPECT_EQ(ReadBytes(m_game->basePath), archive);
    EXPECT_TRUE(m_dialog->HasUnsavedEdits());
    EXPECT_EQ(m_dialog->Document().UndoText(), "Undo Item, row 2");
    EXPECT_TRUE(m_dialog->windowTitle().endsWith(" *"));
}

TEST_F(EditingTest, IdAndMpOnlyAreShownOnly)
{
    StartActive(1);
    const QString id = Table()->GetItemText(0, 5);
    for (int column : {5, 6}) {
        EXPECT_EQ(Table()->EditCell(0, column), nullptr) << column;
        Edit(0, column, "1");
    }
    EXPECT_EQ(Table()->GetItemText(0, 5), id);
    EXPECT_EQ(Table()->GetItemText(0, 6), "N");
    EXPECT_FALSE(m_dialog->HasUnsavedEdits());
    EXPECT_NE(Table()->EditCell(0, 4), nullptr);
}

TEST_F(EditingTest, FindSelectsMatchingRowsWithoutMovingThem)
{
    StartActive(1); // Soldier, Crate, Tree, Truck, Bunker
    QTest::keyClick(Table(), Qt::Key_F, Qt::ControlModifier);
    FindField* find = m_dialog->FindBox();
    ASSERT_TRUE(find->isVisible());
    ASSERT_TRUE(find->hasFocus());
    struct Step {
        const char* what;
        std::function<void()> act;
        int row;
    };
    const Step steps[] = {
        {"typing", [&] { QTest::keyClicks(find, "T"); }, 1},
        {"more typing stays on a match", [&] { QTest::keyClicks(find, "r"); }, 2},
        {"Enter", [&] { QTest::keyClick(find, Qt::Key_Return); }, 3},
        {"F3 goes round", [&] { QTest::keyClick(find, Qt::Key_F3); }, 2},
        {"Shift+F3", [&] { QTest::keyClick(find, Qt::Key_F3, Qt::ShiftModifier); }, 3},
        {"no match keeps the row", [&] { QTest::keyClicks(find, "zz"); }, 3},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(Table()->currentRow(), step.row);
        EXPECT_TRUE(Table()->selectionModel()->isRowSelected(step.row, {}));
    }
    EXPECT_EQ(Table()->rowCount(), 5);
    EXPECT_EQ(Table()->GetItemText(0, 0), "Soldier");
    QTest::keyClick(find, Qt::Key_Escape);
    EXPECT_FALSE(find->isVisible());
    EXPECT_TRUE(m_dialog->isVisible()); // Escape closed the field, not the editor
    EXPECT_TRUE(Table()->hasFocus());
}

TEST_F(EditingTest, CtrlOOpensAnotherArchiveAfterTheQuestion)
{
    const std::string otherDir = m_scratch.Path() + "other/";
    std::filesystem::create_directories(otherDir);
    TestGame other(otherDir);
    m_prompts.openFileAnswer = ""; // the start-up dialog is cancelled
    Start();
    EXPECT_EQ(m_dialog->MissionCombo()->count(), 0);

    struct Step {
        const char* what;
        QString answer;
        std::deque<bool> answers;
        bool edit;
        int questions;
        int lines;
        std::string base;
    };
    const Step steps[] = {
        {"after a cancelled start", QString::fromStdString(m_game->basePath), {}, false, 0, 4, m_game->basePath},
        {"No keeps the edits", QString::fromStdString(otherDir + "kqbase.pff"), {false}, true, 1, 4, m_game->basePath},
        {"a cancelled dialog changes nothing", "", {true}, false, 1, 4, m_game->basePath},
        {"Yes opens it", QString::fromStdString(otherDir + "kqbase.pff"), {true}, false, 1, 4, otherDir + "kqbase.pff"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        m_prompts.Clear();
        m_prompts.openFileAnswer = step.answer;
        m_prompts.answers = step.answers;
        if (step.edit) {
            Choose(1);
            Edit(0, 1, "3");
            m_prompts.Clear();
        }
        QTest::keyClick(m_dialog.get(), Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(static_cast<int>(m_prompts.Texts(Kind::Question).size()), step.questions);
        EXPECT_TRUE(m_prompts.Texts(Kind::Message).empty()); // no start-up message again
        EXPECT_EQ(m_dialog->MissionCombo()->count(), step.lines);
        EXPECT_EQ(m_dialog->BasePath(), step.base);
    }
    EXPECT_EQ(m_dialog->MissionCombo()->currentIndex(), -1);
    EXPECT_EQ(Table()->rowCount(), 0);
    EXPECT_FALSE(m_dialog->HasUnsavedEdits());
    EXPECT_EQ(m_dialog->windowTitle(), "Orvik Editor V1.5");
    EXPECT_FALSE(Button(kIdSave)->isEnabled());
    Choose(0);
    EXPECT_EQ(Table()->rowCount(), 9);
}

TEST_F(EditingTest, TheWheelChangesTheMissionOnlyWhileTheListHasTheFocus)
{
    StartActive(1);
    QComboBox* combo = m_dialog->MissionCombo();
    const auto wheel = [combo] {
        QWheelEvent event(QPointF(10, 10), combo->mapToGlobal(QPointF(10, 10)), {}, {0, -120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &event);
        QApplication::processEvents();
    };
    Table()->setFocus();
    wheel();
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_FALSE(combo->hasFocus());
    combo->setFocus();
    wheel();
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(m_dialog->windowTitle(), "Orvik Editor V1.5 - charlie.bms");
}

} // namespace
} // namespace orvik::test
