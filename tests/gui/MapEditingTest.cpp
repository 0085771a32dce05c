// The map as an editing surface in the dialog: selection both ways, drags and their undo, a
// cancelled drag, panning, zoom with the readout, markers that follow the table.
#include "gui/EditorFixture.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

namespace orvik::test {
namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kWhite{255, 255, 255};

class MapEditing : public EditorTest {
protected:
    // Widget point of a frame pixel (inside the one-pixel border).
    static QPoint At(int x, int y) { return {x + 1, y + 1}; }
    FramePoint Marker(std::int32_t wx, std::int32_t wy) const { return FrameOf(wx, wy, CenterX(), CenterY()); }

    // Presses at a frame pixel, moves in steps by (dx, dy), and releases unless told not to.
    void Drag(FramePoint from, int dx, int dy, bool release = true, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(Map(), button, Qt::NoModifier, At(from.x, from.y));
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(Map(), At(from.x + dx * step / 4, from.y + dy * step / 4));
        if (release)
            QTest::mouseRelease(Map(), button, Qt::NoModifier, At(from.x + dx, from.y + dy));
    }
    void Wheel(int x, int y, int delta)
    {
        QWheelEvent event(QPointF(At(x, y)), QPointF(Map()->mapToGlobal(At(x, y))), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Map(), &event);
    }
    std::vector<int> SelectedRows() const
    {
        std::vector<int> rows;
        for (const QModelIndex& index : Table()->selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    QString Readout() const { return Control<QLineEdit>(kIdCoord)->text(); }
};

TEST_F(MapEditing, SelectionGoesBothWays)
{
    Start();
    Choose(0); // alpha, centred on its last centre item
    // A table row rings its marker: the truck at world (30, -10) map pixels.
    Table()->ShowCell(3, 0);
    const FramePoint truck = Marker(30 * kUnit, -10 * kUnit);
    EXPECT_EQ(FramePixel({truck.x + 5, truck.y}), kWhite);
    EXPECT_EQ(Map()->View().Selection(), (std::vector<std::size_t>{3}));

    struct Step {
        std::int32_t wx, wy; // the marker clicked, one pixel off its centre
        bool ctrl;
        std::vector<int> rows;
        int current;
    };
    const Step steps[] = {
        {10 * kUnit, 20 * kUnit, false, {0}, 0},    // the soldier alone
        {-20 * kUnit, 10 * kUnit, true, {0, 2}, 2}, // Ctrl adds the tree
        {10 * kUnit, 20 * kUnit, true, {2}, 0},     // Ctrl again removes the soldier
        {-30 * kUnit, -20 * kUnit, false, {4}, 4},  // a plain click keeps only the bunker
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.current);
        const FramePoint m = Marker(s.wx, s.wy);
        const int cx = CenterX(), cy = CenterY();
        QTest::mouseClick(Map(), Qt::LeftButton, s.ctrl ? Qt::ControlModifier : Qt::NoModifier, At(m.x + 1, m.y - 1));
        EXPECT_EQ(SelectedRows(), s.rows);
        EXPECT_EQ(Table()->currentRow(), s.current);
        // The click still re-centres on the point under the mouse.
        EXPECT_EQ(CenterX(), cx + m.x + 1 - 256);
        EXPECT_EQ(CenterY(), cy + m.y - 1 - 256);
        std::vector<std::size_t> mapRows(s.rows.begin(), s.rows.end());
        EXPECT_EQ(Map()->View().Selection(), mapRows);
    }
    // A click on open ground selects nothing new.
    ClickMap(480, 30);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{4}));
}

