// Get Mission Files, Save, Refresh Map, and the question before unsaved edits are thrown away.
#include "gui/EditorFixture.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"

#include <QApplication>
#include <QTest>

namespace orvik::test {
namespace {

using Kind = PromptCall::Kind;

const QString kSummaryEnd = QStringLiteral(
    "Also generated repackterrain.bat and repackmission.bat, which you can use to repack the files when you are "
    "done editing them with your favorite image editor.");

TEST_F(EditorTest, ExportWritesTheFilesScriptsAndSummaryTwiceAlike)
{
    Start();
    Choose(0);
    m_prompts.Clear();
    const QString expected = "Unpacked files: \nalpha.bms - Mission File\ndunes_c.pcx - Color Map\n"
                             "dunes_e.pcx - Depth Map\ndunes_d.pcx - Detail Map\ndunes - Terrain description\n\n" +
                             kSummaryEnd;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        Click(Button(kIdGetMissionFiles));
        ASSERT_EQ(m_prompts.calls.size(), static_cast<std::size_t>(run + 1));
        EXPECT_EQ(m_prompts.calls.back().kind, Kind::Message);
        EXPECT_EQ(m_prompts.calls.back().text, expected);
        EXPECT_EQ(ReadBytes(m_game->dir + "dunes_c.pcx"), m_game->colorMap);
        EXPECT_EQ(ReadBytes(m_game->dir + "dunes_e.pcx"), m_game->elevMap);
        EXPECT_EQ(ReadBytes(m_game->dir + "dunes_d.pcx"), m_game->detailMap);
        EXPECT_EQ(ReadText(m_game->dir + "dunes"), m_game->description);
        EXPECT_TRUE(Exists(m_game->dir + "alpha.bms"));
        EXPECT_EQ(ReadText(m_game->dir + "repackmission.bat"), "pack.exe kqbase.pff alpha.bms");
        EXPECT_EQ(ReadText(m_game->dir + "repackterrain.bat"),
                  "pack.exe kq.pff dunes_c.pcx dunes_e.pcx dunes_d.pcx dunes");
    }
}

TEST_F(EditorTest, RefusedExportWritesNothingAndTheDialogGoesOn)
{
    Start();
    Choose(3); // r&d.bms: '&' cannot stand in a repack script
    const auto before = ListFolder(m_game->dir);
    m_prompts.Clear();
    Click(Button(kIdGetMissionFiles));
    ASSERT_EQ(m_prompts.calls.size(), 1u);
    EXPECT_EQ(m_prompts.calls[0].kind, Kind::Message);
    EXPECT_TRUE(m_prompts.calls[0].text.contains("r&d.bms")) << m_prompts.calls[0].text.toStdString();
    EXPECT_EQ(ListFolder(m_game->dir), before);

    // Still usable: another mission exports.
    Choose(0);
    Click(Button(kIdGetMissionFiles));
    EXPECT_TRUE(Exists(m_game->dir + "alpha.bms"));
}

TEST_F(EditorTest, ExportWithoutTheTerrainDescriptionSaysSoAndStillUnpacksTheMission)
{
    Start();
    Choose(2); // charlie.bms: its terrain "nowhere" is not in kq.pff
    m_prompts.Clear();
    Click(Button(kIdGetMissionFiles));
    ASSERT_EQ(m_prompts.calls.size(), 1u);
    EXPECT_EQ(m_prompts.calls[0].kind, Kind::Message);
    EXPECT_EQ(m_prompts.calls[0].text, "The terrain description \"nowhere\" was not found in kq.pff; it was not "
                                       "unpacked.\n\nUnpacked files: \ncharlie.bms - Mission File\n\n" +
                                           kSummaryEnd);
    EXPECT_TRUE(Exists(m_game->dir + "charlie.bms"));
    EXPECT_FALSE(Exists(m_game->dir + "nowhere"));
}

TEST_F(EditorTest, SaveWritesTheTableIntoTheArchive)
{
    Start();
    Choose(1);
    const TestMission& bravo = m_game->Bravo();
    Edit(0, 1, "12abc");
    Edit(1, 2, " -7");
    Edit(2, 0, "Crate");
    Edit(3, 4, "270");
    Edit(4, 6, "Y"); // MP Only is never saved
    const auto original = ReadBytes(m_game->basePath);
    m_prompts.Clear();
    Click(Button(kIdSave));

    // The first save keeps a copy of the original archive, and says so once.
    EXPECT_EQ(m_prompts.Texts(Kind::Message),
              (std::vector<QString>{"Your original kqbase.pff was copied to kqbase.pff.orig before this first save.",
                                    "Data saved!"}));
    EXPECT_EQ(ReadBytes(m_game->basePath + ".orig"), original);
    EXPECT_EQ(RecordWord(m_game->basePath, bravo.offset, 0, 5), 12);
    EXPECT_EQ(RecordWord(m_game->basePath, bravo.offset, 1, 6), -7);
    EXPECT_EQ(RecordWord(m_game->basePath, bravo.offset, 2, 1), kCrate);
    EXPECT_EQ(RecordWord(m_game->basePath, bravo.offset, 3, 14), 270);
    EXPECT_EQ(RecordWord(m_game->basePath, bravo.offset, 4, 4), bravo.items[4].m_nFlags);
    EXPECT_EQ(RecordWord(m_game->basePath, bravo.offset, 4, 5), bravo.items[4].m_nX);
    // Saved edits ask nothing on closing.
    EXPECT_FALSE(m_dialog->HasUnsavedEdits());

    Edit(0, 1, "13");
    m_prompts.Clear();
    Click(Button(kIdSave));
    EXPECT_EQ(m_prompts.Texts(Kind::Message), (std::vector<QString>{"Data saved!"}));
    EXPECT_EQ(ReadBytes(m_game->basePath + ".orig"), original);
}

TEST_F(EditorTest, SaveWithAnUnknownNameWritesNothing)
{
    Start();
    Choose(1);
    const auto archive = ReadBytes(m_game->basePath);
    Edit(1, 1, "999");
    Edit(2, 0, "crate"); // the catalogue spells it "Crate"
    m_prompts.Clear();
    Click(Button(kIdSave));
    EXPECT_EQ(m_prompts.Texts(Kind::Message),
              (std::vector<QString>{"Invalid item name \"crate\" aborting save. (row 3)"}));
    EXPECT_EQ(ReadBytes(m_game->basePath), archive);
    EXPECT_TRUE(m_dialog->HasUnsavedEdits());
}

TEST_F(EditorTest, RefreshStopsAtABadNameInRowThreeAndShowsTheRowsBeforeIt)
{
    Start();
    Choose(1);
    const int cx = CenterX(), cy = CenterY();
    const auto& items = m_game->Bravo().items;
    for (int r = 0; r < 5; ++r)
        Edit(r, 1, QString::number(100 + r));
    Edit(1, 0, "Tree");
    Edit(2, 0, "Boulder");
    Edit(3, 0, "Tree");
    QApplication::processEvents();
    const int paints = PaintCount();
    m_prompts.Clear();
    Click(Button(kIdRefreshMap));

    EXPECT_EQ(m_prompts.Texts(Kind::Message),
              (std::vector<QString>{"Invalid item name \"Boulder\" cannot refresh. (row 3)"}));
    // Row 2's crate became a tree: the picture shows it at once, as the hit test knows it.
    EXPECT_GT(PaintCount(), paints);
    EXPECT_EQ(FramePixel(FrameOf(101, items[1].m_nY, cx, cy)), (Rgb{0, 255, 0}));
    const auto& model = m_dialog->Model().items;
    EXPECT_EQ(model[0]->m_nX, 100);
    EXPECT_EQ(model[1]->m_nX, 101);
    EXPECT_EQ(model[1]->m_nId, kTree);
    EXPECT_EQ(model[2]->m_nX, 102);             // numbers of the bad row are taken
    EXPECT_EQ(model[2]->m_nId, items[2].m_nId); // its id is not
    EXPECT_EQ(model[3]->m_nX, items[3].m_nX);   // later rows are untouched
    EXPECT_EQ(model[3]->m_nId, items[3].m_nId);
    EXPECT_EQ(model[4]->m_nX, items[4].m_nX);
}

TEST_F(EditorTest, RefreshMovesMarkersAndRepaints)
{
    Start();
    Choose(1);
    const int cx = CenterX(), cy = CenterY();
    Edit(0, 1, QString::number(2 * kUnit));
    Edit(0, 2, QString::number(-3 * kUnit));
    const int paints = PaintCount();
    Click(Button(kIdRefreshMap));
    EXPECT_GT(PaintCount(), paints);
    EXPECT_EQ(FramePixel(FrameOf(2 * kUnit, -3 * kUnit, cx, cy)), (Rgb{255, 0, 0}));
    // Refresh only reaches the model; the archive is unchanged until Save.
    EXPECT_EQ(RecordWord(m_game->basePath, m_game->Bravo().offset, 0, 5), m_game->Bravo().items[0].m_nX);
}

TEST_F(EditorTest, ClosingWithUnsavedEditsAsks)
{
    Start();
    Choose(0);
    Edit(0, 1, "1");

    m_prompts.answers = {false};
    QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(m_prompts.Texts(Kind::Question), (std::vector<QString>{"Discard the unsaved changes to alpha.bms?"}));

    m_prompts.answers = {false};
    EXPECT_FALSE(m_dialog->close());
    EXPECT_TRUE(m_dialog->isVisible());

    m_prompts.answers = {true};
    QTest::keyClick(Table(), Qt::Key_Return);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_prompts.Texts(Kind::Question).size(), 3u);
}

