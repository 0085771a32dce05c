#pragma once
// The recovery files in the user's data folder: this editor's own (named afresh and locked while it
// runs), and the ones others left, which are offered back only when no running editor holds them.
#include "common/File.h"
#include "session/RecoveryFile.h"

#include <string>
#include <vector>

namespace orvik {

inline constexpr const char* kRecoveryExtension = ".orvr";

// The lock beside a recovery file: the writer renames over the file itself, which would drop a lock
// taken on it.
std::string RecoveryLockPath(const std::string& recoveryPath);

// Whether a running editor holds the file's lock.
bool IsRecoveryLive(const std::string& recoveryPath);

// The absolute, normalised form of an archive's path, as recovery files name it.
std::string AbsoluteArchivePath(const std::string& path);

struct RecoveryEntry {
    std::string path;
    RecoveryRead read;
    bool live = false;         // a running editor holds it
    bool archiveGone = false;  // the archive it names is not there
};

// Every recovery file of folder, oldest first; none when the folder is not there.
std::vector<RecoveryEntry> ListRecoveryFiles(const std::string& folder);

// Removes a recovery file and its lock; false when the file is still there.
bool RemoveRecoveryFile(const std::string& path);

// This editor's recovery file: a fresh name in folder, its lock held until the end.
class RecoveryOwner {
public:
    // Makes the folder when needed; throws FileError when the lock cannot be made.
    explicit RecoveryOwner(std::string folder);
    // Lets go of the lock; removes it too when no edits are left in the file.
    ~RecoveryOwner();
    RecoveryOwner(const RecoveryOwner&) = delete;
    RecoveryOwner& operator=(const RecoveryOwner&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    File m_lock;
};

} // namespace orvik
