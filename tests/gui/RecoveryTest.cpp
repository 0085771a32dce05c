// Unsaved edits kept in a recovery file and offered back by the next editor on the same archive.
#include "gui/EditorFixture.h"

#include "common/File.h"
#include "common/NativePath.h"
#include "session/RecoveryFolder.h"
#include "userdata/UserFolders.h"

#include <QApplication>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace orvik::test {

namespace {

using Kind = PromptCall::Kind;
namespace fs = std::filesystem;

std::vector<std::string> RecoveryFiles()
{
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::directory_iterator it(PathFromUtf8(RecoveryFolder()), ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == kRecoveryExtension)
            files.push_back(PathToUtf8(it->path()));
    return files;
}

class RecoveryTest : public EditorTest {
protected:
    // Three edits to bravo, on disk; then the editor ends as a crash would end it, without a word.
    void EditAndCrash()
    {
        Start();
        Choose(1);
        Edit(0, kColX, "111");
        Edit(2, kColY, "-222");
        Edit(4, kColItem, "Crate");
        m_dialog->Session().FlushRecovery();
        m_dialog.reset();
        m_prompts.Clear();
    }
    std::int32_t Word(int item, int word) const { return RecordWord(m_game->basePath, m_game->Bravo().offset, item, word); }
    void ExpectEdited()
    {
        EXPECT_EQ(m_dialog->Document().Cell(0, kColX), "111");
        EXPECT_EQ(m_dialog->Document().Cell(2, kColY), "-222");
        EXPECT_EQ(m_dialog->Document().Cell(4, kColItem), "Crate");
    }
};

TEST_F(RecoveryTest, EditsOfAnEditorThatDiedAreRestoredAsOneStepAndReachTheArchiveOnlyBySave)
{
    EditAndCrash();
    const std::vector<std::uint8_t> before = ReadBytes(m_game->basePath);
    ASSERT_EQ(RecoveryFiles().size(), 1u);
    m_prompts.recoveryAnswers = {RecoveryAnswer::Restore};
    Start();
    const auto offers = m_prompts.Texts(Kind::Recovery);
    ASSERT_EQ(offers.size(), 1u);
    EXPECT_TRUE(offers[0].contains("bravo.bms") && offers[0].contains("3 row(s) changed")) << offers[0].toStdString();
    ExpectEdited();
    EXPECT_TRUE(m_dialog->windowTitle().endsWith(" *"));
    EXPECT_EQ(ReadBytes(m_game->basePath), before);

    // One undo takes the whole restore back; redo brings it again.
    m_dialog->OnUndo();
    EXPECT_TRUE(m_dialog->Document().IsClean());
    m_dialog->OnRedo();
    ExpectEdited();

    Click(Button(kIdSave));
    EXPECT_EQ(Word(0, 5), 111);
    EXPECT_EQ(Word(2, 6), -222);
    EXPECT_EQ(Word(4, 1), kCrate);
    EXPECT_EQ(Word(1, 5), m_game->Bravo().items[1].m_nX);
    m_dialog->Session().FlushRecovery();
    EXPECT_TRUE(RecoveryFiles().empty());
}

TEST_F(RecoveryTest, DiscardAndLaterDecideWhetherTheOfferComesAgain)
{
    const struct {
        RecoveryAnswer answer;
        std::size_t offersNextTime;
    } cases[] = {{RecoveryAnswer::Later, 1}, {RecoveryAnswer::Discard, 0}};
    for (const auto& c : cases) {
        EditAndCrash();
        const std::vector<std::uint8_t> before = ReadBytes(m_game->basePath);
        m_prompts.recoveryAnswers = {c.answer};
        Start();
        EXPECT_TRUE(m_dialog->Document().IsClean());
        EXPECT_EQ(ReadBytes(m_game->basePath), before);
        m_dialog.reset();
        m_prompts.Clear();
        Start();
        EXPECT_EQ(m_prompts.Texts(Kind::Recovery).size(), c.offersNextTime);
        m_dialog.reset();
        std::error_code ec;
        fs::remove_all(PathFromUtf8(RecoveryFolder()), ec);
    }
}

TEST_F(RecoveryTest, AFileARunningEditorHoldsIsNotOffered)
{
    Start();
    Choose(1);
    Edit(0, kColX, "111");
    m_dialog->Session().FlushRecovery();
    RecordingPrompts otherPrompts;
    otherPrompts.openFileAnswer = QString::fromStdString(m_game->basePath);
    CEditorDlg other(otherPrompts);
    other.OnInitDialog();
    EXPECT_TRUE(otherPrompts.Texts(Kind::Recovery).empty());
    // The start-up message only.
    EXPECT_EQ(otherPrompts.Texts(Kind::Message).size(), 1u);
}

TEST_F(RecoveryTest, RecordsChangedOnDiskSinceTheEditsAskASecondTime)
{
    for (const bool secondYes : {false, true}) {
        EditAndCrash();
        // Another program saved the mission in between.
        {
            File archive(m_game->basePath, File::Mode::ReadWrite);
            archive.Seek(m_game->Bravo().offset + 264 + 96 + 5 * 4);
            archive.WriteInt32(secondYes ? 778 : 777);
        }
        m_prompts.recoveryAnswers = {RecoveryAnswer::Restore};
        m_prompts.answers = {secondYes};
        Start();
        const auto questions = m_prompts.Texts(Kind::Question);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_TRUE(questions[0].contains("not the ones the edits were made on")) << questions[0].toStdString();
        EXPECT_EQ(m_dialog->Document().IsClean(), !secondYes);
        EXPECT_EQ(m_dialog->Document().Cell(1, kColX), secondYes ? "778" : "777");
        if (secondYes)
            ExpectEdited();
        m_dialog->Session().FlushRecovery();
        // Refused, the file stays for another time; taken, this editor's own file holds the edits.
        EXPECT_EQ(RecoveryFiles().size(), 1u);
        m_dialog.reset();
        std::error_code ec;
        fs::remove_all(PathFromUtf8(RecoveryFolder()), ec);
    }
}

TEST_F(RecoveryTest, DamagedOtherVersionAndOrphanedFilesGetALineEachAndStay)
{
    fs::create_directories(PathFromUtf8(RecoveryFolder()));
    const std::string dir = RecoveryFolder() + "/";
    WriteBytes(dir + "damaged.orvr", std::vector<std::uint8_t>{'o', 'r', 'v', '\n'});
    std::ofstream(PathFromUtf8(dir + "newer.orvr"), std::ios::binary) << "orvik-recovery\t99\nwhatever comes later\n";
    RecoveryHeader gone;
    gone.archivePath = m_scratch.Path() + "elsewhere/kqbase.pff";
    gone.missionName = "lost.bms";
    gone.rowCount = 3;
    WriteRecoveryFile(dir + "orphan.orvr", gone, 0, {{1, ItemRow{"Crate", "1", "2", "3", "0", "9", "N"}}});

    Start();
    // After the start-up message, one.
    const auto messages = m_prompts.Texts(Kind::Message);
    ASSERT_EQ(messages.size(), 2u);
    const QStringList lines = messages[1].split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines.filter("damaged.orvr").filter("damaged").size() == 1) << messages[1].toStdString();
    EXPECT_TRUE(lines.filter("newer.orvr").filter("another version").size() == 1) << messages[1].toStdString();
    EXPECT_TRUE(lines.filter("orphan.orvr").filter("no longer there").size() == 1) << messages[1].toStdString();
    EXPECT_TRUE(m_prompts.Texts(Kind::Recovery).empty());
    EXPECT_EQ(RecoveryFiles().size(), 3u);
}

TEST_F(RecoveryTest, TheFileGoesAtTheCleanMark)
{
    for (const char* way : {"undo", "edit back", "save", "discard at close"}) {
        Start();
        Choose(1);
        Edit(0, kColX, QString::fromLatin1(way).toUpper());
        m_dialog->Session().FlushRecovery();
        ASSERT_EQ(RecoveryFiles().size(), 1u) << way;
        const std::string back = way;
        if (back == "undo") {
            m_dialog->OnUndo();
        } else if (back == "edit back") {
            Edit(0, kColX, QString::number(m_game->Bravo().items[0].m_nX));
        } else if (back == "save") {
            Click(Button(kIdSave));
        } else {
            m_prompts.answers = {true};
            m_dialog->reject();
        }
        m_dialog->Session().FlushRecovery();
        EXPECT_TRUE(RecoveryFiles().empty()) << way;
        m_dialog.reset();
    }
}

} // namespace

} // namespace orvik::test