TEST_F(MapEditing, DragsMoveXAndYAsOneUndoStep)
{
    struct Case {
        const char* name;
        std::vector<int> ctrlClicked; // rows selected first with Ctrl+click
        int dragged;                  // the row whose marker is dragged
        std::vector<int> moved;       // rows expected to move
    };
    const Case cases[] = {
        {"alone", {}, 0, {0}},
        {"unselected marker goes alone", {2}, 0, {0}},
        {"the selection goes together", {0, 2}, 2, {0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        Choose(0);
        const auto& items = m_game->Alpha().items;
        for (int row : c.ctrlClicked) {
            const auto& it = items[static_cast<std::size_t>(row)];
            const FramePoint m = Marker(it.m_nX, it.m_nY);
            QTest::mouseClick(Map(), Qt::LeftButton, Qt::ControlModifier, At(m.x, m.y));
        }
        const int cx = CenterX(), cy = CenterY();
        const auto& dragged = items[static_cast<std::size_t>(c.dragged)];
        Drag(Marker(dragged.m_nX, dragged.m_nY), 10, 5);
        EXPECT_EQ(CenterX(), cx); // a drag is no click
        EXPECT_EQ(CenterY(), cy);
        EXPECT_TRUE(m_dialog->HasUnsavedEdits());
        for (int row = 0; row < static_cast<int>(items.size()); ++row) {
            const auto& it = items[static_cast<std::size_t>(row)];
            const bool moved = std::find(c.moved.begin(), c.moved.end(), row) != c.moved.end();
            // Ten pixels east and five south, each pixel 131072 units; Z is left alone.
            EXPECT_EQ(Table()->GetItemText(row, 1), QString::number(moved ? it.m_nX + 10 * kUnit : it.m_nX)) << row;
            EXPECT_EQ(Table()->GetItemText(row, 2), QString::number(moved ? it.m_nY - 5 * kUnit : it.m_nY)) << row;
            EXPECT_EQ(Table()->GetItemText(row, 3), QString::number(it.m_nZ)) << row;
        }
        EXPECT_EQ(FramePixel(Marker(10 * kUnit + (c.dragged == 0 || c.moved.size() > 1 ? 10 * kUnit : 0),
                                    20 * kUnit - (c.dragged == 0 || c.moved.size() > 1 ? 5 * kUnit : 0))),
                  kRed);
        m_dialog->OnUndo();
        EXPECT_FALSE(m_dialog->Document().CanUndo());
        for (int row = 0; row < static_cast<int>(items.size()); ++row)
            EXPECT_EQ(Table()->GetItemText(row, 1), QString::number(items[static_cast<std::size_t>(row)].m_nX));
        EXPECT_EQ(FramePixel(Marker(10 * kUnit, 20 * kUnit)), kRed);
        EXPECT_EQ(FramePixel(Marker(-20 * kUnit, 10 * kUnit)), kGreen);
        TearDown();
        SetUp();
    }
}

TEST_F(MapEditing, EscapeCancelsADragAndASmallMoveIsAClick)
{
    Start();
    Choose(0);
    const int cx = CenterX(), cy = CenterY();
    const FramePoint soldier = Marker(10 * kUnit, 20 * kUnit);
    Drag(soldier, 30, 30, false);
    EXPECT_EQ(FramePixel({soldier.x + 30, soldier.y + 30}), kRed); // the marker follows the mouse
    QTest::keyClick(Map(), Qt::Key_Escape);
    QTest::mouseRelease(Map(), Qt::LeftButton, Qt::NoModifier, At(soldier.x + 30, soldier.y + 30));
    EXPECT_TRUE(m_dialog->isVisible()); // Escape went to the drag, not to the dialog
    EXPECT_FALSE(m_dialog->Document().CanUndo());
    EXPECT_EQ(FramePixel(soldier), kRed);
    EXPECT_EQ(CenterX(), cx);

    // Three pixels is still a click: nothing moves, the view re-centres, the row is selected.
    Drag(soldier, 3, -3);
    EXPECT_FALSE(m_dialog->Document().CanUndo());
    EXPECT_EQ(CenterX(), cx + soldier.x - 256);
    EXPECT_EQ(CenterY(), cy + soldier.y - 256);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0}));
}

