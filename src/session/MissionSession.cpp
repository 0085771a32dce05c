#include "session/MissionSession.h"

#include "check/ItemChecks.h"
#include "edit/DocumentRows.h"
#include "session/RecoveryFolder.h"
#include "session/RecoveryWriter.h"

#include <algorithm>

namespace orvik {

MissionSession::MissionSession()
{
    m_listener = m_document.Subscribe([this](const DocumentChange& change) { OnDocumentChange(change); });
}

MissionSession::~MissionSession()
{
    m_document.Unsubscribe(m_listener);
    // The writer finishes its last write before the lock goes.
    m_writer.reset();
    m_owner.reset();
}

void MissionSession::StartRecovery(const std::string& folder, std::function<void(const std::string&)> onError,
                                   std::chrono::milliseconds delay)
{
    m_writer.reset();
    m_owner = std::make_unique<RecoveryOwner>(folder);
    m_writer = std::make_unique<RecoveryWriter>(m_owner->Path(), delay, std::move(onError));
}

std::string MissionSession::RecoveryPath() const { return m_owner ? m_owner->Path() : std::string(); }

LoadReport MissionSession::Load(const std::string& archivePath, const MissionInfo& mission, TerrainView& view,
                                const CItemDefList& catalogue)
{
    File archive(archivePath, File::Mode::Read);
    const LoadReport report = m_model.Load(archive, mission.offset, archivePath, view, mission.size);
    archive.Close();

    m_catalogue = &catalogue;
    RecoveryHeader header;
    header.archivePath = AbsoluteArchivePath(archivePath);
    header.missionName = mission.name;
    header.missionOffset = mission.offset;
    header.catalogueHash = m_catalogueHash;
    header.rowCount = m_model.items.size();
    // The items as loaded check as their rows do, so the findings are made beside the rows, and the
    // records' hash with them.
    auto findings = std::make_unique<ItemFindings>(catalogue, mission.name);
    std::future<void> checked = std::async(std::launch::async, [&findings, &header, &catalogue, this] {
        findings->Reset(CheckedItemsOfModel(m_model, catalogue));
        header.recordsHash = HashBytes(m_model.loadedRecords.data(), m_model.loadedRecords.size());
    });
    std::vector<ItemRow> rows = RowsOfModel(m_model, catalogue);
    checked.get();
    m_header = std::move(header);
    m_findingsAhead = std::move(findings);
    m_document.Load(std::move(rows));
    return report;
}

void MissionSession::Release(std::shared_ptr<void> markers)
{
    std::unique_ptr<ItemFindings> findings = std::move(m_findings);
    m_header = RecoveryHeader();
    std::vector<ItemRow> rows = m_document.Clear();
    std::vector<std::unique_ptr<CMissionItem>> items = std::move(m_model.items);
    std::vector<std::uint8_t> records = std::move(m_model.loadedRecords);
    m_model.Clear();
    // Waits for the mission before, which is long gone by the time a user switches again.
    m_release = std::async(std::launch::async,
                           [findings = std::move(findings), rows = std::move(rows), items = std::move(items),
                            records = std::move(records), markers = std::move(markers)]() mutable {
                               findings.reset();
                               rows.clear();
                               items.clear();
                               records.clear();
                               markers.reset();
                           });
}

void MissionSession::DiscardRecovery()
{
    if (!m_writer)
        return;
    m_writer->Clear();
    m_writer->Flush();
}

void MissionSession::FlushRecovery()
{
    if (m_writer)
        m_writer->Flush();
}

RestoreResult MissionSession::Restore(const RecoveryRecord& record) { return ApplyRecoveredRows(m_document, record); }

RestoreResult ApplyRecoveredRows(EditDocument& document, const RecoveryRecord& record)
{
    RestoreResult result;
    std::vector<CellChange> changes;
    for (const auto& [row, cells] : record.rows) {
        if (row >= document.RowCount()) {
            ++result.skipped;
            continue;
        }
        bool changed = false;
        for (int c = 0; c < kColumnCount; ++c) {
            const std::string& text = cells[static_cast<std::size_t>(c)];
            if (document.IsEditable(c) && document.Cell(row, c) != text) {
                changes.push_back({row, c, {}, text});
                changed = true;
            }
        }
        result.rows += changed ? 1 : 0;
    }
    document.SetCells(changes, "Restore");
    return result;
}

bool MissionSession::LoadedRow(std::size_t row, ItemRow& cells) const
{
    const std::vector<std::uint8_t>& records = m_model.loadedRecords;
    const std::size_t at = row * CMissionItem::kRecordSize;
    if (m_catalogue == nullptr || at + CMissionItem::kRecordSize > records.size())
        return false;
    std::array<std::int32_t, CMissionItem::kWords> words{};
    for (std::size_t w = 0; w < words.size(); ++w)
        words[w] = GetInt32(records.data() + at + w * 4);
    CMissionItem item;
    item.FromWords(words);
    FillRow(cells, item, *m_catalogue);
    return true;
}

void MissionSession::OnDocumentChange(const DocumentChange& change)
{
    if (!m_writer)
        return;
    switch (change.kind) {
    case DocumentChange::Kind::AboutToReset: return;
    case DocumentChange::Kind::Reset: m_writer->Begin(m_header); return;
    case DocumentChange::Kind::CleanState:
        if (m_document.IsClean())
            m_writer->Clear();
        return;
    case DocumentChange::Kind::Cells: break;
    }
    // Each row once, compared with its record as loaded: a row edited back is no longer an edit.
    std::vector<std::size_t> rows;
    rows.reserve(change.cells.size());
    for (const CellRef& cell : change.cells)
        rows.push_back(cell.row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    ItemRow loaded;
    for (const std::size_t row : rows) {
        if (row >= m_document.RowCount())
            continue;
        const ItemRow& now = m_document.Rows()[row];
        if (LoadedRow(row, loaded) && loaded == now)
            m_writer->DropRow(row);
        else
            m_writer->SetRow(row, now);
    }
}

} // namespace orvik
