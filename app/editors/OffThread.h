#pragma once

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

// Slow work of a dialog (a page's download, a proposal) on threads of its own,
// its answer handed back on the window thread. Only the latest job counts:
// starting another, Cancel() or the object's end drop the answer of the one
// before and tell it to stop. The end waits for the threads, which stop
// within a moment once told (a download is asked every 50 ms).
namespace pagelark {

class OffThread : public QObject {
  public:
    // The question a job asks now and then: whether to give up.
    using Cancelled = std::function<bool()>;

    explicit OffThread(QObject* parent = nullptr) : QObject(parent) {}
    ~OffThread() override;

    // Runs work(cancelled) on a new thread; done(result) then runs on this
    // object's thread, unless another job started or Cancel() came first.
    template <class Result>
    void Start(std::function<Result(const Cancelled&)> work, std::function<void(Result)> done) {
        Launch([work = std::move(work), done = std::move(done)](const Cancelled& cancelled) {
            auto result = std::make_shared<Result>(work(cancelled));
            return std::function<void()>([done, result] { done(std::move(*result)); });
        });
    }

    void Cancel();
    // A job is running whose answer is still wanted.
    bool Busy() const { return m_busy; }

  private:
    // Runs on the thread; returns what then runs on the window thread.
    using Job = std::function<std::function<void()>(const Cancelled&)>;

    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };

    void Launch(Job job);
    void JoinFinished();

    std::vector<Worker> m_workers;
    std::shared_ptr<std::atomic<bool>> m_stop;  // the current job's
    std::uint64_t m_job = 0;
    bool m_busy = false;
};

}  // namespace pagelark
