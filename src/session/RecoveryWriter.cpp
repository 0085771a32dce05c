#include "session/RecoveryWriter.h"

#include "common/NativePath.h"

#include <filesystem>
#include <system_error>

namespace orvik {

RecoveryWriter::RecoveryWriter(std::string path, std::chrono::milliseconds delay,
                               std::function<void(const std::string&)> onError)
    : m_path(std::move(path)), m_delay(delay), m_onError(std::move(onError)), m_thread([this] { Run(); })
{
}

RecoveryWriter::~RecoveryWriter()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void RecoveryWriter::Poke(std::unique_lock<std::mutex>& lock)
{
    ++m_given;
    if (!m_pending) {
        m_pending = true;
        m_firstPending = std::chrono::steady_clock::now();
    }
    lock.unlock();
    m_wake.notify_all();
}

void RecoveryWriter::Begin(const RecoveryHeader& header)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_header = header;
    m_clear = true;
    m_changes.clear();
    Poke(lock);
}

void RecoveryWriter::SetRow(std::size_t row, const ItemRow& cells)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changes.emplace_back(row, cells);
    Poke(lock);
}

void RecoveryWriter::DropRow(std::size_t row)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changes.emplace_back(row, std::nullopt);
    Poke(lock);
}

void RecoveryWriter::Clear()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_clear = true;
    m_changes.clear();
    Poke(lock);
}

void RecoveryWriter::Flush()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const std::uint64_t wanted = m_given;
    m_flushNow = true;
    m_wake.notify_all();
    m_done.wait(lock, [&] { return m_written >= wanted; });
}

void RecoveryWriter::Run()
{
    RecoveryHeader header;
    std::map<std::size_t, ItemRow> rows;
    bool onDisk = false; // whether this writer's file is there
    bool failing = false;
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_pending || m_stop; });
        if (!m_pending)
            return;
        // A burst of edits is written once, a short while after its first.
        m_wake.wait_until(lock, m_firstPending + m_delay, [&] { return m_stop || m_flushNow; });
        if (m_header)
            header = std::move(*m_header);
        if (m_clear)
            rows.clear();
        std::vector<std::pair<std::size_t, std::optional<ItemRow>>> changes = std::move(m_changes);
        m_header.reset();
        m_clear = false;
        m_changes.clear();
        m_pending = false;
        m_flushNow = false;
        const std::uint64_t taken = m_given;
        lock.unlock();

        for (auto& [row, cells] : changes) {
            if (cells)
                rows.insert_or_assign(row, std::move(*cells));
            else
                rows.erase(row);
        }
        std::string error;
        try {
            if (!rows.empty()) {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                WriteRecoveryFile(m_path, header, std::chrono::duration_cast<std::chrono::seconds>(now).count(), rows);
                onDisk = true;
            } else if (onDisk) {
                std::error_code ec;
                std::filesystem::remove(PathFromUtf8(m_path), ec);
                if (ec)
                    error = "The recovery file " + m_path + " could not be removed: " + ec.message();
                else
                    onDisk = false;
            }
        } catch (const std::exception& e) {
            error = std::string("Unsaved edits could not be written to the recovery file: ") + e.what();
        }
        if (!error.empty() && !failing && m_onError)
            m_onError(error);
        failing = !error.empty();

        lock.lock();
        m_written = taken;
        m_done.notify_all();
    }
}

} // namespace orvik
