#include "files/StateWriter.h"

#include "files/StateFile.h"

namespace pagelark {

StateWriter::StateWriter() : m_thread([this] { Run(); }) {}

StateWriter::~StateWriter() {
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void StateWriter::Write(const std::string& path, ChangeTracker::Items items) {
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_waiting.insert_or_assign(path, std::move(items));
    }
    m_wake.notify_all();
}

void StateWriter::Flush() {
    std::unique_lock<std::mutex> hold(m_lock);
    m_idle.wait(hold, [this] { return m_waiting.empty() && !m_busy; });
}

void StateWriter::Run() {
    std::unique_lock<std::mutex> hold(m_lock);
    for (;;) {
        m_wake.wait(hold, [this] { return m_stop || !m_waiting.empty(); });
        if (m_waiting.empty()) return;  // stopped, and everything written
        std::map<std::string, ChangeTracker::Items> taken = std::move(m_waiting);
        m_waiting.clear();
        m_busy = true;
        hold.unlock();
        // A state that cannot be written costs only the next run's marks.
        for (const auto& [path, items] : taken)
            WriteStateFile(path, items);
        taken.clear();
        hold.lock();
        m_busy = false;
        m_idle.notify_all();
    }
}

}  // namespace pagelark
