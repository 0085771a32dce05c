// The check's findings on the item table: icons and tooltips in the first column, the count in its
// title, kept up to date after loads and committed edits.
#include "app/ControlIds.h"
#include "gamedata/ItemDefWriter.h"
#include "gui/EditorFixture.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

#include <fstream>

namespace orvik::test {
namespace {

enum class Mark { None, Warning, Error };

class FindingsTest : public EditorTest {
protected:
    ItemTableModel* Model() const { return Table()->TableModel(); }

    Mark MarkOf(int row) const
    {
        const QVariant value = Model()->data(Model()->index(row, 0), Qt::DecorationRole);
        if (!value.isValid())
            return Mark::None;
        const QImage image = value.value<QIcon>().pixmap(16).toImage();
        auto same = [&](QStyle::StandardPixmap which) {
            return image == QApplication::style()->standardIcon(which).pixmap(16).toImage();
        };
        if (same(QStyle::SP_MessageBoxCritical))
            return Mark::Error;
        return same(QStyle::SP_MessageBoxWarning) ? Mark::Warning : Mark::None;
    }

    std::vector<Mark> Marks() const
    {
        std::vector<Mark> marks;
        for (int row = 0; row < Table()->rowCount(); ++row)
            marks.push_back(MarkOf(row));
        return marks;
    }

    QString Tip(int row) const { return Model()->data(Model()->index(row, 0), Qt::ToolTipRole).toString(); }
    QString Title() const { return Model()->headerData(0, Qt::Horizontal).toString(); }
    QString TitleTip() const { return Model()->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(); }
};

constexpr Mark N = Mark::None, W = Mark::Warning, E = Mark::Error;

TEST_F(FindingsTest, RowsShowTheirFindingsAfterLoadAndAfterEachEdit)
{
    Start();
    EXPECT_EQ(Title(), "Item"); // nothing loaded, nothing counted
    Choose(0);
    // Alpha: four items north or west of the ground, one kind the catalogue lacks.
    EXPECT_EQ(Marks(), (std::vector<Mark>{W, N, W, N, W, W, N, N, E}));
    EXPECT_EQ(Title(), "Item (5)");
    EXPECT_EQ(TitleTip(), "1 error, 4 warnings");
    EXPECT_TRUE(Tip(8).contains("7000")) << Tip(8).toStdString();
    EXPECT_TRUE(Tip(0).contains("outside the ground")) << Tip(0).toStdString();
    EXPECT_TRUE(Tip(1).isEmpty());
    // Other columns carry no icon.
    EXPECT_FALSE(Model()->data(Model()->index(8, 1), Qt::DecorationRole).isValid());

    struct Step {
        const char* name;
        int row, column;
        QString text; // empty: undo
        std::vector<Mark> marks;
        const char* title;
    };
    const Step steps[] = {
        {"a bad angle", 3, 4, "400", {W, N, W, W, W, W, N, N, E}, "Item (6)"},
        {"a move that stays on the ground", 6, 1, "40", {W, N, W, W, W, W, N, N, E}, "Item (6)"},
        {"undo", -1, -1, {}, {W, N, W, W, W, W, N, N, E}, "Item (6)"},
        {"undo the angle", -1, -1, {}, {W, N, W, N, W, W, N, N, E}, "Item (5)"},
        {"a known name", 8, 0, "Tree", {W, N, W, N, W, W, N, N, N}, "Item (4)"},
        {"a name the catalogue lacks", 1, 0, "Nothing", {W, E, W, N, W, W, N, N, N}, "Item (5)"},
        {"back on the ground", 0, 2, "-20", {N, E, W, N, W, W, N, N, N}, "Item (4)"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.text.isEmpty())
            Table()->Undo();
        else
            Edit(step.row, step.column, step.text);
        EXPECT_EQ(Marks(), step.marks);
        EXPECT_EQ(Title(), step.title);
    }

    // Another mission replaces the marks; its findings about the mission as a whole are counted
    // and shown on the title.
    m_prompts.answers.push_back(true); // discard the edits
    Choose(2);
    EXPECT_EQ(Marks(), (std::vector<Mark>{W}));
    EXPECT_EQ(Title(), "Item (2)");
    EXPECT_TRUE(TitleTip().startsWith("0 errors, 2 warnings\nNo centre item")) << TitleTip().toStdString();
}

// A refresh stopped by a bad name has still given the rows before it their names' kinds: row 2's
// crate now holds the first "Crate" kind and no longer shares its name with an earlier one.
TEST_F(FindingsTest, ARefreshStoppedByABadNameChecksTheRowsItApplied)
{
    std::ofstream(m_game->dir + "items.def", std::ios::binary)
        << gamedata::BuildItemDef({{"Soldier", kSoldier}, {"Tree", kTree}, {"Truck", kTruck}, {"Bunker", kBunker},
                                   {"Crate", 4100}, {"Crate", kCrate}, {"Waypoint", kWaypoint},
                                   {"Map Center", kMapCenter}},
                                  17);
    Start();
    Choose(1);
    EXPECT_TRUE(Tip(1).contains("names kind ids 4100 and 4001")) << Tip(1).toStdString();
    Edit(3, 0, "Boulder");
    Click(Button(kIdRefreshMap));
    EXPECT_EQ(m_dialog->Model().items[1]->m_nId, 4100);
    EXPECT_FALSE(Tip(1).contains("names kind ids")) << Tip(1).toStdString();
}

} // namespace
} // namespace orvik::test