TEST_F(MapEditing, DraggingGroundOrTheMiddleButtonPans)
{
    struct Case {
        Qt::MouseButton button;
        FramePoint from;
    };
    Start();
    Choose(0);
    const FramePoint soldier = Marker(10 * kUnit, 20 * kUnit);
    const Case cases[] = {{Qt::LeftButton, {450, 60}}, {Qt::MiddleButton, soldier}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        const int cx = CenterX(), cy = CenterY();
        Drag(c.from, -20, 12, true, c.button);
        EXPECT_EQ(CenterX(), cx + 20);
        EXPECT_EQ(CenterY(), cy - 12);
        EXPECT_FALSE(m_dialog->Document().CanUndo());
        // The readout names the ground under the mouse: the point pressed, which moved with it.
        const int x = c.from.x - 20, y = c.from.y + 12;
        EXPECT_EQ(
            Readout(),
            QStringLiteral("x: %1   y: %2").arg((x + CenterX() - 512) * kUnit).arg(-(y + CenterY() - 512) * kUnit));
    }
    EXPECT_EQ(FramePixel(Marker(10 * kUnit, 20 * kUnit)), kRed);
}

TEST_F(MapEditing, WheelAndKeysZoomAboutThePointWithARightReadout)
{
    Start();
    Choose(0); // centre (296, 286) in map pixels
    struct Step {
        int delta;
        int zoom;
        const char* readout; // at frame (266, 246), hand-computed from the centre
    };
    const Step steps[] = {
        {120, 2, "x: 5898240   y: -3276800"}, // centre (336, 316), 65536 units a pixel
        {120, 4, "x: 5570560   y: -3604480"}, // (416, 376)
        {120, 8, "x: 5406720   y: -3768320"}, // (576, 496), 16384 units a pixel
        {120, 8, "x: 5406720   y: -3768320"}, // no further
        {-120, 4, "x: 5570560   y: -3604480"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.zoom);
        Wheel(256, 256, s.delta);
        EXPECT_EQ(Map()->View().Zoom(), s.zoom);
        QTest::mouseMove(Map(), At(10, 10));
        QTest::mouseMove(Map(), At(266, 246));
        EXPECT_EQ(Readout(), s.readout);
        // The soldier's marker is where the zoomed transform puts it and stays clickable.
        const int mx = static_cast<int>(10 * s.zoom) + 512 - CenterX();
        const int my = 512 - static_cast<int>(20 * s.zoom) - CenterY();
        if (mx > 0 && mx < 510 && my > 0 && my < 510) {
            EXPECT_EQ(FramePixel({mx, my}), kRed);
        }
    }
    Map()->setFocus();
    QTest::keyClick(Map(), Qt::Key_0);
    EXPECT_EQ(Map()->View().Zoom(), 1);
    QTest::keyClick(Map(), Qt::Key_Plus);
    EXPECT_EQ(Map()->View().Zoom(), 2);
    QTest::keyClick(Map(), Qt::Key_Minus);
    EXPECT_EQ(Map()->View().Zoom(), 1);
}

TEST_F(MapEditing, MarkersFollowEditsUndoAndRedoAtOnce)
{
    Start();
    Choose(0);
    struct Step {
        const char* x;
        const char* y;
        std::int32_t wx, wy; // where the soldier stands afterwards
    };
    const Step steps[] = {
        {"2621440", "1966080", 20 * kUnit, 15 * kUnit},
        {"oops", "655360", 20 * kUnit, 5 * kUnit}, // a cell that is no number keeps the last good X
        {"-1310720", "", -10 * kUnit, 5 * kUnit},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.x);
        Edit(0, 1, QString::fromLatin1(s.x));
        Edit(0, 2, QString::fromLatin1(s.y));
        EXPECT_EQ(FramePixel(Marker(s.wx, s.wy)), kRed);
    }
    // Back to X "oops": the marker keeps the last good X, which is now -10.
    m_dialog->OnUndo();
    m_dialog->OnUndo();
    EXPECT_EQ(FramePixel(Marker(-10 * kUnit, 5 * kUnit)), kRed);
    m_dialog->OnUndo();
    m_dialog->OnUndo();
    EXPECT_EQ(FramePixel(Marker(20 * kUnit, 15 * kUnit)), kRed);
    for (int i = 0; i < 4; ++i)
        m_dialog->OnRedo();
    EXPECT_EQ(FramePixel(Marker(-10 * kUnit, 5 * kUnit)), kRed);
}

