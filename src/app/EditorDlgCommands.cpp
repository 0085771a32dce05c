// The dialog's command handlers: thin callers of the core's load, save, refresh and export.
#include "app/EditorDlg.h"

#include "app/ComboSortedList.h"
#include "app/FilterButton.h"
#include "app/QtText.h"
#include "archive/MissionExport.h"
#include "check/ItemChecks.h"
#include "common/File.h"
#include "common/FileError.h"
#include "edit/DocumentRows.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "mapwidget/MapWnd.h"

#include <QComboBox>
#include <QPushButton>

#include <future>

#include <set>

namespace orvik {

void CEditorDlg::OnSelchangeMission()
{
    const int index = m_cbMission->currentIndex();
    if (index < 0)
        return;
    ReleaseMission();
    m_nLoadedIndex = index;
    UpdateTitle();
    m_btnGetMissionFiles->setEnabled(true);
    m_btnSave->setEnabled(true);
    m_btnRefreshMap->setEnabled(true);

    SettleInterruptedSave();
    const std::uint32_t offset = SelectedMissionOffset();
    // The entry itself, not only its offset: the records are read inside it, and a save later
    // checks that it is still there.
    const std::string name = MissionNameFromLine(FromQt(m_cbMission->currentText()));
    m_loadedMission = FindMissionEntry(m_strBasePath, offset, name);
    if (!m_loadedMission) {
        // The list is older than the archive: show nothing rather than bytes of another file.
        UnloadMission();
        FillMissionList();
        throw UserError("The archive changed since its mission list was read: " + name +
                        " is no longer where the list said. The list was read again; choose the mission again.");
    }
    const LoadReport report = m_session.Load(m_strBasePath, *m_loadedMission, m_map->View(), m_itemDefs);

    if (const auto center = CenterItemPosition(m_model, m_itemDefs))
        m_map->SetCenter(center->first, center->second);
    m_map->SetModel(&m_model);
    m_map->repaint();

    const std::string message = LoadReportMessage(report, MissionNameFromLine(FromQt(m_cbMission->currentText())));
    if (!message.empty())
        m_prompts.Message(ToQt(message));
}

void CEditorDlg::OnSave()
{
    if (m_cbMission->currentIndex() < 0)
        return;
    if (!m_loadedMission) {
        m_prompts.Message(QStringLiteral("The mission list no longer names the loaded mission; nothing was saved."));
        return;
    }
    const MissionInfo mission = *m_loadedMission;
    SaveOutcome outcome = SaveMission(m_strBasePath, mission, m_model, TableRows(), m_itemDefs);
    // A save gives the records the kind ids of their names, written or not, so a shared name's rows
    // check otherwise and its markers may change.
    RecheckAllRows();
    m_map->View().SyncKinds();
    m_map->repaint();
    if (!outcome.notice.empty())
        m_prompts.Message(ToQt(outcome.notice));
    if (outcome.status == SaveStatus::ChangedOnDisk) {
        // Nothing is written without a yes; No keeps the table and its edits.
        if (!m_prompts.AskYesNo(ToQt(outcome.message)))
            return;
        SaveOptions overwrite;
        overwrite.overwriteChanges = true;
        outcome = SaveMission(m_strBasePath, mission, m_model, TableRows(), m_itemDefs, overwrite);
        RecheckAllRows();
        m_map->View().SyncKinds();
        m_map->repaint();
        if (!outcome.notice.empty())
            m_prompts.Message(ToQt(outcome.notice));
    }
    if (outcome.status == SaveStatus::EntryMoved) {
        const QString question = ToQt(outcome.message) + QStringLiteral("\n\nReload the mission list and ") +
                                 ToQt(mission.name) + QStringLiteral(" from disk? Your unsaved edits will be lost.");
        if (m_prompts.AskYesNo(question))
            ReloadMission(mission.name);
        return;
    }
    // Only a save that reached the file makes the table clean; a failure changes nothing.
    if (outcome.saved)
        m_document.SetClean();
    std::string message = outcome.message;
    if (outcome.status == SaveStatus::InvalidName)
        message += RowSuffix(static_cast<long>(outcome.badRow));
    m_prompts.Message(ToQt(message));
}

void CEditorDlg::UnloadMission()
{
    m_list->EndEdit();
    m_nLoadedIndex = -1;
    m_loadedMission.reset();
    ReleaseMission();
    m_map->SetModel(nullptr);
    m_map->repaint();
    m_btnGetMissionFiles->setEnabled(false);
    m_btnSave->setEnabled(false);
    m_btnRefreshMap->setEnabled(false);
    UpdateTitle();
}

void CEditorDlg::ReleaseMission()
{
    m_list->TableModel()->SetFindings(nullptr);
    m_session.Release(m_map->View().DetachModel());
}

void CEditorDlg::ReloadMission(const std::string& missionName)
{
    UnloadMission();
    FillMissionList();
    for (int i = 0; i < m_cbMission->count(); ++i) {
        if (MissionNameFromLine(FromQt(m_cbMission->itemText(i))) == missionName) {
            const QSignalBlocker blocker(m_cbMission);
            m_cbMission->setCurrentIndex(i);
            OnSelchangeMission();
            return;
        }
    }
    m_prompts.Message(ToQt("The mission " + missionName + " is no longer in the archive."));
}

void CEditorDlg::OnGetMissionFiles()
{
    if (m_cbMission->currentIndex() < 0)
        return;
    // A file that was not found is named as such, never listed as unpacked.
    const ExportResult result =
        ExportMissionFiles(m_strBasePath, MissionNameFromLine(FromQt(m_cbMission->currentText())), m_model.terrain);
    m_prompts.Message(ToQt(result.message));
}

void CEditorDlg::OnRefreshMap()
{
    const ApplyResult result = ApplyRowsForRefresh(TableRows(), m_model, m_itemDefs);
    // The rows before a bad name were applied: their new kinds reach the findings (a shared name's
    // rows now hold its first id), the hit test and the picture before the message is shown.
    RecheckAllRows();
    m_map->View().SyncKinds();
    m_map->repaint();
    if (!result.ok) {
        m_prompts.Message(
            ToQt(InvalidNameRefreshMessage(result.badName) + RowSuffix(static_cast<long>(result.badRow))));
        return;
    }
    // The map shows the model again, as the rows now made it.
    m_map->View().SyncPositions();
    // The model's positions are the table's now, but not yet the archive's.
    std::set<std::size_t> moved;
    for (const CellChange& change : m_document.Saved().Changes(TableRows()))
        moved.insert(change.row);
    SyncSavedPositions(moved);
    SyncMapSelection();
    m_map->repaint();
}

void CEditorDlg::ToggleFilter(QAbstractButton* button, bool& flag)
{
    // The button does not mark itself; its mark and the view's flag flip together.
    button->setChecked(!button->isChecked());
    flag = !flag;
    m_map->repaint();
}

void CEditorDlg::OnPeople() { ToggleFilter(m_btnPeople, m_map->View().m_bShowPeople); }
void CEditorDlg::OnBuildings() { ToggleFilter(m_btnBuildings, m_map->View().m_bShowBuildings); }
void CEditorDlg::OnDecorations() { ToggleFilter(m_btnDecorations, m_map->View().m_bShowDecorations); }
void CEditorDlg::OnVehicles() { ToggleFilter(m_btnVehicles, m_map->View().m_bShowVehicles); }
void CEditorDlg::OnMarkers() { ToggleFilter(m_btnMarkers, m_map->View().m_bShowMarkers); }
void CEditorDlg::OnObjects() { ToggleFilter(m_btnObjects, m_map->View().m_bShowObjects); }
void CEditorDlg::OnIds() { ToggleFilter(m_btnIds, m_map->View().m_bShowIds); }
void CEditorDlg::OnChanges() { ToggleFilter(m_btnChanges, m_map->View().m_bShowChanges); }

} // namespace orvik