TEST_F(EditorTest, ChoosingAnotherMissionWithUnsavedEditsAsks)
{
    Start();
    Choose(1);
    Edit(0, 1, "4242");
    const std::size_t modelItems = m_dialog->Model().items.size();

    m_prompts.answers = {false};
    Choose(0);
    EXPECT_EQ(m_prompts.Texts(Kind::Question), (std::vector<QString>{"Discard the unsaved changes to bravo.bms?"}));
    EXPECT_EQ(m_dialog->MissionCombo()->currentIndex(), 1);
    EXPECT_EQ(Table()->GetItemText(0, 1), "4242"); // not reloaded
    EXPECT_EQ(m_dialog->Model().items.size(), modelItems);
    EXPECT_TRUE(m_dialog->HasUnsavedEdits());

    m_prompts.answers = {true};
    Choose(0);
    EXPECT_EQ(m_dialog->MissionCombo()->currentIndex(), 0);
    EXPECT_EQ(Table()->rowCount(), 9);
    EXPECT_FALSE(m_dialog->HasUnsavedEdits());

    // A fresh load asks nothing when the user moves on.
    Choose(1);
    EXPECT_EQ(m_prompts.Texts(Kind::Question).size(), 2u);
    EXPECT_EQ(Table()->GetItemText(0, 1), QString::number(m_game->Bravo().items[0].m_nX));
}

