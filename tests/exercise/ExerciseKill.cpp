// The kill: the worker writes down the unsaved edits, lets a second and a bit pass, and ends itself
// with SIGKILL. The worker the supervisor starts next opens the same game, answers the offer of
// those edits at random, and checks that a Restore brought every one of them back.
#include "exercise/Exerciser.h"

#include "session/RecoveryFolder.h"
#include "support/Process.h"
#include "userdata/UserFolders.h"

#include <QApplication>

#include <chrono>
#include <fstream>
#include <thread>

namespace orvik::exercise {

namespace {

// What the killed worker left for the next one: the mission, and its unsaved rows by index.
struct KillNote {
    std::string mission;
    std::vector<std::pair<std::size_t, ItemRow>> unsaved;
};

std::string NotePath(const std::string& dir) { return dir + "killed-edits"; }

// Cells as length:bytes, so that no text can be taken for a separator.
void WriteNote(const std::string& path, const KillNote& note)
{
    std::ofstream out(path, std::ios::binary);
    out << note.mission.size() << ':' << note.mission << '\n';
    for (const auto& [row, cells] : note.unsaved) {
        out << row;
        for (const std::string& cell : cells)
            out << ' ' << cell.size() << ':' << cell;
        out << '\n';
    }
    out.flush();
    Require(out.good(), "the note of the unsaved edits could not be written");
}

bool ReadText(std::istream& in, std::string& text)
{
    std::size_t size = 0;
    char colon = 0;
    if (!(in >> size) || !in.get(colon) || colon != ':')
        return false;
    text.resize(size);
    return static_cast<bool>(in.read(text.data(), static_cast<std::streamsize>(size)));
}

std::optional<KillNote> ReadNote(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    KillNote note;
    if (!ReadText(in, note.mission))
        return std::nullopt;
    for (std::size_t row; in >> row;) {
        ItemRow cells;
        for (std::string& cell : cells)
            Require(ReadText(in, cell), "the note of the unsaved edits is damaged");
        note.unsaved.emplace_back(row, std::move(cells));
    }
    return note;
}

} // namespace

void Session::FollowCleanRows()
{
    EditDocument& document = m_dialog->Session().Document();
    m_cleanRows = document.Rows();
    m_cleanListener = document.Subscribe([this, &document](const DocumentChange& change) {
        const bool cleanNow = change.kind == DocumentChange::Kind::CleanState && document.IsClean();
        if (change.kind == DocumentChange::Kind::Reset || cleanNow)
            m_cleanRows = document.Rows();
    });
}

void Session::Kill(const Action& a)
{
    const EditDocument& document = m_dialog->Document();
    KillNote note;
    note.mission = LoadedMissionName(*m_dialog);
    for (std::size_t row = 0; row < document.RowCount(); ++row)
        if (row >= m_cleanRows.size() || document.Rows()[row] != m_cleanRows[row])
            note.unsaved.emplace_back(row, document.Rows()[row]);
    WriteNote(NotePath(m_game.dir), note);
    // Files that other kills left would be offered first; only this editor's edits are checked.
    for (const RecoveryEntry& entry : ListRecoveryFiles(RecoveryFolder()))
        if (!entry.live)
            RemoveRecoveryFile(entry.path);
    const int ms = 1000 + static_cast<int>(a.p[0] % 500);
    Say(std::to_string(note.unsaved.size()) + " unsaved row(s) of " + (note.mission.empty() ? "no mission" : note.mission) +
        "; kill -9 in " + std::to_string(ms) + " ms");
    // The event loop stands still, as a hung editor's would: the recovery file is written off it.
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    Say(kKillSaid);
    test::KillThisProcess();
}

void Session::CheckResumed()
{
    const std::optional<KillNote> note = ReadNote(NotePath(m_game.dir));
    Require(note.has_value(), "the killed worker left no note of its edits");
    std::remove(NotePath(m_game.dir).c_str());
    const std::vector<RecoveryAnswer>& answers = m_prompts.recoveryAnswers;
    if (note->unsaved.empty())
        return;
    Require(!answers.empty(), std::to_string(note->unsaved.size()) + " unsaved row(s) of " + note->mission +
                                  " were not offered back after the kill");
    Say(answers.front() == RecoveryAnswer::Restore   ? "answer Restore"
        : answers.front() == RecoveryAnswer::Discard ? "answer Discard"
                                                     : "answer Later");
    // Records changed behind the editor before the kill: the restore asked again, and what the
    // rows hold then depends on the other program's save.
    if (m_prompts.Said(QStringLiteral("not the ones the edits were made on")))
        return;
    const EditDocument& document = m_dialog->Document();
    switch (answers.front()) {
    case RecoveryAnswer::Restore:
        Require(LoadedMissionName(*m_dialog) == note->mission, "Restore loaded another mission than " + note->mission);
        Require(!document.IsClean(), "after Restore the document is at its clean mark");
        for (const auto& [row, cells] : note->unsaved) {
            Require(row < document.RowCount(), "after Restore the table has no row " + std::to_string(row + 1));
            RequireRows({document.Rows()[row]}, {cells}, "row " + std::to_string(row + 1) + " after Restore");
        }
        break;
    case RecoveryAnswer::Discard:
        Require(document.IsClean(), "after Discard the document holds edits");
        for (const RecoveryEntry& entry : ListRecoveryFiles(RecoveryFolder()))
            Require(entry.live, "after Discard the recovery file " + entry.path + " is still there");
        break;
    case RecoveryAnswer::Later: {
        Require(document.IsClean(), "after Later the document holds edits");
        bool kept = false;
        for (const RecoveryEntry& entry : ListRecoveryFiles(RecoveryFolder()))
            kept = kept || !entry.live;
        Require(kept, "after Later the recovery file is gone");
        break;
    }
    }
}

} // namespace orvik::exercise
