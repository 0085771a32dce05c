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
    for (const char* id : {"1008", "1009", "1010"})
        EXPECT_FALSE(Button(id)->isEnabled()) << id;
    for (const char* id : {"1011", "1012", "1013", "1014", "1015", "1016"})
        EXPECT_TRUE(Button(id)->isChecked()) << id;
    EXPECT_FALSE(Button("1018")->isChecked());
    const MapView& view = Map()->View();
    EXPECT_TRUE(view.m_bShowPeople && view.m_bShowBuildings && view.m_bShowDecorations && view.m_bShowVehicles &&
                view.m_bShowMarkers && view.m_bShowObjects);
    EXPECT_FALSE(view.m_bShowIds);

    EXPECT_EQ(Button("1008")->text(), "Save");
    EXPECT_EQ(Button("1009")->text(), "Get Mission Files");
    EXPECT_EQ(Button("1010")->text(), "Refresh Map");
    const char* names[] = {"People", "Buildings", "Decorations", "Vehicles", "Markers", "Objects"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Button(QByteArray::number(1011 + i).constData())->text(), names[i]);
    EXPECT_EQ(Button("1018")->text(), "IDs");
    EXPECT_EQ(m_dialog->windowTitle(), "Orvik Editor V1.5");
    EXPECT_FALSE(m_dialog->windowIcon().isNull());

    ASSERT_EQ(Table()->columnCount(), 7);
    const char* titles[] = {"Item", "X Position", "Y Position", "Z Position", "Angle", "ID", "MP Only"};
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(Table()->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        EXPECT_EQ(Table()->columnWidth(c), 75);
    }
    QLineEdit* coord = Control<QLineEdit>("1017");
    ASSERT_NE(coord, nullptr);
    EXPECT_FALSE(coord->isEnabled());
    EXPECT_TRUE(Control<QComboBox>("1006") != nullptr && !Control<QComboBox>("1006")->isEditable());
}

TEST_F(EditorTest, ControlsSitAtTheirDialogUnitPlaces)
{
    Start();
    EXPECT_EQ(m_dialog->size(), QSize(972, 609));
    EXPECT_EQ(Map()->objectName(), "65535");
    EXPECT_EQ(Map()->geometry(), QRect(10, 50, 512, 512));
    EXPECT_EQ(Map()->contentsRect(), QRect(1, 1, 510, 510));
    // Edges converted one by one: x * 6 / 4 and y * 13 / 8, halves rounded up.
    EXPECT_EQ(Control("1007")->geometry(), QRect(QPoint(533, 50), QPoint(961, 600)));
    const QRect combo = Control("1006")->geometry();
    EXPECT_EQ(combo.topLeft(), QPoint(11, 11));
    EXPECT_EQ(combo.width(), 240);
    EXPECT_EQ(Control("1008")->geometry(), QRect(QPoint(897, 11), QPoint(961, 30)));
    EXPECT_EQ(Control("1009")->geometry(), QRect(QPoint(566, 11), QPoint(703, 30)));
    EXPECT_EQ(Control("1010")->geometry(), QRect(QPoint(731, 11), QPoint(868, 30)));
    EXPECT_EQ(Control("1017")->geometry(), QRect(QPoint(260, 11), QPoint(518, 30)));
    EXPECT_EQ(Control("1011")->geometry(), QRect(QPoint(20, 583), QPoint(74, 597)));
    EXPECT_EQ(Control("1018")->geometry(), QRect(QPoint(456, 583), QPoint(515, 597)));
    EXPECT_EQ(m_dialog->findChild<QGroupBox*>()->geometry(), QRect(QPoint(11, 567), QPoint(517, 600)));
}

TEST_F(EditorTest, TabOrderSkipsTheFilters)
{
    Start();
    std::vector<QString> chain;
    QWidget* w = Control("1006");
    for (int i = 0; i < 5; ++i) {
        chain.push_back(w->objectName());
        w = w->nextInFocusChain();
        while (w && !(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
    }
    EXPECT_EQ(chain, (std::vector<QString>{"1006", "1007", "1008", "1009", "1010"}));
    for (const char* id : {"1011", "1012", "1013", "1014", "1015", "1016", "1018"})
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
    Control("1006")->setFocus();
    QTest::keyClick(Control("1006"), Qt::Key_Return);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(m_prompts.Texts(Kind::Question).empty());
}

} // namespace
} // namespace orvik::test
