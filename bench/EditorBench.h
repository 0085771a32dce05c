#pragma once
// What the editor's benchmarks share: a silent Prompts, the demo game and a game of large
// missions beside it (made once), the dialog shown offscreen, and the mission switch they time.
#include "app/EditorDlg.h"
#include "app/Prompts.h"
#include "common/Paths.h"
#include "edit/EditDocument.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QComboBox>

#include <optional>
#include <string>

namespace orvik::bench {

class SilentPrompts : public Prompts {
public:
    void Message(const QString&) override {}
    void FileErrorReport(const QString&) override {}
    bool AskYesNo(const QString&) override { return true; }
    QString OpenFile() override { return {}; }
    std::optional<MoveOffset> AskMoveOffset(const QString&) override { return std::nullopt; }
    RecoveryAnswer AskRecovery(const QString&) override { return RecoveryAnswer::Later; }
};

// The demo game, and beside it a game with the same terrain and catalogue whose kqbase.pff holds
// missions of 60,000 and 200,000 items (stacked on the demo's places), 200,000 items spread over
// the whole map, and a one-item mission.
struct Games {
    TempDir dir;
    std::string demoBase;
    std::string bigBase;
    Games();
};
Games& TheGames();

int LineOf(QComboBox* combo, const QString& start);
// The line of the mission with the most items.
int BiggestLine(CEditorDlg& dialog);

struct Editor {
    SilentPrompts prompts;
    CEditorDlg dialog;

    explicit Editor(const std::string& base) : dialog(prompts, base)
    {
        dialog.OnInitDialog();
        dialog.show();
        QApplication::processEvents();
    }
};

// The heap memory in use, in MiB: freed blocks that the allocator keeps for reuse do not count,
// so the figure does not depend on what was loaded before.
double HeapInUseMiB();

// Switching to a mission and away: each iteration times one of the two. mission: its entry name,
// or empty for the demo's biggest.
void SwitchBench(benchmark::State& state, const std::string& base, const char* mission, bool timeAway);

// One edit of X in rows far apart, its undo, or its redo (what 0, 1, 2): each iteration times one.
void TimeEditSteps(benchmark::State& state, EditDocument& document, int what);

} // namespace orvik::bench
