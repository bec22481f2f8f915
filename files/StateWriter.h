#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "engine/watch/ChangeTracker.h"

namespace pagelark {

// Writes state files on a thread of its own: the text of a long list with
// its histories takes a second or more to build, which the window must not
// wait for. Each Write hands over a copy of the items; items for a path that
// wait to be written give way to newer ones for the same path, and what is
// handed over is written in order. Destroying the writer writes what waits.
class StateWriter {
  public:
    StateWriter();
    ~StateWriter();
    StateWriter(const StateWriter&) = delete;
    StateWriter& operator=(const StateWriter&) = delete;

    void Write(const std::string& path, ChangeTracker::Items items);
    // Returns once everything handed over is written (before a file is read).
    void Flush();

  private:
    void Run();

    std::mutex m_lock;
    std::condition_variable m_wake;  // items waiting, or the end
    std::condition_variable m_idle;  // nothing waiting nor being written
    std::map<std::string, ChangeTracker::Items> m_waiting;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;  // last: it starts once the rest is there
};

}  // namespace pagelark
