// The item table's sort and filter in the dialog: a view only, with every command following the
// document's rows. The expected orders are written out by hand from the Alpha mission's items.
#include "app/FilterField.h"
#include "gui/EditorFixture.h"
#include "listedit/EditListCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QTest>

namespace orvik::test {
namespace {

using Rows = std::vector<std::size_t>;

// Alpha's rows by X: -30, -20 units, -5, 0, 10, 20, 30, 40, 50 units.
const Rows kByX = {4, 2, 8, 1, 0, 6, 3, 7, 5};

class SortFilter : public EditorTest {
protected:
    void ClickTitle(int column)
    {
        QHeaderView* header = Table()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 20, header->height() / 2));
    }
    // The document rows in the order the table shows them.
    Rows Shown() const
    {
        Rows rows;
        for (int view = 0; view < Table()->rowCount(); ++view)
            rows.push_back(Table()->DocumentRow(view));
        return rows;
    }
    void Filter(const QString& text)
    {
        m_dialog->FilterBox()->clear();
        QTest::keyClicks(m_dialog->FilterBox(), text);
    }
    QString Count() const { return m_dialog->FilterCount()->text(); }
    EditDocument& Doc() const { return *Table()->Document(); }
};

TEST_F(SortFilter, ThreeClicksOnATitleSortUpDownAndBack)
{
    StartActive(0);
    const Rows fileOrder = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    const struct {
        Rows rows;
        bool arrow;
        Qt::SortOrder order;
    } clicks[] = {
        {kByX, true, Qt::AscendingOrder},
        {Rows(kByX.rbegin(), kByX.rend()), true, Qt::DescendingOrder},
        {fileOrder, false, Qt::AscendingOrder},
    };
    for (const auto& c : clicks) {
        ClickTitle(1);
        EXPECT_EQ(Shown(), c.rows);
        QHeaderView* header = Table()->horizontalHeader();
        EXPECT_EQ(header->isSortIndicatorShown(), c.arrow);
        if (c.arrow) {
            EXPECT_EQ(header->sortIndicatorOrder(), c.order);
        }
    }
}

TEST_F(SortFilter, NamesSortInOrderAndEqualNamesKeepFileOrder)
{
    StartActive(0);
    ClickTitle(0);
    const Rows rows = Shown();
    ASSERT_EQ(rows.size(), 9u);
    for (std::size_t k = 1; k < rows.size(); ++k) {
        const QString a = Table()->GetItemText(static_cast<int>(rows[k - 1]), 0);
        const QString b = Table()->GetItemText(static_cast<int>(rows[k]), 0);
        EXPECT_LE(QString::localeAwareCompare(a.toLower(), b.toLower()), 0) << a.toStdString() << " " << b.toStdString();
        if (a == b) {
            EXPECT_LT(rows[k - 1], rows[k]);
        }
    }
}

TEST_F(SortFilter, AnEditKeepsItsRowInPlaceAndASaveWritesItsOwnRecord)
{
    Start();
    Choose(1); // Bravo: five rows, X growing
    ClickTitle(1);
    ClickTitle(1);
    ASSERT_EQ(Shown(), (Rows{4, 3, 2, 1, 0}));
    // The first row shown goes to the smallest X: it stays on top until the next sort.
    Edit(static_cast<int>(Table()->DocumentRow(0)), 1, "-99");
    EXPECT_EQ(Shown(), (Rows{4, 3, 2, 1, 0}));
    m_prompts.Clear();
    Click(Button(kIdSave));
    EXPECT_EQ(m_prompts.Texts(PromptCall::Kind::Message).back(), "Data saved!");
    const TestMission& bravo = m_game->Bravo();
    for (std::size_t r = 0; r < bravo.items.size(); ++r)
        EXPECT_EQ(RecordWord(m_game->basePath, bravo.offset, static_cast<int>(r), 5),
                  r == 4 ? -99 : bravo.items[r].m_nX)
            << r;
    ClickTitle(1);
    ClickTitle(1);
    EXPECT_EQ(Shown(), (Rows{4, 0, 1, 2, 3}));
}

