#pragma once
// Everything the editor asks of the user or tells the user goes through Prompts, so that the dialog
// can run under tests with a recording fake instead of real message boxes.
#include "edit/RowEdits.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace orvik {

// Where the open-file dialog starts: the folder, the file chosen in it (so that Enter opens it), and
// the recent archives to offer beside it.
struct OpenFileHint {
    QString folder;
    QString selected;
    QStringList recent;
};

// The answers to the offer of edits a recovery file kept.
enum class RecoveryAnswer { Restore, Discard, Later };

class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box with an OK button only.
    virtual void Message(const QString& text) = 0;
    // The file error report: stop icon, OK button only.
    virtual void FileErrorReport(const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(const QString& text) = 0;
    // The open-file dialog: no filter, no default extension, no initial name. The chosen path, or
    // "" when the user cancels.
    virtual QString OpenFile() = 0;
    // The same, started where hint says.
    virtual QString OpenFile(const OpenFileHint& hint)
    {
        (void)hint;
        return OpenFile();
    }
    // Asks how far to move the selected items: dX, dY and dZ in world units, with text saying what
    // moves. None when the user cancels.
    virtual std::optional<MoveOffset> AskMoveOffset(const QString& text) = 0;
    // Offers unsaved edits back: Restore (the default, Enter), Discard, or Later (asked again next
    // time).
    virtual RecoveryAnswer AskRecovery(const QString& text) = 0;
};

} // namespace orvik
