// Choosing a mission, the map's filters, clicks and read-out.
#include "gui/EditorFixture.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

namespace orvik::test {
namespace {

using Kind = PromptCall::Kind;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kGrey{191, 191, 191};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kMagenta{255, 0, 255};

int CountPixels(const Canvas& frame, Rgb colour)
{
    int count = 0;
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            count += frame.Pixel(x, y) == colour ? 1 : 0;
    return count;
}

std::vector<std::uint8_t> Snapshot(const Canvas& frame)
{
    return {frame.Data(), frame.Data() + frame.Stride() * frame.Height()};
}

TEST_F(EditorTest, ChoosingAMissionFillsTheTableAndCentresOnTheLastCentreItem)
{
    Start();
    Choose(0);
    for (const int id : {kIdSave, kIdGetMissionFiles, kIdRefreshMap})
        EXPECT_TRUE(Button(id)->isEnabled()) << id;

    const auto& items = m_game->Alpha().items;
    ASSERT_EQ(Table()->rowCount(), static_cast<int>(items.size()));
    EXPECT_EQ(Table()->GetItemText(0, 0), "Soldier");
    EXPECT_EQ(Table()->GetItemText(1, 0), "Map Center");
    EXPECT_EQ(Table()->GetItemText(8, 0), ""); // not in the catalogue
    for (int r = 0; r < Table()->rowCount(); ++r) {
        const CMissionItem& item = items[static_cast<std::size_t>(r)];
        EXPECT_EQ(Table()->GetItemText(r, 1), QString::number(item.m_nX)) << r;
        EXPECT_EQ(Table()->GetItemText(r, 2), QString::number(item.m_nY)) << r;
        EXPECT_EQ(Table()->GetItemText(r, 3), QString::number(item.m_nZ)) << r;
        EXPECT_EQ(Table()->GetItemText(r, 4), QString::number(item.m_nAngle)) << r;
        EXPECT_EQ(Table()->GetItemText(r, 5), QString::number(item.m_nNumber)) << r;
    }
    EXPECT_EQ(Table()->GetItemText(8, 1), "-5");
    EXPECT_EQ(Table()->GetItemText(0, 6), "Y"); // flags 16
    EXPECT_EQ(Table()->GetItemText(3, 6), "N"); // flags 32
    EXPECT_EQ(Table()->GetItemText(2, 6), "N");

    // Two centre items: the later one, at (40, -30) map pixels, wins.
    EXPECT_EQ(CenterX(), 256 + 40);
    EXPECT_EQ(CenterY(), 256 + 30);
    EXPECT_TRUE(m_prompts.calls.size() == 2u); // start-up only: the mission loaded cleanly
}

TEST_F(EditorTest, ChoosingAMissionPaintsTerrainAndMarkersAtOnce)
{
    Start();
    const int before = PaintCount();
    m_dialog->MissionCombo()->setCurrentIndex(0); // no event processing: the repaint is immediate
    EXPECT_GT(PaintCount(), before);

    const int cx = CenterX(), cy = CenterY();
    EXPECT_EQ(FramePixel(FrameOf(10 * kUnit, 20 * kUnit, cx, cy)), kRed);
    EXPECT_EQ(FramePixel(FrameOf(-20 * kUnit, 10 * kUnit, cx, cy)), kGreen);
    EXPECT_EQ(FramePixel(FrameOf(30 * kUnit, -10 * kUnit, cx, cy)), kGrey);
    EXPECT_EQ(FramePixel(FrameOf(-30 * kUnit, -20 * kUnit, cx, cy)), kWhite);
    EXPECT_EQ(FramePixel(FrameOf(50 * kUnit, 5 * kUnit, cx, cy)), kCyan);
    EXPECT_EQ(FramePixel(FrameOf(20 * kUnit, -40 * kUnit, cx, cy)), kYellow);
    // The centre item sits in the middle of the view.
    EXPECT_EQ(FramePixel({256, 256}), kYellow);
    // Terrain came from the colour map, not black.
    EXPECT_NE(FramePixel({5, 5}), (Rgb{0, 0, 0}));
    EXPECT_EQ(CountPixels(Map()->Frame(), kMagenta), 0);
}

struct FilterCase {
    int id;
    std::int32_t x, y; // world position of the category's item in mission alpha
    Rgb colour;
};

TEST_F(EditorTest, EachFilterClickedTwiceRestoresAndLeavesTheOthersAlone)
{
    Start();
    Choose(0);
    const int cx = CenterX(), cy = CenterY();
    const std::vector<FilterCase> cases = {
        {kIdPeople, 10 * kUnit, 20 * kUnit, kRed},         {kIdBuildings, -30 * kUnit, -20 * kUnit, kWhite},
        {kIdDecorations, -20 * kUnit, 10 * kUnit, kGreen}, {kIdVehicles, 30 * kUnit, -10 * kUnit, kGrey},
        {kIdMarkers, 20 * kUnit, -40 * kUnit, kYellow},    {kIdObjects, 50 * kUnit, 5 * kUnit, kCyan}};
    const std::vector<std::uint8_t> original = Snapshot(Map()->Frame());
    const int all[] = {kIdPeople, kIdBuildings, kIdDecorations, kIdVehicles, kIdMarkers, kIdObjects, kIdIds};

    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.id);
        const FramePoint at = FrameOf(c.x, c.y, cx, cy);
        const int paints = PaintCount();
        Click(Button(c.id));
        EXPECT_FALSE(Button(c.id)->isChecked());
        EXPECT_GT(PaintCount(), paints);
        EXPECT_NE(FramePixel(at), c.colour);
        for (const int other : all) {
            if (other != c.id) {
                EXPECT_EQ(Button(other)->isChecked(), other != kIdIds) << other;
            }
        }
        // The table always lists every item.
        EXPECT_EQ(Table()->rowCount(), 9);

