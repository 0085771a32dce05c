// The dialog's editing conveniences: undo and redo, find, the window title, opening another
// archive, and a mission list that ignores the wheel until it has the focus.
#include "app/EditorDlg.h"

#include "app/ComboSortedList.h"
#include "app/FindField.h"
#include "app/QtText.h"
#include "check/ItemChecks.h"
#include "check/MissionDiff.h"
#include "common/Text.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "listedit/RowKeys.h"
#include "listedit/UndoKeys.h"
#include "mapwidget/MapWnd.h"
#include "OrvikVersion.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace orvik {

namespace {

const char* const kTitle = "Orvik Editor V" ORVIK_VERSION_MAJOR_MINOR;

} // namespace

void CEditorDlg::CreateEditingShortcuts()
{
    const auto shortcut = [this](const QKeySequence& keys, void (CEditorDlg::*handler)()) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, handler);
    };
    for (const QKeySequence& keys : UndoSequences())
        shortcut(keys, &CEditorDlg::OnUndo);
    for (const QKeySequence& keys : RedoSequences())
        shortcut(keys, &CEditorDlg::OnRedo);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), &CEditorDlg::OnFind);
    shortcut(QKeySequence(Qt::Key_F3), &CEditorDlg::OnFindNext);
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), &CEditorDlg::OnFindPrevious);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), &CEditorDlg::OnOpenArchive);
    // Window-wide, so that they work on the map's selection too; a line edit with the focus keeps
    // its own Ctrl+C, Ctrl+V and Ctrl+A.
    shortcut(CopyKeys(), &CEditorDlg::OnCopy);
    shortcut(PasteKeys(), &CEditorDlg::OnPaste);
    shortcut(FillDownKeys(), &CEditorDlg::OnFillDown);
    shortcut(SelectAllKeys(), &CEditorDlg::OnSelectAll);
    shortcut(MoveSelectionKeys(), &CEditorDlg::OnMoveSelection);
    connect(m_list, &CEditListCtrl::refused, this, [this](const QString& message) { m_prompts.Message(message); });
    connect(m_list, &CEditListCtrl::moveSelectionRequested, this, &CEditorDlg::OnMoveSelection);
    connect(m_list, &CEditListCtrl::copyChangesRequested, this, [this] { RunCommand([this] { OnCopyChanges(); }); });

    // The find field sits in the strip between the buttons and the table.
    const QRect table = m_list->geometry();
    m_find = new FindField(this);
    m_find->setObjectName(QStringLiteral("find"));
    m_find->setGeometry(table.left(), table.top() - 19, table.width(), 18);
    m_find->hide();
    connect(m_find, &QLineEdit::textEdited, this, [this] {
        FindFrom(m_list->currentIndex().isValid() ? m_list->currentIndex().row() : 0, true);
    });
    connect(m_find, &FindField::findNext, this, &CEditorDlg::OnFindNext);
    connect(m_find, &FindField::findPrevious, this, &CEditorDlg::OnFindPrevious);
    connect(m_find, &FindField::closed, this, [this] {
        m_find->hide();
        m_list->setFocus(Qt::OtherFocusReason);
    });

    // The wheel over the closed mission list changes nothing until the list has the focus.
    m_cbMission->setFocusPolicy(Qt::StrongFocus);
    m_cbMission->installEventFilter(this);

    m_docListener = m_document.Subscribe([this](const DocumentChange& change) {
        if (change.kind == DocumentChange::Kind::CleanState || change.kind == DocumentChange::Kind::Reset)
            UpdateTitle();
        // A load checks every row and takes the table's selection away without a word; a committed
        // edit, an undo or a redo checks the rows it changed.
        if (change.kind == DocumentChange::Kind::Reset) {
            m_nSelectedRows = 0;
            m_status->clear();
            ClearFilter();
            // A load made the findings of its rows already.
            std::unique_ptr<ItemFindings> ahead = std::move(m_findingsAhead);
            if (ahead && ahead->RowCount() == m_document.RowCount())
                ShowFindings(std::move(ahead));
            else
                RecheckAllRows();
        } else if (change.kind == DocumentChange::Kind::Cells) {
            RecheckRows(change.cells);
        }
    });
}

void CEditorDlg::RecheckAllRows()
{
    auto findings = std::make_unique<ItemFindings>(m_itemDefs, m_loadedMission ? m_loadedMission->name : std::string());
    findings->Reset(CheckedItemsOfRows(m_document.Rows(), m_model, m_itemDefs));
    ShowFindings(std::move(findings));
}