TEST_F(MapEditing, TooltipsNameTheRowUnderTheMouse)
{
    Start();
    Choose(0);
    Edit(2, 3, "77"); // the tooltip shows the table's text, edits included
    struct Case {
        std::int32_t wx, wy;
        int dx; // pixels off the marker's centre
        QString text;
    };
    const Case cases[] = {
        {10 * kUnit, 20 * kUnit, 0, "Row 1: Soldier (Person 5001)\nX 1310720  Y 2621440  Z -7\nAngle 77"},
        {-20 * kUnit, 10 * kUnit, 3, "Row 3: Tree (Decoration 1001)\nX -2621440  Y 1310720  Z 77\nAngle 91"},
        {-20 * kUnit, 10 * kUnit, 4, ""},
    };
    for (const Case& c : cases) {
        const FramePoint m = Marker(c.wx, c.wy);
        const auto item = Map()->View().ItemAt(m.x + c.dx, m.y);
        EXPECT_EQ(item ? Map()->describeItem(*item) : QString(), c.text) << c.dx;
    }
}

TEST_F(MapEditing, ALargerWindowGrowsTheTableAndTheMapAndTheDefaultIsUnchanged)
{
    Start();
    Choose(0); // centre (296, 286), the last centre item in the middle
    const std::vector<std::uint8_t> before(Map()->Frame().Data(),
                                           Map()->Frame().Data() + Map()->Frame().Stride() * 512);
    struct Case {
        int width, height;
        int side; // the map's square
        int tableLeft, tableWidth, tableHeight;
    };
    const Case cases[] = {
        {1300, 900, 803, 824, 466, 842},  // height limits the map; the table takes the rest
        {1100, 1000, 640, 661, 429, 942}, // width limits it; the table keeps its width
        {900, 500, 512, 533, 429, 551},   // never smaller than the default
        {972, 609, 512, 533, 429, 551},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        m_dialog->resize(c.width, c.height);
        QApplication::processEvents();
        Map()->repaint();
        EXPECT_EQ(Map()->geometry(), QRect(10, 50, c.side, c.side));
        EXPECT_EQ(Control(kIdItemTable)->geometry(), QRect(c.tableLeft, 50, c.tableWidth, c.tableHeight));
        EXPECT_EQ(Control(kIdPeople)->geometry().top(), 583 + c.side - 512);
        EXPECT_EQ(Control(kIdSave)->geometry().right(), m_dialog->width() - 11);
        ASSERT_EQ(Map()->Frame().Width(), c.side);
        // The centre stays in the middle of the larger frame, and more ground shows around it.
        const int mid = c.side / 2;
        EXPECT_EQ(FramePixel({mid, mid}), (Rgb{255, 255, 0}));
        EXPECT_EQ(FramePixel({mid - 256 + 226, mid - 256 + 206}), (Rgb{255, 0, 0})); // the soldier
        QTest::mouseMove(Map(), At(mid + 3, mid));
        EXPECT_EQ(Readout(), QStringLiteral("x: %1   y: %2").arg(43 * kUnit).arg(-30 * kUnit));
    }
    const std::vector<std::uint8_t> after(Map()->Frame().Data(), Map()->Frame().Data() + Map()->Frame().Stride() * 512);
    EXPECT_EQ(after, before);
}

// Refresh Map gives a row its new kind; with People hidden, the soldier made a truck is drawn and is
// found under the mouse at once.
TEST_F(MapEditing, ARefreshedKindIsFoundUnderTheMouse)
{
    Start();
    Choose(0);
    Click(Button(kIdPeople));
    const QString truck = Table()->model()->index(3, 0).data().toString();
    Edit(0, 0, truck);
    Click(Button(kIdRefreshMap));
    const FramePoint soldier = Marker(10 * kUnit, 20 * kUnit);
    EXPECT_EQ(Map()->View().ItemAt(soldier.x, soldier.y), std::optional<std::size_t>(0));
}

} // namespace
} // namespace orvik::test
