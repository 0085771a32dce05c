// What the editor keeps between starts, read back as a second start finds it: the archive, mission,
// view and columns; a damaged file; two editors at once; where a kept window may go.
#include "app/EditorSettings.h"
#include "app/QtText.h"
#include "gui/EditorFixture.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QTest>
#include <QTimer>

#include <functional>

namespace orvik::test {
namespace {

using Kind = PromptCall::Kind;

class SettingsTest : public EditorTest {
protected:
    QString Ini() const { return QString::fromStdString(m_scratch.File("config/orvik-editor.ini")); }

    // One start of the editor with the settings file: act runs once the window shows, then it closes.
    void Run(const std::function<void()>& act, bool withBase = false)
    {
        EditorSettings settings(Ini());
        m_prompts.Clear();
        m_dialog = std::make_unique<CEditorDlg>(
            m_prompts, withBase ? std::optional<std::string>(m_game->basePath) : std::nullopt);
        m_dialog->UseSettings(&settings);
        QTimer::singleShot(0, m_dialog.get(), [&] {
            act();
            m_dialog->done(0);
        });
        m_dialog->DoModal();
        m_dialog.reset();
    }
};

TEST_F(SettingsTest, ASecondStartComesBackToTheSameArchiveMissionViewAndColumns)
{
    std::pair<int, int> centre;
    Run([&] {
        EXPECT_EQ(m_prompts.Texts(Kind::Message).size(), 1u); // the first start explains itself
        Choose(1);
        Map()->ZoomAbout(2, 100, 300);
        Click(Button(kIdVehicles));
        Table()->horizontalHeader()->resizeSection(1, 140);
        Table()->selectionModel()->setCurrentIndex(Table()->model()->index(3, 2), QItemSelectionModel::ClearAndSelect |
                                                                                   QItemSelectionModel::Rows);
        const MapView& view = Map()->View();
        const WorldPoint middle = view.WorldAt(view.FrameSize() / 2, view.FrameSize() / 2);
        centre = {middle.x, middle.y};
    });
    Run([&] {
        EXPECT_TRUE(m_prompts.Texts(Kind::Message).empty()) << "only the first start shows the start-up message";
        const OpenFileHint& hint = m_prompts.openFileHint;
        EXPECT_EQ(hint.selected, QFileInfo(ToQt(m_game->basePath)).absoluteFilePath());
        EXPECT_EQ(hint.folder, QFileInfo(ToQt(m_game->basePath)).absolutePath());
        EXPECT_EQ(hint.recent, QStringList{hint.selected});
        EXPECT_EQ(m_dialog->MissionCombo()->currentIndex(), 1);
        const MapView& view = Map()->View();
        EXPECT_EQ(view.Zoom(), 2);
        EXPECT_FALSE(view.m_bShowVehicles);
        EXPECT_FALSE(Button(kIdVehicles)->isChecked());
        EXPECT_TRUE(view.m_bShowPeople && Button(kIdPeople)->isChecked());
        EXPECT_EQ(Table()->horizontalHeader()->sectionSize(1), 140);
        EXPECT_EQ(Table()->currentIndex().row(), 3);
        const WorldPoint middle = view.WorldAt(view.FrameSize() / 2, view.FrameSize() / 2);
        // One zoomed pixel is 65536 world units at 2x.
        EXPECT_NEAR(middle.x, centre.first, 65536);
        EXPECT_NEAR(middle.y, centre.second, 65536);
    });
}

TEST_F(SettingsTest, ADamagedFileGivesTheDefaultsAndStaysUntilASettingChanges)
{
    const std::vector<std::vector<std::uint8_t>> damaged{
        {0x00, 0xff, 0x13, '[', 'm', 'a', 'p', 0x00, '=', '='},          // not text at all
        {'[', 'm', 'a', 'p', ']', '\n', 'z', 'o', 'o', 'm', '=', '8', '\n'}, // another program's file
        {},                                                                 // a file cut to nothing
    };
    for (const auto& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        QDir().mkpath(QFileInfo(Ini()).absolutePath());
        WriteBytes(Ini().toStdString(), bytes);
        m_prompts.openFileAnswer.clear(); // the file dialog is cancelled: nothing the user keeps changes
        testing::internal::CaptureStderr();
        Run([&] {
            EXPECT_EQ(Map()->View().Zoom(), 1);
            EXPECT_TRUE(Map()->View().m_bShowVehicles);
        });
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("cannot be read"), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(ReadBytes(Ini().toStdString()), bytes);

        Run([&] { Click(Button(kIdVehicles)); });
        EXPECT_FALSE(EditorSettings(Ini()).Damaged());
        EXPECT_EQ(EditorSettings(Ini()).Value(QStringLiteral("map/vehicles")), QVariant(false));
    }
}

TEST_F(SettingsTest, TwoEditorsAtOnceEachKeepTheirOwnChanges)
{
    EditorSettings first(Ini());
    EditorSettings second(Ini());
    first.SetValue(QStringLiteral("map/zoom"), 4);
    first.Flush();
    second.SetValue(QStringLiteral("map/ids"), true);
    second.SetValue(QStringLiteral("map/people"), false);
    second.Flush();
    first.SetValue(QStringLiteral("map/people"), true); // the last writer of a key wins
    first.Flush();
    const EditorSettings read(Ini());
    EXPECT_EQ(read.Value(QStringLiteral("map/zoom")).toInt(), 4);
    EXPECT_TRUE(read.Value(QStringLiteral("map/ids")).toBool());
    EXPECT_TRUE(read.Value(QStringLiteral("map/people")).toBool());
}

TEST_F(SettingsTest, RecentArchivesKeepTenTheNewestFirstAndTheirViewsGoWithThem)
{
    EditorSettings settings(Ini());
    // As the list keeps them: absolute, which on Windows adds the drive.
    const auto path = [](int i) { return QFileInfo(QStringLiteral("/games/%1/kqbase.pff").arg(i)).absoluteFilePath(); };
    for (int i = 0; i < 12; ++i) {
        settings.NoteArchive(path(i));
        settings.SetValue(EditorSettings::MissionKey(path(i), QStringLiteral("m01.bms")), QStringList{"1", "2", "3"});
    }
    settings.NoteArchive(path(5));
    QStringList expected{path(5)};
    for (int i = 11; i >= 2; --i)
        if (i != 5)
            expected.append(path(i));
    EXPECT_EQ(settings.RecentArchives(), expected);
    EXPECT_FALSE(settings.Value(EditorSettings::MissionKey(path(1), QStringLiteral("m01.bms"))).isValid());
    EXPECT_TRUE(settings.Value(EditorSettings::MissionKey(path(2), QStringLiteral("m01.bms"))).isValid());
}

TEST(WindowPlacementTest, AKeptWindowReturnsOnlyWhereAScreenHoldsIt)
{
    const QSize least(972, 609);
    const QRect main(0, 0, 1920, 1080), right(1920, 0, 1280, 1024);
    struct Case {
        const char* name;
        QRect saved;
        QList<QRect> screens;
        QRect placed;
    };
    const QRect centred(474, 235, 972, 609);
    const Case cases[] = {
        {"on the main screen", {100, 50, 1200, 800}, {main, right}, {100, 50, 1200, 800}},
        {"on the second screen", {2000, 40, 1000, 700}, {main, right}, {2000, 40, 1000, 700}},
        {"the second screen is gone", {2000, 40, 1000, 700}, {main}, centred},
        {"across two screens", {1500, 40, 1000, 700}, {main, right}, centred},
        {"never kept", {}, {main}, centred},
        {"smaller than the window can be", {10, 10, 300, 200}, {main}, centred},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EditorSettings::PlaceWindow(c.saved, c.screens, main, least), c.placed) << c.name;
}

} // namespace
} // namespace orvik::test
