// Start-up: the order of the first prompts, the controls' places and states, and what happens when
// the file dialog is cancelled or the catalogue is missing.
#include "gui/EditorFixture.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"

#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace orvik::test {
namespace {

using Kind = PromptCall::Kind;

const QString kStartupText = QStringLiteral(
    "First, Find your Tarnhold \"kqbase.pff\". \nIf You haven't backed it up yet, please make a backup of BOTH "
    "kqbase.pff AND kq.pff NOW!!\n\nNOTE: items.def should be in the same directory!!!");

TEST_F(EditorTest, StartupAsksBeforeTheWindowAppearsAndFillsTheList)
{
    m_dialog = std::make_unique<CEditorDlg>(m_prompts);
    std::vector<bool> visibleAtPrompt;
    m_prompts.onCall = [&](const PromptCall&) { visibleAtPrompt.push_back(m_dialog->isVisible()); };
    bool shownWithList = false;
    QTimer::singleShot(0, m_dialog.get(), [&] {
        shownWithList = m_dialog->isVisible() && m_dialog->MissionCombo()->count() == 4;
        m_dialog->done(0);
    });
    m_dialog->DoModal();

    ASSERT_EQ(m_prompts.calls.size(), 2u);
    EXPECT_EQ(m_prompts.calls[0].kind, Kind::Message);
    EXPECT_EQ(m_prompts.calls[0].text, kStartupText);
    EXPECT_EQ(m_prompts.calls[1].kind, Kind::OpenFile);
    EXPECT_EQ(visibleAtPrompt, (std::vector<bool>{false, false}));
    EXPECT_TRUE(shownWithList);
    EXPECT_EQ(m_dialog->BasePath(), m_game->basePath);
    EXPECT_EQ(m_dialog->Catalogue().Size(), 7u);
}

TEST_F(EditorTest, MissionListIsSortedWithOffsetsAndNothingChosen)
{
    Start();
    QComboBox* combo = m_dialog->MissionCombo();
    ASSERT_EQ(combo->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(combo->itemText(i).toStdString(), m_game->missions[static_cast<std::size_t>(i)].line);
        EXPECT_EQ(combo->itemData(i).toUInt(), m_game->missions[static_cast<std::size_t>(i)].offset);
    }
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(Table()->rowCount(), 0);
    EXPECT_TRUE(m_prompts.Texts(Kind::FileErrorReport).empty());
}

TEST_F(EditorTest, InitialStatesOfButtonsFiltersAndTable)
{
    Start();
    for (const int id : {kIdSave, kIdGetMissionFiles, kIdRefreshMap})
        EXPECT_FALSE(Button(id)->isEnabled()) << id;
    for (const int id : {kIdPeople, kIdBuildings, kIdDecorations, kIdVehicles, kIdMarkers, kIdObjects})
        EXPECT_TRUE(Button(id)->isChecked()) << id;
    EXPECT_FALSE(Button(kIdIds)->isChecked());
    const MapView& view = Map()->View();
    EXPECT_TRUE(view.m_bShowPeople && view.m_bShowBuildings && view.m_bShowDecorations && view.m_bShowVehicles &&
                view.m_bShowMarkers && view.m_bShowObjects);
    EXPECT_FALSE(view.m_bShowIds);

    EXPECT_EQ(Button(kIdSave)->text(), "Save");
    EXPECT_EQ(Button(kIdGetMissionFiles)->text(), "Get Mission Files");
    EXPECT_EQ(Button(kIdRefreshMap)->text(), "Refresh Map");
    const std::pair<int, const char*> filters[] = {{kIdPeople, "People"},           {kIdBuildings, "Buildings"},
                                                   {kIdDecorations, "Decorations"}, {kIdVehicles, "Vehicles"},
                                                   {kIdMarkers, "Markers"},         {kIdObjects, "Objects"}};
    for (const auto& [id, name] : filters)
        EXPECT_EQ(Button(id)->text(), name);
    EXPECT_EQ(Button(kIdIds)->text(), "IDs");
    EXPECT_EQ(m_dialog->windowTitle(), "Orvik Editor V1.5");
    EXPECT_FALSE(m_dialog->windowIcon().isNull());

    ASSERT_EQ(Table()->columnCount(), 7);
    const char* titles[] = {"Item", "X Position", "Y Position", "Z Position", "Angle", "ID", "MP Only"};
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(Table()->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        EXPECT_EQ(Table()->columnWidth(c), 75);
    }
    QLineEdit* coord = Control<QLineEdit>(kIdCoord);
    ASSERT_NE(coord, nullptr);
    EXPECT_FALSE(coord->isEnabled());
    EXPECT_TRUE(Control<QComboBox>(kIdMission) != nullptr && !Control<QComboBox>(kIdMission)->isEditable());
}

TEST_F(EditorTest, ControlsSitAtTheirDialogUnitPlaces)
{
    Start();
    EXPECT_EQ(m_dialog->size(), QSize(972, 609));
    EXPECT_EQ(Map()->objectName(), ControlName(kIdMap));
    EXPECT_EQ(Map()->geometry(), QRect(10, 50, 512, 512));
    EXPECT_EQ(Map()->contentsRect(), QRect(1, 1, 510, 510));
    // Edges converted one by one: x * 6 / 4 and y * 13 / 8, halves rounded up.
    EXPECT_EQ(Control(kIdItemTable)->geometry(), QRect(QPoint(533, 50), QPoint(961, 600)));
    const QRect combo = Control(kIdMission)->geometry();
    EXPECT_EQ(combo.topLeft(), QPoint(11, 11));
    EXPECT_EQ(combo.width(), 240);
    EXPECT_EQ(Control(kIdSave)->geometry(), QRect(QPoint(897, 11), QPoint(961, 30)));
    EXPECT_EQ(Control(kIdGetMissionFiles)->geometry(), QRect(QPoint(566, 11), QPoint(703, 30)));
    EXPECT_EQ(Control(kIdRefreshMap)->geometry(), QRect(QPoint(731, 11), QPoint(868, 30)));
    EXPECT_EQ(Control(kIdCoord)->geometry(), QRect(QPoint(260, 11), QPoint(518, 30)));
    EXPECT_EQ(Control(kIdPeople)->geometry(), QRect(QPoint(20, 583), QPoint(74, 597)));
    EXPECT_EQ(Control(kIdIds)->geometry(), QRect(QPoint(456, 583), QPoint(515, 597)));
    EXPECT_EQ(m_dialog->findChild<QGroupBox*>()->geometry(), QRect(QPoint(11, 567), QPoint(517, 600)));
}

// The names are the ids as text, which the screenshot run and scripts rely on; each names exactly one
// control, of the kind the id stands for.
TEST_F(EditorTest, EachControlIdNamesOneControlOfItsKind)
{
    Start();
    struct Case {
        int id;
        const char* name;
        const char* kind;
    };
    const Case cases[] = {
        {kIdMission, "1006", "QComboBox"},      {kIdItemTable, "1007", "orvik::CEditListCtrl"},
        {kIdSave, "1008", "QPushButton"},       {kIdGetMissionFiles, "1009", "QPushButton"},
        {kIdRefreshMap, "1010", "QPushButton"}, {kIdPeople, "1011", "QRadioButton"},
        {kIdBuildings, "1012", "QRadioButton"}, {kIdDecorations, "1013", "QRadioButton"},
        {kIdVehicles, "1014", "QRadioButton"},  {kIdMarkers, "1015", "QRadioButton"},
        {kIdObjects, "1016", "QRadioButton"},   {kIdCoord, "1017", "QLineEdit"},
        {kIdIds, "1018", "QRadioButton"},       {kIdMap, "65535", "orvik::CMapWnd"},
    };
    ASSERT_EQ(std::size(cases), kControlIds.size());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kControlIds[i], c.id);
        EXPECT_EQ(ControlName(c.id), c.name);
        const QList<QWidget*> found = m_dialog->findChildren<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_EQ(found.size(), 1);
        EXPECT_TRUE(found[0]->inherits(c.kind)) << found[0]->metaObject()->className();
        EXPECT_EQ(found[0], Control(c.id));
    }
    EXPECT_EQ(Control(kIdItemTable), Table());
    EXPECT_EQ(Control(kIdMap), Map());
    EXPECT_EQ(Control(kIdMission), m_dialog->MissionCombo());
}

