#pragma once
// The loaded mission and everything that hangs on it, without a window: the model, the edit
// document (the one home of the user's edits), the findings on its rows (those of a load made
// ahead on a second thread), their release on another thread, and the recovery file that keeps
// the unsaved edits on disk. The editor's dialog is a shell around one session.
#include "archive/PffArchive.h"
#include "catalogue/ItemDefList.h"
#include "check/ItemFindings.h"
#include "edit/EditDocument.h"
#include "mission/MissionModel.h"
#include "mission/TerrainView.h"
#include "session/RecoveryFile.h"

#include <functional>
#include <future>
#include <memory>
#include <string>

namespace orvik {

class RecoveryOwner;
class RecoveryWriter;

struct RestoreResult {
    std::size_t rows = 0;    // rows whose cells the step set
    std::size_t skipped = 0; // rows the mission no longer has
};

// Sets the recorded rows' editable cells in document as one step named "Restore" (Undo takes it
// back); rows the document lacks are counted, not set.
RestoreResult ApplyRecoveredRows(EditDocument& document, const RecoveryRecord& record);

class MissionSession {
public:
    MissionSession();
    ~MissionSession();
    MissionSession(const MissionSession&) = delete;
    MissionSession& operator=(const MissionSession&) = delete;

    CMissionModel& Model() { return m_model; }
    const CMissionModel& Model() const { return m_model; }
    EditDocument& Document() { return m_document; }
    const EditDocument& Document() const { return m_document; }
    std::unique_ptr<ItemFindings>& Findings() { return m_findings; }
    // Made by a load for the rows it is about to show; taken by whoever shows them.
    std::unique_ptr<ItemFindings>& FindingsAhead() { return m_findingsAhead; }

    // From now on unsaved edits go to a recovery file of this session's own in folder, written on a
    // worker thread; onError hears (on that thread) when it cannot be written. Throws FileError when
    // the file's lock cannot be made.
    void StartRecovery(const std::string& folder, std::function<void(const std::string&)> onError = {},
                       std::chrono::milliseconds delay = std::chrono::milliseconds(300));
    // "" before StartRecovery.
    std::string RecoveryPath() const;
    // What the next load names in its recovery file as the catalogue's hash.
    void SetCatalogueHash(std::uint64_t hash) { m_catalogueHash = hash; }
    // What the loaded mission's recovery file names.
    const RecoveryHeader& Header() const { return m_header; }

    // Reads the mission (items, terrain, colour map into view), makes its rows and their findings
    // (on a second thread, beside the rows) and loads the document.
    LoadReport Load(const std::string& archivePath, const MissionInfo& mission, TerrainView& view,
                    const CItemDefList& catalogue);
    // Empties the document, the findings and the model, and frees what they held (and markers, the
    // map's part) on another thread: freeing a large mission row by row would hold up the switch.
    void Release(std::shared_ptr<void> markers = {});

    // The edits are thrown away: the recovery file goes at once.
    void DiscardRecovery();
    // Waits until the recovery file shows every edit made so far.
    void FlushRecovery();

    // Sets the recorded rows' editable cells as one step that Undo takes back.
    RestoreResult Restore(const RecoveryRecord& record);

private:
    void OnDocumentChange(const DocumentChange& change);
    // The row as the loaded records give it: what an edited row is compared with.
    bool LoadedRow(std::size_t row, ItemRow& cells) const;

    CMissionModel m_model;
    EditDocument m_document;
    std::unique_ptr<ItemFindings> m_findings;
    std::unique_ptr<ItemFindings> m_findingsAhead;
    std::future<void> m_release;
    const CItemDefList* m_catalogue = nullptr;
    RecoveryHeader m_header;
    std::uint64_t m_catalogueHash = 0;
    std::unique_ptr<RecoveryOwner> m_owner;
    std::unique_ptr<RecoveryWriter> m_writer;
    int m_listener = 0;
};

} // namespace orvik
