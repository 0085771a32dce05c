// What changed since the last save, in the dialog: tinted cells with the saved text, the count in the
// status line, the saved places on the map, Copy Changes, and none of it after a save.
#include "common/Text.h"
#include "gui/EditorFixture.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "mapwidget/MapWnd.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>

namespace orvik::test {
namespace {

class ChangeMarks : public EditorTest {
protected:
    QVariant Role(int row, int column, int role) const
    {
        const QAbstractItemModel* model = Table()->model();
        return model->data(model->index(row, column), role);
    }
    QString Status() const { return m_dialog->findChild<QLabel*>("status")->text(); }
    QAbstractButton* Changes() const { return m_dialog->findChild<QAbstractButton*>("changes"); }
};

TEST_F(ChangeMarks, ADragTintsItsCellsDrawsItsSavedPlaceAndASaveClearsThem)
{
    Start();
    Choose(1); // bravo, whose names the catalogue holds, so that it saves
    const CMissionItem item = m_game->Bravo().items[0];
    const FramePoint was = FrameOf(item.m_nX, item.m_nY, CenterX(), CenterY());
    const Rgb ground = FramePixel({was.x + 12, was.y});
    const Rgb boxCorner = FramePixel({was.x - 2, was.y - 2});
    ASSERT_FALSE(Changes()->isChecked());

    QTest::mousePress(Map(), Qt::LeftButton, Qt::NoModifier, QPoint(was.x + 1, was.y + 1));
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(Map(), QPoint(was.x + 1 + 6 * step, was.y + 1));
    QTest::mouseRelease(Map(), Qt::LeftButton, Qt::NoModifier, QPoint(was.x + 25, was.y + 1));
    ASSERT_EQ(Table()->GetItemText(0, kColX), QString::number(item.m_nX + 24 * kUnit));

    // X moved, Y did not: only X is marked, with the archive's text.
    EXPECT_TRUE(Role(0, kColX, Qt::BackgroundRole).isValid());
    EXPECT_EQ(Role(0, kColX, Qt::ToolTipRole).toString(), QStringLiteral("saved: %1").arg(item.m_nX));
    for (const int column : {static_cast<int>(kColY), static_cast<int>(kColZ)})
        EXPECT_FALSE(Role(0, column, Qt::BackgroundRole).isValid()) << column;
    EXPECT_FALSE(Role(1, kColX, Qt::BackgroundRole).isValid());
    EXPECT_TRUE(Status().endsWith(QStringLiteral("1 row changed"))) << Status().toStdString();

    // The saved place shows only with the switch, under a line to the marker.
    EXPECT_EQ(FramePixel({was.x + 12, was.y}), ground);
    Click(Changes());
    EXPECT_TRUE(Changes()->isChecked());
    EXPECT_EQ(FramePixel({was.x - 2, was.y - 2}), MapView::kGhostColour);
    EXPECT_EQ(FramePixel({was.x + 12, was.y}), MapView::kGhostColour);

    m_dialog->OnCopyChanges();
    const std::string mission = FoldLower(m_game->Bravo().entry);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "change\tmission\trow\tcolumn\told\tnew\ncell\t" + mission + "\t1\t" + ItemColumnTitles()[kColX] + "\t" +
                  std::to_string(item.m_nX) + "\t" + std::to_string(item.m_nX + 24 * kUnit) + "\n");

    m_prompts.Clear();
    m_dialog->OnSave();
    ASSERT_EQ(m_prompts.Texts(PromptCall::Kind::Message).back(), QStringLiteral("Data saved!"));
    EXPECT_FALSE(Role(0, kColX, Qt::BackgroundRole).isValid());
    EXPECT_TRUE(Role(0, kColX, Qt::ToolTipRole).toString().isEmpty());
    EXPECT_FALSE(Status().contains(QStringLiteral("changed"))) << Status().toStdString();
    EXPECT_EQ(FramePixel({was.x - 2, was.y - 2}), boxCorner);
    EXPECT_EQ(FramePixel({was.x + 12, was.y}), ground);
}

TEST_F(ChangeMarks, UndoBackToTheSavedTextsLeavesNoMark)
{
    Start();
    Choose(0);
    Edit(1, kColZ, QStringLiteral("77"));
    Edit(2, kColItem, QStringLiteral("Nothing Like It"));
    EXPECT_TRUE(Status().endsWith(QStringLiteral("2 rows changed"))) << Status().toStdString();
    m_dialog->OnUndo();
    EXPECT_TRUE(Status().endsWith(QStringLiteral(" 1 row changed"))) << Status().toStdString();
    EXPECT_TRUE(Role(1, kColZ, Qt::BackgroundRole).isValid());
    m_dialog->OnUndo();
    EXPECT_FALSE(Role(1, kColZ, Qt::BackgroundRole).isValid());
    EXPECT_FALSE(Status().contains(QStringLiteral("changed"))) << Status().toStdString();
}

} // namespace
} // namespace orvik::test