TEST_F(EditorTest, TabOrderSkipsTheFilters)
{
    Start();
    std::vector<QString> chain;
    QWidget* w = Control(kIdMission);
    for (int i = 0; i < 5; ++i) {
        chain.push_back(w->objectName());
        w = w->nextInFocusChain();
        while (w && !(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
    }
    EXPECT_EQ(chain, (std::vector<QString>{ControlName(kIdMission), ControlName(kIdItemTable), ControlName(kIdSave),
                                           ControlName(kIdGetMissionFiles), ControlName(kIdRefreshMap)}));
    for (const int id : {kIdPeople, kIdBuildings, kIdDecorations, kIdVehicles, kIdMarkers, kIdObjects, kIdIds})
        EXPECT_FALSE(Control(id)->focusPolicy() & Qt::TabFocus) << id;
}

class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& dir) : m_old(QDir::currentPath())
    {
        QDir::setCurrent(QString::fromStdString(dir));
    }
    ~CurrentFolder() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};

TEST_F(EditorTest, CancelledFileDialogReportsAndStillReadsTheCatalogueHere)
{
    ScratchDir here;
    WriteBytes(here.File("items.def"), ReadBytes(m_game->dir + "items.def"));
    CurrentFolder cd(here.Path());
    m_prompts.openFileAnswer.clear();
    Start();

    EXPECT_EQ(m_dialog->BasePath(), "");
    EXPECT_EQ(m_dialog->Catalogue().Size(), 7u);
    EXPECT_EQ(m_prompts.Texts(Kind::FileErrorReport), (std::vector<QString>{"an unnamed file was not found."}));
    EXPECT_EQ(m_dialog->MissionCombo()->count(), 0);
    // The catalogue was found, so nothing else was said.
    EXPECT_EQ(m_prompts.Texts(Kind::Message).size(), 1u);
    EXPECT_TRUE(m_dialog->isVisible());
}

