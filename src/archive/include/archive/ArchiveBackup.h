#pragma once
// The copy of a base archive made before the first save into it, so the user's original is never
// lost to an edit: "kqbase.pff.orig" beside it, made once and never overwritten.
#include "common/File.h"

#include <string>

namespace orvik {

// The copy's path: the archive's path with ".orig" added.
std::string BackupPath(const std::string& archivePath);

// When there is no copy yet, copies the archive (open and locked by the caller, so nobody changes
// it meanwhile) to BackupPath, synced, and checks the copy's length and content. Returns the
// sentence that tells the user, or "" when a copy was already there. A copy that cannot be made
// throws UserError, saying why; nothing of it is left behind.
std::string BackUpBeforeFirstSave(File& lockedArchive, const std::string& archivePath);

} // namespace orvik
