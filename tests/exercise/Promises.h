#pragma once
// What the editor promises after every user action, checked against the dialog, its document,
// its map and the archive on disk. A broken promise throws Broken with what was seen.
#include "app/EditorDlg.h"
#include "exercise/ShadowTable.h"
#include "exercise/ViewCheck.h"
#include "mission/ItemRows.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace orvik::exercise {

struct Broken : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The rows of a mission as the archive holds them now, and where its records lie; none when the
// archive has no mission of that name.
struct DiskMission {
    MissionInfo info;
    std::vector<ItemRow> rows;
};
std::optional<DiskMission> ReadDiskMission(const std::string& basePath, const std::string& name,
                                           const CItemDefList& catalogue);

// The mission the dialog's title names ("" when none is loaded).
std::string LoadedMissionName(const CEditorDlg& dialog);

class Promises {
public:
    // Follows the dialog's document: every load is remembered, and checked against the disk.
    void Attach(CEditorDlg& dialog);
    void Detach();

    // The table, the map and the title agree with the document.
    void CheckViews() const;
    // The rows as last loaded (empty before any load).
    const std::vector<ItemRow>& LoadedRows() const { return m_loaded; }
    // The sort and filter's promises; the exerciser tells it the filter it typed.
    ViewCheck& View() { return m_view; }

    // Around a Save: the archive's bytes before it, and the document as the save found it.
    struct SaveStart {
        std::vector<std::uint8_t> bytes;
        std::vector<ItemRow> rows;
        bool clean = true;
        std::string mission;
    };
    SaveStart BeginSave() const;
    // The save wrote the document's rows into that mission's records and nothing else.
    void CheckSaved(const SaveStart& start) const;
    // Nothing was written and every edit is still there.
    void CheckRefused(const SaveStart& start) const;

private:
    void OnLoaded();
    // The shadow of the table, the plain check's findings and the plain painter's frame.
    void CheckTable() const;
    void CheckFindings() const;
    void CheckFrame() const;
    // Cells marked as changed, and saved places on the map, against the rows as last loaded or saved.
    void CheckChanges() const;

    CEditorDlg* m_dialog = nullptr;
    std::unique_ptr<ShadowTable> m_shadow;
    ViewCheck m_view;
    QMetaObject::Connection m_viewConnection;
    int m_listener = 0;
    std::vector<ItemRow> m_loaded;
    // What the archive holds for the document's mission: the rows as loaded, then as each save left them.
    mutable std::vector<ItemRow> m_clean;
    // A load that broke a promise, told at the next check: the listener runs inside the dialog's
    // command, which would take an exception for the user's message.
    std::string m_loadFailure;
};

// The frame pixel of an item's marker, as the map places it.
std::pair<std::int64_t, std::int64_t> MarkerPoint(const MapView& view, std::size_t item);

// Throws Broken naming the first row that differs.
void RequireRows(const std::vector<ItemRow>& seen, const std::vector<ItemRow>& wanted, const std::string& what);

// Throws Broken with what when ok is false.
void Require(bool ok, const std::string& what);

} // namespace orvik::exercise
