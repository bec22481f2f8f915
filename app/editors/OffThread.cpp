#include "app/editors/OffThread.h"

#include <QMetaObject>

namespace pagelark {

OffThread::~OffThread() {
    Cancel();
    for (Worker& worker : m_workers)
        worker.thread.join();
}

void OffThread::Cancel() {
    if (m_stop) m_stop->store(true);
    m_stop.reset();
    ++m_job;
    m_busy = false;
}

void OffThread::Launch(Job job) {
    Cancel();
    JoinFinished();
    const std::uint64_t number = m_job;
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_busy = true;
    auto finished = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([this, job = std::move(job), stop = m_stop, finished, number] {
        const Cancelled cancelled = [stop] { return stop->load(); };
        std::function<void()> answer = job(cancelled);
        // Queued to this object: an answer still waiting when the object goes
        // is dropped with it (the destructor joined this thread first).
        QMetaObject::invokeMethod(
            this,
            [this, answer = std::move(answer), number] {
                if (number != m_job) return;
                m_busy = false;
                m_stop.reset();
                answer();
            },
            Qt::QueuedConnection);
        finished->store(true);
    });
    m_workers.push_back({std::move(thread), std::move(finished)});
}

void OffThread::JoinFinished() {
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if (it->finished->load()) {
            it->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace pagelark