        Click(Button(c.id));
        EXPECT_TRUE(Button(c.id)->isChecked());
        EXPECT_EQ(FramePixel(at), c.colour);
        EXPECT_TRUE(Snapshot(Map()->Frame()) == original);
    }

    // IDs: labels in pure magenta appear, and go again.
    Click(Button(kIdIds));
    EXPECT_TRUE(Button(kIdIds)->isChecked());
    EXPECT_TRUE(Map()->View().m_bShowIds);
    EXPECT_GT(CountPixels(Map()->Frame(), kMagenta), 20);
    Click(Button(kIdIds));
    EXPECT_FALSE(Button(kIdIds)->isChecked());
    EXPECT_TRUE(Snapshot(Map()->Frame()) == original);
}

TEST_F(EditorTest, FiltersAreKeptAcrossMissions)
{
    Start();
    Choose(0);
    Click(Button(kIdPeople));
    Click(Button(kIdIds));
    Choose(1);
    EXPECT_FALSE(Button(kIdPeople)->isChecked());
    EXPECT_FALSE(Map()->View().m_bShowPeople);
    EXPECT_TRUE(Button(kIdIds)->isChecked());
    EXPECT_TRUE(Map()->View().m_bShowIds);
    // Bravo's soldier is not drawn.
    const CMissionItem& soldier = m_game->Bravo().items[0];
    EXPECT_NE(FramePixel(FrameOf(soldier.m_nX, soldier.m_nY, CenterX(), CenterY())), kRed);
}

TEST_F(EditorTest, FiltersWorkBeforeAnyMission)
{
    Start();
    Click(Button(kIdDecorations));
    EXPECT_FALSE(Button(kIdDecorations)->isChecked());
    EXPECT_FALSE(Map()->View().m_bShowDecorations);
    EXPECT_TRUE(m_prompts.Texts(Kind::FileErrorReport).empty());
}