void CEditorDlg::ShowFindings(std::unique_ptr<ItemFindings> findings)
{
    // The table lets go of the old findings before they go.
    m_list->TableModel()->SetFindings(nullptr);
    m_findings = std::move(findings);
    m_list->TableModel()->SetFindings(m_findings.get());
}

void CEditorDlg::RecheckRows(const std::vector<CellRef>& cells)
{
    if (!m_findings || m_findings->RowCount() != m_document.RowCount()) {
        RecheckAllRows();
        return;
    }
    std::vector<std::size_t> rows;
    rows.reserve(cells.size());
    for (const CellRef& cell : cells)
        rows.push_back(cell.row);
    const std::vector<std::size_t> rechecked =
        orvik::RecheckRows(*m_findings, m_document.Rows(), std::move(rows), m_model, m_itemDefs);
    m_list->TableModel()->FindingsChanged(rechecked);
}

bool CEditorDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_cbMission && event->type() == QEvent::Wheel && !m_cbMission->hasFocus()) {
        event->ignore();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CEditorDlg::OnUndo() { m_list->Undo(); }

void CEditorDlg::OnRedo() { m_list->Redo(); }

void CEditorDlg::OnCopy() { m_list->CopySelection(); }

std::string CEditorDlg::UnsavedChangesTsv() const
{
    // As `orvik diff` names a mission: its entry name in lower case.
    const std::string mission = m_loadedMission ? FoldLower(m_loadedMission->name) : std::string();
    std::vector<Difference> differences;
    for (CellChange& change : m_document.Saved().Changes(TableRows()))
        differences.push_back(
            {DiffKind::Cell, mission, change.row, change.column, std::move(change.before), std::move(change.after)});
    return DifferencesTsv(differences);
}

void CEditorDlg::OnCopyChanges()
{
    m_list->EndEdit();
    QGuiApplication::clipboard()->setText(QString::fromStdString(UnsavedChangesTsv()));
}

void CEditorDlg::OnPaste()
{
    RunCommand([this] { m_list->PasteClipboard(); });
}

void CEditorDlg::OnFillDown() { m_list->FillDown(); }

void CEditorDlg::OnSelectAll() { m_list->SelectAllRows(); }

void CEditorDlg::OnFind()
{
    m_find->show();
    m_find->raise();
    m_find->setFocus(Qt::ShortcutFocusReason);
    m_find->selectAll();
}

void CEditorDlg::OnFindNext()
{
    const int current = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    FindFrom(current < 0 ? 0 : current + 1, true);
}

void CEditorDlg::OnFindPrevious()
{
    const int current = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    const int count = m_list->rowCount();
    if (count > 0)
        FindFrom(current <= 0 ? count - 1 : current - 1, false);
}

void CEditorDlg::FindFrom(int view, bool forward)
{
    const int count = m_list->rowCount();
    if (m_find->text().isEmpty() || count == 0)
        return;
    long found = -1;
    if (m_list->TableModel()->View().IsIdentity()) {
        found = m_document.FindRow(FromQt(m_find->text()), static_cast<std::size_t>(view), forward);
    } else {
        // In the order shown, over the rows shown.
        const std::string needle = FoldLower(FromQt(m_find->text()));
        int v = ((view % count) + count) % count;
        for (int step = 0; step < count && found < 0; ++step) {
            const std::size_t row = m_list->DocumentRow(v);
            if (Contains(FoldLower(m_document.Cell(row, kColItem)), needle))
                found = static_cast<long>(row);
            v = forward ? (v + 1) % count : (v + count - 1) % count;
        }
    }
    if (found < 0)
        return;
    // Rows stay where they are: the match is selected and scrolled into view.
    const int column = m_list->currentIndex().isValid() ? m_list->currentIndex().column() : 0;
    m_list->ShowCell(static_cast<int>(found), column);
}

void CEditorDlg::UpdateTitle()
{
    QString title = QString::fromLatin1(kTitle);
    if (m_nLoadedIndex >= 0) {
        title += QStringLiteral(" - ") + ToQt(MissionNameFromLine(FromQt(m_cbMission->itemText(m_nLoadedIndex))));
        if (!m_document.IsClean())
            title += QStringLiteral(" *");
    }
    setWindowTitle(title);
}

void CEditorDlg::OnOpenArchive()
{
    if (!ConfirmDiscard())
        return;
    RunCommand([this] {
        const std::string path = PathFromQt(m_prompts.OpenFile(OpenHint()));
        // A cancelled dialog leaves everything as it was.
        if (path.empty())
            return;
        StoreSettings(false);
        UnloadMission();
        m_strBasePath = path;
        {
            const QSignalBlocker blocker(m_cbMission);
            m_cbMission->clear();
        }
        LoadArchive();
        RememberArchive();
    });
}

} // namespace orvik
