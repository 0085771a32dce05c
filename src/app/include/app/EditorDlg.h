#pragma once
// The editor's one window: the mission list, the item table, the map with its filters, and the
// commands Save, Get Mission Files and Refresh Map. Every command is a thin caller of the core.
#include "app/Prompts.h"
#include "archive/PffArchive.h"
#include "catalogue/ItemDefList.h"
#include "check/ItemFindings.h"
#include "edit/EditDocument.h"
#include "edit/RowEdits.h"
#include "map/MapView.h"
#include "mission/ItemRows.h"
#include "mission/MissionModel.h"
#include "mission/MissionSave.h"
#include "session/MissionSession.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QIcon>
#include <QRect>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace orvik {

class CEditListCtrl;
class EditorSettings;
class FindField;
class FilterButton;
class FilterField;
class CMapWnd;
struct RecoveryEntry;

class CEditorDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 972;
    static constexpr int kClientHeight = 609;

    // basePath: the base archive given on the command line; without it, initialisation asks.
    explicit CEditorDlg(Prompts& prompts, std::optional<std::string> basePath = std::nullopt,
                        QWidget* parent = nullptr);
    ~CEditorDlg() override;

    // The settings to start from and to keep the user's changes in; none (the default, and what the
    // tests use) starts with the defaults and keeps nothing. Set before DoModal.
    void UseSettings(EditorSettings* settings);

    // Initialisation, then the dialog runs modally until it ends.
    int DoModal();
    // The start-up steps: icons, table, map, start-up message, file dialog, catalogue, mission list.
    bool OnInitDialog();

    // Command handlers; each runs inside RunCommand when reached from a control.
    void OnSelchangeMission();
    void OnSave();
    void OnGetMissionFiles();
    void OnRefreshMap();
    void OnPeople();
    void OnBuildings();
    void OnDecorations();
    void OnVehicles();
    void OnMarkers();
    void OnObjects();
    void OnIds();
    void OnChanges();
    // Editing: undo and redo in the table, the find field, another base archive.
    void OnUndo();
    void OnRedo();
    void OnFind();
    void OnFindNext();
    void OnFindPrevious();
    void OnOpenArchive();
    // Many items at once: the clipboard, fill, select all, and a move of the selection by offsets
    // the user gives.
    void OnCopy();
    void OnPaste();
    void OnFillDown();
    void OnSelectAll();
    void OnMoveSelection();
    // The filter box (Ctrl+L), and the switch that shows only the filtered rows on the map.
    void OnFilterRows();
    void OnMapOnlyFiltered();
    // The unsaved edits, as `orvik diff` of the archive and the table would print them.
    void OnCopyChanges();
    std::string UnsavedChangesTsv() const;

    // Runs a handler so that no exception reaches Qt's event loop: file errors become the file
    // error report, the editor's own refusals and anything else a plain message.
    void RunCommand(const std::function<void()>& command);

    // Whether the table holds edits made since the last load or successful save: the document is
    // not at its clean mark, or an open edit box holds a changed text.
    bool HasUnsavedEdits() const;
    const EditDocument& Document() const { return m_document; }
    MissionSession& Session() { return m_session; }
    FindField* FindBox() const { return m_find; }
    FilterField* FilterBox() const { return m_filter; }
    QLabel* FilterCount() const { return m_filterCount; }
    QCheckBox* MapOnlyFilteredSwitch() const { return m_mapOnlyFiltered; }

    const std::string& BasePath() const { return m_strBasePath; }
    const CItemDefList& Catalogue() const { return m_itemDefs; }
    const CMissionModel& Model() const { return m_model; }
    QComboBox* MissionCombo() const { return m_cbMission; }
    CEditListCtrl* ItemTable() const { return m_list; }
    CMapWnd* MapWnd() const { return m_map; }

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void CreateEditingShortcuts();
    // The filter box with its count, and the map's "only filtered" switch.
    void CreateFilterControls();
    // The filter box's text applied to the table: a query it cannot read shows every row.
    void ApplyFilterText();
    void UpdateFilterCount(const QString& problem);
    // A load: the table shows every row in file order again, and the box empties.
    void ClearFilter();
    // The map draws the rows the table shows, or every row, as the switch says.
    void SyncMapRows();
    // Remembers where each control sits at the default size; LayOut places them for another.
    void RecordLayout();
    void LayOut();
    // The map as an editing surface: selection both ways, moves as document steps, markers that
    // follow every edit, tooltips.
    void ConnectMap();
    void SelectRowFromMap(std::size_t row, bool toggle);
    // A band drawn on the map: its items become the selection, or join it.
    void SelectRowsFromMap(const std::vector<std::size_t>& rows, bool add);
    // An arrow key on the map: the selection moves by screen pixels at the present zoom.
    void MoveSelectionBy(int dx, int dy);
    void ReportClamped(const RowsOutcome& outcome);
    void MoveItemsFromMap(const std::vector<std::pair<std::size_t, WorldPoint>>& moves);
    void SyncMapSelection();
    void SyncMapPositions(const std::vector<CellRef>& cells);
    // The map's marks of where these rows' items stood at the last save.
    void SyncSavedPositions(const std::set<std::size_t>& rows);
    // "N selected, M rows changed" above the map.
    void UpdateStatus();
    // The catalogue and the mission list of m_strBasePath, as at start-up.
    void LoadArchive();
    // Selects the next row shown from view position view (inclusive) whose name holds the find
    // field's text, in the order shown.
    void FindFrom(int view, bool forward);
    // "Orvik Editor V1.5 - NAME *": the loaded mission, and a mark while it has unsaved edits.
    void UpdateTitle();
    // Checks every row afresh (a load, a save or a refresh, which may change the kind ids behind
    // the names) and shows the findings on them.
    void RecheckAllRows();
    void ShowFindings(std::unique_ptr<ItemFindings> findings);
    // Checks the rows of these cells again, and the rows whose findings name them.
    void RecheckRows(const std::vector<CellRef>& cells);
    void OnMissionIndexChanged(int index);
    // Asks before unsaved edits are thrown away; true when they may go.
    bool ConfirmDiscard();
    void ToggleFilter(QAbstractButton* button, bool& flag);
    const std::vector<ItemRow>& TableRows() const { return m_document.Rows(); }
    // The row number (from 1) for a message about row, as " (row N)".
    static std::string RowSuffix(long row);
    std::uint32_t SelectedMissionOffset() const;
    void ReadCatalogue();
    // Finishes or forgets a save that a crash interrupted, and tells the user what it found.
    void SettleInterruptedSave();
    // Fills the mission list afresh from the base archive; none is chosen.
    void FillMissionList();
    // After a repack: the mission list again, and the mission of that name when it is still there.
    void ReloadMission(const std::string& missionName);
    // Empties the table, the model and the map and disables the mission's commands.
    void UnloadMission();
    // Empties the table, the findings and the model, and frees what they held on another thread:
    // freeing a large mission row by row would hold up the switch.
    void ReleaseMission();
    // Unsaved edits go to a recovery file of this editor's own from now on.
    void StartRecovery();
    // Offers back the edits that recovery files left by editors no longer running kept for this
    // archive, and names the files that cannot be offered.
    void OfferRecovery();
    // Loads the mission the file names and sets its edits as one step; false when they were not set.
    bool RestoreRecovery(const RecoveryEntry& entry);

    // The user's settings: applied at start; kept when they change (looked at each second) and at the
    // end. asFound records the state as started without writing it.
    void ApplySettings();
    void StoreSettings(bool asFound);
    std::vector<std::pair<QString, bool*>> Switches();
    OpenFileHint OpenHint();
    // While no archive was ever opened, the start-up message comes before the file dialog.
    bool IsFirstStart() const;
    // An archive opened: into the recent list, and its last mission chosen again.
    void RememberArchive();
    // A mission loaded: it is the archive's last one, and its centre and row come back.
    void RememberMission();

    // Controls, bound in the constructor.
    QPushButton* m_btnRefreshMap = nullptr;
    QPushButton* m_btnSave = nullptr;
    QPushButton* m_btnGetMissionFiles = nullptr;
    QComboBox* m_cbMission = nullptr;
    QIcon m_hIcon;
    CItemDefList m_itemDefs;
    CPffArchive m_archive;
    std::string m_strBasePath;
    CEditListCtrl* m_list = nullptr;
    // The mission's model, rows, findings and recovery file; the members below are its parts.
    MissionSession m_session;
    CMissionModel& m_model = m_session.Model();
    EditDocument& m_document = m_session.Document(); // the table's rows; the one home of the user's edits
    // The rows' findings kept up to date.
    std::unique_ptr<ItemFindings>& m_findings = m_session.Findings();
    std::unique_ptr<ItemFindings>& m_findingsAhead = m_session.FindingsAhead(); // made by a load for its rows
    int m_docListener = 0;
    int m_mapListener = 0;
    // How a control follows a larger window.
    enum class Follow { Table, Right, UnderMap, AboveMapRight };
    struct Placed {
        QWidget* widget;
        QRect rect; // at the default size
        Follow follow;
    };
    std::vector<Placed> m_layout;
    FindField* m_find = nullptr;
    FilterField* m_filter = nullptr;
    QLabel* m_filterCount = nullptr;
    QCheckBox* m_mapOnlyFiltered = nullptr;
    QTimer* m_mapRowsTimer = nullptr; // the map follows the table's rows after the keystroke
    CMapWnd* m_map = nullptr;

    QLineEdit* m_editCoord = nullptr;
    QLabel* m_status = nullptr; // "N selected, M rows changed"
    std::size_t m_nSelectedRows = 0; // as last told to the map, so that an edit need not count them
    QElapsedTimer m_arrowTimer; // since the last arrow-key move
    QGroupBox* m_groupShow = nullptr;
    FilterButton* m_btnPeople = nullptr;
    FilterButton* m_btnBuildings = nullptr;
    FilterButton* m_btnDecorations = nullptr;
    FilterButton* m_btnVehicles = nullptr;
    FilterButton* m_btnMarkers = nullptr;
    FilterButton* m_btnObjects = nullptr;
    FilterButton* m_btnIds = nullptr;
    FilterButton* m_btnChanges = nullptr;

    EditorSettings* m_settings = nullptr;
    QTimer* m_settingsTimer = nullptr;
    Prompts& m_prompts;
    std::optional<std::string> m_startPath;
    int m_nLoadedIndex = -1; // the combo line whose mission the table shows
    // The entry the table was loaded from: a save goes there or nowhere.
    std::optional<MissionInfo> m_loadedMission;
};

} // namespace orvik
