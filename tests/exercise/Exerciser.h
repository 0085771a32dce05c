#pragma once
// A tireless user: random actions on the real dialog, through the keys and the mouse, with the
// editor's promises checked after each one.
#include "exercise/ExerciseGame.h"
#include "exercise/Promises.h"
#include "exercise/ScriptedPrompts.h"

#include <QPoint>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>

namespace orvik::exercise {

enum class Act {
    Choose,      // another line of the mission list
    TypeCell,    // open a cell, type, end with Enter, Escape, Tab or a click elsewhere
    Undo,
    Redo,
    Find,        // Ctrl+F, a text, then Enter, F3, Shift+F3 or Escape
    ClickMarker, // with or without Ctrl
    DragMarker,  // released, or cancelled with Escape
    Pan,
    Zoom,
    TableKeys,   // arrows, Home, End, Page Down in the table
    Refresh,
    Filter,
    Save,
    Reopen,      // Ctrl+O, the same archive again
    Close,       // Escape on the dialog; when it closes, the editor starts again
    DiskSave,    // another save of a mission behind the editor, as `orvik save` does
    Repack,      // another program rewrites the archive and the missions move
    UndoRedoAll, // every step undone, then redone
    ManyRows,    // select rows, copy, paste, fill down, Move Selection, or move with the arrows on the map
    Kill,        // SIGKILL a second or more after the last edit; the next worker starts the editor again
    SortFilter,  // a click on a column's title, a filter typed (readable or not), the map's only-filtered switch
    Count
};

// One action: what, and the random numbers its handler reads as it needs them. The same seed
// gives the same actions; what each one meets depends on the ones before.
struct Action {
    Act act = Act::Undo;
    std::array<std::uint32_t, 4> p{};
    std::uint32_t answers = 0; // bit i answers the i-th question or file dialog of the action
};

// What a worker says, as the last line of its log, just before it kills itself: the supervisor then
// starts a worker that resumes after that step.
inline constexpr const char* kKillSaid = "KILL -9 now";

class ActionSource {
public:
    explicit ActionSource(std::uint64_t seed) : m_rng(seed) {}
    Action Next();

private:
    std::mt19937_64 m_rng;
};

class Session {
public:
    // Writes the game into dir (ending with '/') and opens the dialog on it. say gets each
    // action's description as it starts. After a kill, killed is the kill's action: the game in
    // dir is the killed worker's, the offer of its edits is answered from the action's bits, and
    // what it left is checked.
    Session(const std::string& dir, std::function<void(const std::string&)> say,
            const std::optional<Action>& killed = std::nullopt);
    ~Session();

    // Performs the action and checks every promise; throws Broken.
    void Perform(const Action& action);
    // Undoes every step, then redoes them all, checking the rows at both ends.
    void UndoRedoAll();
    void ManyRows(const Action& a);

private:
    void Start(std::uint32_t answers = ~0u);
    void Stop();
    void Say(const std::string& text);
    void Settle();

    // The handlers, one per Act.
    void Choose(const Action& a);
    void TypeCell(const Action& a);
    void Keys(int key, Qt::KeyboardModifiers modifiers, const std::string& what);
    void Find(const Action& a);
    void ClickMarker(const Action& a);
    void DragMarker(const Action& a);
    void Pan(const Action& a);
    void Zoom(const Action& a);
    void TableKeys(const Action& a);
    void SortFilter(const Action& a);
    void ClickButton(int id, const std::string& what);
    void Save();
    void Close();
    void DiskSave(const Action& a);
    void Repack(const Action& a);
    [[noreturn]] void Kill(const Action& a);
    void CheckResumed();
    void FollowCleanRows();

    // Helpers of the handlers.
    QPoint CellPoint(int row, int column);
    void ClickCell(int row, int column);
    std::string CellText(std::uint32_t pick) const;
    QWidget* FocusWidget() const;
    // Picks a row's marker and says what is done to it; its widget point, none when there is no
    // marker or it is off the map.
    std::optional<QPoint> AimAtMarker(std::uint32_t pick, const std::string& what, const std::string& how);

    ExerciseGame m_game;
    ScriptedPrompts m_prompts;
    std::unique_ptr<CEditorDlg> m_dialog;
    Promises m_promises;
    std::function<void(const std::string&)> m_say;
    // The rows at the document's last clean mark (load, save, undo back to it): the rows that differ
    // from them are the unsaved edits.
    std::vector<ItemRow> m_cleanRows;
    int m_cleanListener = 0;
};

} // namespace orvik::exercise
