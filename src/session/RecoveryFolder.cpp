#include "session/RecoveryFolder.h"

#include "common/FileError.h"
#include "common/NativePath.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace orvik {

std::string RecoveryLockPath(const std::string& recoveryPath) { return recoveryPath + ".lock"; }

bool IsRecoveryLive(const std::string& recoveryPath)
{
    File lock;
    // No lock file: its editor ended after its last write, or never made one.
    if (!lock.Open(RecoveryLockPath(recoveryPath), File::Mode::ReadWrite))
        return false;
    try {
        return !lock.TryLock();
    } catch (const FileError&) {
        return false;
    }
}

std::string AbsoluteArchivePath(const std::string& path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(PathFromUtf8(path), ec);
    return PathToUtf8(ec ? PathFromUtf8(path) : absolute.lexically_normal());
}

std::vector<RecoveryEntry> ListRecoveryFiles(const std::string& folder)
{
    std::vector<std::pair<fs::file_time_type, RecoveryEntry>> found;
    std::error_code ec;
    for (fs::directory_iterator it(PathFromUtf8(folder), ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != kRecoveryExtension || !it->is_regular_file(ec))
            continue;
        RecoveryEntry entry;
        entry.path = PathToUtf8(it->path());
        entry.read = ReadRecoveryFile(entry.path);
        entry.live = IsRecoveryLive(entry.path);
        if (entry.read.status == RecoveryReadStatus::Ok)
            entry.archiveGone = !fs::is_regular_file(PathFromUtf8(entry.read.record.header.archivePath), ec);
        std::error_code timeError;
        found.emplace_back(it->last_write_time(timeError), std::move(entry));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first || (a.first == b.first && a.second.path < b.second.path); });
    std::vector<RecoveryEntry> entries;
    for (auto& [time, entry] : found)
        entries.push_back(std::move(entry));
    return entries;
}

bool RemoveRecoveryFile(const std::string& path)
{
    std::error_code ec;
    fs::remove(PathFromUtf8(path), ec);
    const bool gone = !fs::exists(PathFromUtf8(path), ec);
    if (gone)
        fs::remove(PathFromUtf8(RecoveryLockPath(path)), ec);
    return gone;
}

RecoveryOwner::RecoveryOwner(std::string folder)
{
    std::error_code ec;
    fs::create_directories(PathFromUtf8(folder), ec);
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    // The time orders the names for a reader; the random part keeps two editors started in the same
    // second apart.
    std::random_device device;
    std::mt19937_64 random((static_cast<std::uint64_t>(device()) << 32) ^ device() ^
                           static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    for (int attempt = 0;; ++attempt) {
        m_path = folder + "edits-" + std::to_string(seconds) + "-" + std::to_string(random() % 1000000000) +
                 kRecoveryExtension;
        if (fs::exists(PathFromUtf8(m_path), ec) || fs::exists(PathFromUtf8(RecoveryLockPath(m_path)), ec))
            continue;
        m_lock = File(RecoveryLockPath(m_path), File::Mode::CreateWrite);
        m_lock.Write("", 0); // throws with the path when the lock file could not be made
        if (m_lock.TryLock() || attempt >= 8)
            return;
    }
}

RecoveryOwner::~RecoveryOwner()
{
    try {
        m_lock.Close();
    } catch (const FileError&) {
        // Nothing was written to the lock; a failed close loses nothing.
    }
    std::error_code ec;
    if (!fs::exists(PathFromUtf8(m_path), ec))
        fs::remove(PathFromUtf8(RecoveryLockPath(m_path)), ec);
}

} // namespace orvik