TEST_F(EditorTest, MapClicksRecentreAndRepaintAtOnce)
{
    Start();
    Choose(0);
    const int cx = CenterX(), cy = CenterY();
    const FramePoint soldier = FrameOf(10 * kUnit, 20 * kUnit, cx, cy);

    int paints = PaintCount();
    ClickMap(soldier.x, soldier.y);
    EXPECT_EQ(PaintCount(), paints + 1);
    EXPECT_EQ(CenterX(), cx + soldier.x - 256);
    EXPECT_EQ(CenterY(), cy + soldier.y - 256);
    // The clicked point is now the middle of the view.
    EXPECT_EQ(FramePixel({256, 256}), kRed);

    // A click on the middle keeps the centre but still repaints.
    paints = PaintCount();
    const int nx = CenterX(), ny = CenterY();
    ClickMap(256, 256);
    EXPECT_EQ(PaintCount(), paints + 1);
    EXPECT_EQ(CenterX(), nx);
    EXPECT_EQ(CenterY(), ny);

    // Choosing the mission again centres it anew.
    Choose(1);
    Choose(0);
    EXPECT_EQ(CenterX(), cx);
    EXPECT_EQ(CenterY(), cy);
}

TEST_F(EditorTest, MouseMovesShowTheWorldPointInTheCoordinateBox)
{
    Start();
    Choose(0);
    QLineEdit* coord = Control<QLineEdit>(kIdCoord);
    // Over the centre item: its own position (a whole number of map pixels).
    QTest::mouseMove(Map(), QPoint(257, 257));
    QApplication::processEvents();
    EXPECT_EQ(coord->text(), "x: 5242880   y: -3932160");
    // One pixel right and one down: one step more in x, one less in y.
    QTest::mouseMove(Map(), QPoint(258, 258));
    QApplication::processEvents();
    EXPECT_EQ(coord->text(), "x: 5373952   y: -4063232");
}

TEST_F(EditorTest, TerrainMissingIsToldAfterTheTableIsFilled)
{
    Start();
    int rowsWhenTold = -1;
    m_prompts.onCall = [&](const PromptCall&) { rowsWhenTold = Table()->rowCount(); };
    Choose(2); // charlie: its terrain is not in kq.pff
    const auto messages = m_prompts.Texts(Kind::Message);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[1].contains("nowhere")) << messages[1].toStdString();
    EXPECT_EQ(rowsWhenTold, 1);
    // Black terrain, never the previous mission's.
    EXPECT_EQ(FramePixel({5, 5}), (Rgb{0, 0, 0}));
}

TEST_F(EditorTest, UnreadableArchiveLeavesAnEmptyTableAndAUsableDialog)
{
    Start();
    Choose(0);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(m_game->basePath)));
    Choose(1);
    EXPECT_EQ(m_prompts.Texts(Kind::FileErrorReport),
              (std::vector<QString>{QString::fromStdString(m_game->basePath) + " was not found."}));
    EXPECT_EQ(Table()->rowCount(), 0);
    for (const int id : {kIdSave, kIdGetMissionFiles, kIdRefreshMap})
        EXPECT_TRUE(Button(id)->isEnabled()) << id;
    EXPECT_TRUE(m_dialog->isVisible());
}

TEST_F(EditorTest, OpeningTheArchiveAgainLeavesNoMissionOnTheMap)
{
    Start();
    Choose(0);
    ASSERT_GT(CountPixels(Map()->Frame(), kRed), 0);
    m_dialog->OnOpenArchive(); // the file dialog answers with the same archive
    QApplication::processEvents();
    EXPECT_EQ(CountPixels(Map()->Frame(), Rgb{0, 0, 0}), Map()->Frame().Width() * Map()->Frame().Height());
}

TEST_F(EditorTest, ArrowKeysInTheClosedListLoadEachMission)
{
    Start();
    QComboBox* combo = m_dialog->MissionCombo();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(Table()->rowCount(), 9);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(Table()->rowCount(), 5);
}

} // namespace
} // namespace orvik::test
