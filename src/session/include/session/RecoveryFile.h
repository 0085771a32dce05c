#pragma once
// What a recovery file holds and its bytes: the archive and mission the edits belong to, hashes of
// what they were made on, and the rows that differ from the loaded ones. The last line checks the
// rest, so a file cut short or changed by hand reads as damaged, never as fewer edits.
#include "mission/ItemRows.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace orvik {

// Where the edits belong and what they were made on.
struct RecoveryHeader {
    std::string archivePath; // absolute
    std::string missionName; // the entry's name
    std::uint32_t missionOffset = 0;
    std::uint64_t recordsHash = 0;   // of the mission's item records as loaded
    std::uint64_t catalogueHash = 0; // of items.def (its bytes; 0 when there was none)
    std::size_t rowCount = 0;        // the document's rows
};

struct RecoveryRecord {
    RecoveryHeader header;
    std::int64_t time = 0; // seconds since 1970, when written
    std::map<std::size_t, ItemRow> rows; // the edited rows by index, with all their cells
};

enum class RecoveryReadStatus { Ok, Damaged, OtherVersion };

struct RecoveryRead {
    RecoveryReadStatus status = RecoveryReadStatus::Damaged;
    int version = 0; // as the file says, when it says
    RecoveryRecord record;
};

inline constexpr int kRecoveryFormatVersion = 1;

// A fast 64-bit hash of a byte block (for the records and the catalogue, and the file's check).
std::uint64_t HashBytes(const void* data, std::size_t size);
// The hash of a whole file's bytes; 0 when it cannot be read (no items.def).
std::uint64_t HashFileBytes(const std::string& path);

std::string EncodeRecovery(const RecoveryHeader& header, std::int64_t time, const std::map<std::size_t, ItemRow>& rows);
RecoveryRead DecodeRecovery(const std::string& bytes);

// Writes the file whole under a temporary name, synced and renamed over; throws FileError.
void WriteRecoveryFile(const std::string& path, const RecoveryHeader& header, std::int64_t time,
                       const std::map<std::size_t, ItemRow>& rows);
// Never throws: a file that cannot be read is damaged.
RecoveryRead ReadRecoveryFile(const std::string& path);

} // namespace orvik