TEST_F(SortFilter, UndoShowsTheChangedRowWhereverItIsShown)
{
    StartActive(0);
    ClickTitle(1);
    Edit(4, 2, "7");
    Table()->ShowCell(5, 0);
    m_dialog->OnUndo();
    EXPECT_EQ(Table()->currentRow(), 4);
    EXPECT_EQ(Table()->currentIndex().row(), 0);
    m_dialog->OnRedo();
    EXPECT_EQ(Table()->currentRow(), 4);
}

TEST_F(SortFilter, AFilterShowsItsRowsAndCopyTakesOnlyThose)
{
    StartActive(0);
    Doc().SetCell(0, 0, "Bunker");
    Doc().SetCell(0, 1, "30000000");
    Doc().SetCell(2, 0, "bunker");
    Doc().SetCell(2, 1, "25000000");
    Doc().SetCell(7, 1, "21000000"); // not a bunker
    Filter("item:bunker x>20000000");
    EXPECT_EQ(Shown(), (Rows{0, 2}));
    EXPECT_EQ(Count(), "2 of 9 rows");
    Table()->setFocus();
    m_dialog->OnSelectAll();
    m_dialog->OnCopy();
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith("Bunker\t30000000\t")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("bunker\t25000000\t")) << lines[2].toStdString();

    // A term it cannot read shows every row and says why; Escape clears the box.
    Filter("item:bunker foo:1");
    EXPECT_EQ(Shown().size(), 9u);
    EXPECT_EQ(Count(), "not a filter");
    EXPECT_TRUE(m_dialog->FilterBox()->toolTip().startsWith("Unknown column: foo"));
    QTest::keyClick(m_dialog->FilterBox(), Qt::Key_Escape);
    EXPECT_TRUE(m_dialog->FilterBox()->text().isEmpty());
    EXPECT_EQ(Count(), "");
    EXPECT_TRUE(m_dialog->isVisible());
}

TEST_F(SortFilter, APasteGoesDownTheShownRowsOnly)
{
    StartActive(0);
    Filter("x>0"); // rows 0, 3, 5, 6, 7
    ASSERT_EQ(Shown(), (Rows{0, 3, 5, 6, 7}));
    const auto before = m_dialog->Document().Rows();
    Table()->ShowCell(3, 1);
    Table()->Paste("1\n2\n3\n");
    EXPECT_EQ(m_prompts.Texts(PromptCall::Kind::Message), std::vector<QString>{});
    auto expected = before;
    expected[3][1] = "1";
    expected[5][1] = "2";
    expected[6][1] = "3";
    EXPECT_EQ(m_dialog->Document().Rows(), expected);

    // Four rows are shown from row 3 down: five are refused, and nothing changes.
    Table()->Paste("1\n2\n3\n4\n5\n");
    EXPECT_EQ(m_prompts.Texts(PromptCall::Kind::Message).size(), 1u);
    EXPECT_EQ(m_dialog->Document().Rows(), expected);

    // An edit that takes a row out of the filter leaves it shown until the filter changes.
    Edit(5, 1, "-100");
    EXPECT_EQ(Shown(), (Rows{0, 3, 5, 6, 7}));
    Filter("x>0");
    EXPECT_EQ(Shown(), (Rows{0, 3, 6, 7}));
}

TEST_F(SortFilter, IsChangedShowsTheRowsThatDifferFromTheArchive)
{
    StartActive(0);
    Edit(3, 1, "5");
    Edit(6, 0, "Tree");
    Edit(7, 2, Table()->GetItemText(7, 2)); // the same text: no change
    m_dialog->FilterBox()->setText("is:changed");
    EXPECT_EQ(Shown(), (Rows{3, 6}));
    m_dialog->FilterBox()->setText("-is:changed item:tree");
    EXPECT_EQ(Shown(), (Rows{2}));
}

TEST_F(SortFilter, TheSelectionStaysOnTheRowsStillShown)
{
    StartActive(0);
    Table()->SelectDocumentRows({2, 3, 5}, false);
    m_dialog->FilterBox()->setText("x>0");
    EXPECT_EQ(Table()->SelectedRows(), (Rows{3, 5}));
    m_dialog->FilterBox()->setText("");
    EXPECT_EQ(Table()->SelectedRows(), (Rows{3, 5}));
}

} // namespace
} // namespace orvik::test