TEST_F(EditorTest, AnEditTypedIntoTheTableCountsAsUnsaved)
{
    Start();
    Choose(1);
    m_dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
    const auto clickCell = [this](int row, int column) {
        const QPoint point(Table()->columnViewportPosition(column) + 30,
                           Table()->rowViewportPosition(row) + Table()->rowHeight(row) / 2);
        QTest::mouseClick(Table()->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    };
    clickCell(2, 1);
    clickCell(2, 1);
    ASSERT_NE(Table()->ActiveEdit(), nullptr);
    QTest::keyClicks(Table()->ActiveEdit(), "77");
    // Not yet stored, but closing now would lose it.
    EXPECT_TRUE(m_dialog->HasUnsavedEdits());
    QTest::keyClick(Table()->ActiveEdit(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Table()->GetItemText(2, 1), "77");
    EXPECT_TRUE(m_dialog->HasUnsavedEdits());
    EXPECT_TRUE(m_dialog->isVisible()); // Enter went to the edit box, not the dialog

    Click(Button(kIdSave));
    EXPECT_FALSE(m_dialog->HasUnsavedEdits());
    EXPECT_EQ(RecordWord(m_game->basePath, m_game->Bravo().offset, 2, 5), 77);
}

TEST_F(EditorTest, EnterOnAFocusedButtonPressesItInsteadOfEnding)
{
    Start();
    Choose(1);
    m_prompts.Clear();
    Button(kIdSave)->setFocus();
    QTest::keyClick(Button(kIdSave), Qt::Key_Return);
    EXPECT_EQ(m_prompts.Texts(Kind::Message), (std::vector<QString>{"Data saved!"}));
    EXPECT_TRUE(m_dialog->isVisible());
}

} // namespace
} // namespace orvik::test

