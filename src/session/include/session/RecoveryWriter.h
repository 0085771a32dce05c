#pragma once
// Keeps one recovery file up to date from a worker thread. The editor's thread only hands over the
// rows an edit changed (work in proportion to the edit, no file I/O); the worker writes the file
// whole a short while after the first change it has not written, so that a burst of edits costs one
// write and every edit is on disk within a second. No edited row left: the file is removed.
#include "session/RecoveryFile.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace orvik {

class RecoveryWriter {
public:
    // onError is called on the worker thread with the failure's text, once per run of failures.
    explicit RecoveryWriter(std::string path, std::chrono::milliseconds delay = std::chrono::milliseconds(300),
                            std::function<void(const std::string&)> onError = {});
    // Writes what it was given (or removes the file), then stops.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    const std::string& Path() const { return m_path; }

    // A newly loaded mission: no row is edited yet.
    void Begin(const RecoveryHeader& header);
    // The row differs from the loaded one: its cells now.
    void SetRow(std::size_t row, const ItemRow& cells);
    // The row is as loaded again.
    void DropRow(std::size_t row);
    // Back at the clean mark (or the edits thrown away): no row is edited.
    void Clear();
    // Waits until everything handed over so far is on disk.
    void Flush();

private:
    void Run();
    void Poke(std::unique_lock<std::mutex>& lock);

    std::string m_path;
    std::chrono::milliseconds m_delay;
    std::function<void(const std::string&)> m_onError;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    // Handed over and not yet taken by the worker, in order.
    std::optional<RecoveryHeader> m_header;
    bool m_clear = false;
    std::vector<std::pair<std::size_t, std::optional<ItemRow>>> m_changes;
    std::chrono::steady_clock::time_point m_firstPending;
    bool m_pending = false;
    bool m_flushNow = false;
    bool m_stop = false;
    std::uint64_t m_given = 0;   // hand-overs counted
    std::uint64_t m_written = 0; // hand-overs on disk
    std::thread m_thread;        // last: starts once the rest is there
};

} // namespace orvik
