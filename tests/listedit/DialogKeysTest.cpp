// Enter and Escape in an open edit belong to the edit, not to the dialog around the table.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "edit/EditDocument.h"
#include "listedit/EditListCtrl.h"
#include "ListEditFixture.h"

namespace orvik::test {
namespace {

class DialogKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dialog.resize(600, 400);
        m_ok = new QPushButton("OK", &m_dialog);
        m_ok->setGeometry(500, 10, 80, 24);
        m_ok->setDefault(true);
        m_table = new CEditListCtrl(&m_dialog);
        m_table->setGeometry(10, 40, 429, 340);
        for (int c = 0; c < 7; ++c)
            m_table->InsertColumn(c, QString("C%1").arg(c), 75);
        LoadRows(m_document, std::vector<ItemRow>(5, ItemRow{"Hut", "10"}));
        m_table->SetDocument(&m_document);
        m_dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
        m_dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dialog));
    }

    void Click(int row, int column)
    {
        const QPoint point(m_table->columnViewportPosition(column) + 30,
                           m_table->rowViewportPosition(row) + m_table->rowHeight(row) / 2);
        QTest::mouseClick(m_table->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    }

    EditDocument m_document;
    QDialog m_dialog;
    QPushButton* m_ok = nullptr;
    CEditListCtrl* m_table = nullptr;
};

TEST_F(DialogKeysTest, EnterAndEscapeInTheBoxNeverReachTheDialog)
{
    QSignalSpy pressed(m_ok, &QPushButton::clicked);
    QSignalSpy finished(&m_dialog, &QDialog::finished);

    Click(1, 1);
    Click(1, 1);
    ASSERT_NE(m_table->ActiveEdit(), nullptr);
    QTest::keyClicks(m_table->ActiveEdit(), "20");
    QTest::keyClick(m_table->ActiveEdit(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_table->GetItemText(1, 1), "20");
    EXPECT_EQ(pressed.size(), 0);

    Click(1, 2);
    ASSERT_NE(m_table->ActiveEdit(), nullptr);
    QTest::keyClick(m_table->ActiveEdit(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(finished.size(), 0);
    EXPECT_TRUE(m_dialog.isVisible());

    // Enter on the table opens the current cell; with no current cell the dialog has it.
    ASSERT_TRUE(m_table->hasFocus());
    QTest::keyClick(m_table, Qt::Key_Return);
    ASSERT_NE(m_table->ActiveEdit(), nullptr);
    QTest::keyClick(m_table->ActiveEdit(), Qt::Key_Escape);
    EXPECT_EQ(pressed.size(), 0);
    m_table->setCurrentIndex({});
    QTest::keyClick(m_table, Qt::Key_Return);
    EXPECT_EQ(pressed.size(), 1);
}

TEST_F(DialogKeysTest, EnterAndEscapeInTheFirstColumnEditorNeverReachTheDialog)
{
    QSignalSpy pressed(m_ok, &QPushButton::clicked);
    QSignalSpy finished(&m_dialog, &QDialog::finished);

    Click(2, 0);
    Click(2, 0);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, 'A', Qt::ControlModifier);
    QTest::keyClicks(editor, "Barn");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_table->GetItemText(2, 0) == QString("Barn"); }, 2000))
        << m_table->GetItemText(2, 0).toStdString();
    EXPECT_EQ(pressed.size(), 0);

    Click(2, 0);
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_table->LabelEditor() == nullptr; }, 2000));
    EXPECT_EQ(finished.size(), 0);
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_EQ(m_table->GetItemText(2, 0), "Barn");
}

} // namespace
} // namespace orvik::test