TEST_F(EditorTest, MissingCatalogueIsReportedOnceAndTheListStillFills)
{
    ScratchDir bare;
    m_game = std::make_unique<TestGame>(bare.Path(), false);
    m_prompts.openFileAnswer = QString::fromStdString(m_game->basePath);
    Start();

    const auto messages = m_prompts.Texts(Kind::Message);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], QString::fromStdString("items.def was not found in " + bare.Path() + "."));
    EXPECT_EQ(m_dialog->Catalogue().Size(), 0u);
    EXPECT_EQ(m_dialog->MissionCombo()->count(), 4);

    // Items without names are still listed.
    Choose(1);
    ASSERT_EQ(Table()->rowCount(), 5);
    EXPECT_EQ(Table()->GetItemText(0, 0), "");
}

TEST_F(EditorTest, BaseArgumentSkipsTheStartupPrompts)
{
    m_dialog = std::make_unique<CEditorDlg>(m_prompts, m_game->basePath);
    m_dialog->OnInitDialog();
    EXPECT_TRUE(m_prompts.calls.empty());
    EXPECT_EQ(m_dialog->MissionCombo()->count(), 4);
    EXPECT_EQ(m_dialog->Catalogue().Size(), 7u);
}

TEST_F(EditorTest, EscapeAndCloseBoxEndTheEditorWithoutEdits)
{
    Start();
    QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);

    m_dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    EXPECT_TRUE(m_dialog->close());
    EXPECT_FALSE(m_dialog->isVisible());

    m_dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    Control(kIdMission)->setFocus();
    QTest::keyClick(Control(kIdMission), Qt::Key_Return);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(m_prompts.Texts(Kind::Question).empty());
}

} // namespace
} // namespace orvik::test