namespace orvik::test {
namespace {

// Changes four bytes of the archive in place, as another program would.
void Poke(const std::string& path, std::int64_t at, std::int32_t value)
{
    File f(path, File::Mode::ReadWrite);
    f.Seek(at);
    f.WriteInt32(value);
    f.Close();
}

std::int64_t EntryFieldOffset(const std::string& path, const std::string& entry, int field)
{
    File f(path, File::Mode::Read);
    CPffArchive reader;
    std::int64_t at = -1;
    reader.WalkEntries(f, [&](const PffEntry& e) {
        if (e.name == entry)
            at = reader.EntryTableOffset() + static_cast<std::int64_t>(e.index) * 32 + field;
        return at < 0;
    });
    return at;
}

} // namespace

TEST_F(EditorTest, SaveAsksBeforeOverwritingChangesMadeOnDisk)
{
    Start();
    Choose(1);
    const TestMission& bravo = m_game->Bravo();
    Edit(0, 1, "111");
    Poke(m_game->basePath, bravo.offset + 264 + 2 * 96 + 5 * 4, 4242); // another program moves item 2
    const auto changed = ReadBytes(m_game->basePath);

    m_prompts.Clear();
    Click(Button(kIdSave)); // answered No
    EXPECT_EQ(m_prompts.Texts(Kind::Question),
              (std::vector<QString>{"bravo.bms changed on disk since it was loaded. Overwrite those changes?"}));
    EXPECT_TRUE(m_prompts.Texts(Kind::Message).empty());
    EXPECT_EQ(ReadBytes(m_game->basePath), changed);
    EXPECT_TRUE(m_dialog->HasUnsavedEdits());

    m_prompts.Clear();
    m_prompts.answers = {true};
    Click(Button(kIdSave));
    EXPECT_EQ(m_prompts.Texts(Kind::Message).back(), "Data saved!");
    EXPECT_EQ(RecordWord(m_game->basePath, bravo.offset, 0, 5), 111);
    EXPECT_FALSE(m_dialog->HasUnsavedEdits());
}

TEST_F(EditorTest, SaveIntoARepackedArchiveOffersToReload)
{
    Start();
    Choose(1);
    const TestMission& bravo = m_game->Bravo();
    Edit(0, 1, "111");
    // Another program resizes the mission's entry.
    Poke(m_game->basePath, EntryFieldOffset(m_game->basePath, bravo.entry, 8), 264 + 8);
    const auto repacked = ReadBytes(m_game->basePath);

    for (const bool reload : {false, true}) {
        m_prompts.Clear();
        m_prompts.answers = {reload};
        Click(Button(kIdSave));
        ASSERT_EQ(m_prompts.Texts(Kind::Question).size(), 1u);
        EXPECT_TRUE(m_prompts.Texts(Kind::Question)[0].contains("no longer where it was loaded"));
        EXPECT_EQ(ReadBytes(m_game->basePath), repacked);
        // No keeps the edits; Yes loads the mission as it now is (an entry without room for items).
        EXPECT_EQ(m_dialog->HasUnsavedEdits(), !reload);
        EXPECT_EQ(Table()->rowCount(), reload ? 0 : static_cast<int>(bravo.items.size()));
    }
}

} // namespace orvik::test

namespace orvik::test {

TEST_F(EditorTest, AMissionListOlderThanTheArchiveLoadsNothingAndIsReadAgain)
{
    Start();
    m_prompts.Clear();
    const TestMission& bravo = m_game->Bravo();
    // Another program moves bravo's data after the list was read.
    Poke(m_game->basePath, EntryFieldOffset(m_game->basePath, bravo.entry, 4),
         static_cast<std::int32_t>(bravo.offset + 1));
    Choose(1);
    ASSERT_EQ(m_prompts.Texts(Kind::Message).size(), 1u);
    EXPECT_TRUE(m_prompts.Texts(Kind::Message)[0].startsWith("The archive changed since its mission list was read"));
    EXPECT_EQ(Table()->model()->rowCount(), 0);
    EXPECT_FALSE(Button(kIdSave)->isEnabled());
    EXPECT_EQ(m_dialog->MissionCombo()->currentIndex(), -1);
}

} // namespace orvik::test
