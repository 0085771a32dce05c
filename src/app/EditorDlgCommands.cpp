// The dialog's command handlers: thin callers of the core's load, save, refresh and export.
#include "app/EditorDlg.h"

#include "app/ComboSortedList.h"
#include "app/FilterButton.h"
#include "app/QtText.h"
#include "archive/MissionExport.h"
#include "common/File.h"
#include "edit/DocumentRows.h"
#include "listedit/EditListCtrl.h"
#include "map/qt/MapWnd.h"

#include <QComboBox>
#include <QPushButton>

namespace orvik {

void CEditorDlg::OnSelchangeMission()
{
    const int index = m_cbMission->currentIndex();
    if (index < 0)
        return;
    m_document.Clear();
    m_nLoadedIndex = index;
    UpdateTitle();
    m_btnGetMissionFiles->setEnabled(true);
    m_btnSave->setEnabled(true);
    m_btnRefreshMap->setEnabled(true);

    File archive(m_strBasePath, File::Mode::Read);
    const std::uint32_t offset = SelectedMissionOffset();
    const LoadReport report = m_model.Load(archive, offset, m_strBasePath, m_map->View());
    archive.Close();

    // Every centre item moves the centre, so the last one wins.
    for (const auto& item : m_model.items)
        if (IsCenterItem(*item, m_itemDefs))
            m_map->SetCenter(item->m_nX, item->m_nY);
    m_document.Load(RowsOfModel(m_model, m_itemDefs));
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
    const SaveOutcome outcome = SaveMission(m_strBasePath, SelectedMissionOffset(), m_model, TableRows(), m_itemDefs);
    // Only a save that reached the file makes the table clean; a failure changes nothing.
    if (outcome.saved)
        m_document.SetClean();
    std::string message = outcome.message;
    if (!outcome.saved) {
        const long bad = FirstUnknownName(TableRows(), m_model.items.size(), m_itemDefs);
        if (bad >= 0 && message == InvalidNameSaveMessage(TableRows()[static_cast<std::size_t>(bad)][kColItem]))
            message += RowSuffix(bad);
    }
    m_prompts.Message(ToQt(message));
}

void CEditorDlg::OnGetMissionFiles()
{
    if (m_cbMission->currentIndex() < 0)
        return;
    const std::string summary = ExportMissionFiles(m_strBasePath, FromQt(m_cbMission->currentText()), m_model.Terrain());
    m_prompts.Message(ToQt(summary));
}

void CEditorDlg::OnRefreshMap()
{
    const ApplyResult result = ApplyRowsForRefresh(TableRows(), m_model, m_itemDefs);
    if (!result.ok) {
        m_prompts.Message(ToQt(InvalidNameRefreshMessage(result.badName) + RowSuffix(static_cast<long>(result.badRow))));
        return;
    }
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

} // namespace orvik
