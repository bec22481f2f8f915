#pragma once

#include <atomic>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/collect/ItemRecord.h"
#include "engine/collect/PageDownloads.h"
#include "engine/collect/RowReason.h"
#include "engine/fetch/FetchPage.h"

namespace pagelark {

class CollectHost;
class PageDownloads;
class PageRenders;
struct ItemList;

// What a run reads at Start. The window keeps them as its settings
// "ParallelDownloads" and "PageDeadlineSeconds" (fetch.pageDeadlineSeconds).
struct CollectSettings {
    FetchSettings fetch;
    int parallelDownloads = 16;  // pages downloaded ahead of the rows at once; 1: one at a time
    // Pages that are in and wait for their rows hold at most about this much.
    size_t aheadBudgetBytes = 32 * 1024 * 1024;
};

// The local wall-clock time that Last Update shows, asked on the list's
// thread as each row's result is written; tests give fixed times.
using LocalClock = std::function<std::tm()>;
std::tm LocalTimeNow();

// Collects the list on a background thread: for every enabled row in order
// it takes the page from the run's cache or downloads (or, for an item marked
// "Render the page first", has the host's browser engine render) and
// flattens it,
// applies the item's Filter and writes state, Result and Last Update. Pages
// of later rows download meanwhile, but each row is worked on only at its
// turn, so rows, link numbers and entries come out as in a run that
// downloads one page at a time. Every change to the list is made on the
// list's thread through the host and only while the run is still on, so
// nothing changes after Stop.
//
// What a run holds stays bounded however often it repeats: a page is cached
// only until the last row of the run that uses its URL, and the list keeps
// only the links that some item's entries point to.
class CollectWorker {
  public:
    CollectWorker(CollectHost& host, ItemList& list, CollectSettings settings = {},
                  LocalClock clock = LocalTimeNow);
    // Stops a run and waits for the threads; the host must still be able to
    // run tasks on the list thread.
    ~CollectWorker();
    CollectWorker(const CollectWorker&) = delete;
    CollectWorker& operator=(const CollectWorker&) = delete;

    // On the list thread. Start does nothing (false) on an empty list.
    bool Start();
    // On the list thread; the next Start uses them.
    void SetSettings(const CollectSettings& settings) { m_settings = settings; }
    void Stop();
    bool IsRunning() const { return m_running.load() == 1; }

    // Waits for every worker thread started so far. Only where the list
    // thread stays free to run their tasks (not from inside a task).
    void Wait();
    // True once every worker thread has left its loop.
    bool Idle() const { return m_activeThreads.load() == 0; }

    int DoneCount() const;

  private:
    void Run(int generation, const CollectSettings& settings);
    // How far the pages of later rows are queued: downloads and renders each
    // go ahead on their own, so neither waits for room among the other.
    struct AheadScan {
        int downloads = 0;
        int renders = 0;
        bool anyRender = false;  // some enabled row is rendered
    };
    // Tells the page cache which URLs the enabled rows use and notes whether
    // any is rendered; false once stopped.
    bool PlanCache(int generation, AheadScan& scan);
    // Looks at the next row for downloads and for renders, where each has
    // room, and queues the page that row needs; false when neither could
    // look (no room, no row left, or the run stopped).
    bool LookAhead(int generation, PageDownloads& downloads, PageRenders& renders, AheadScan& scan,
                   int count);
    // The item of the row (nothing for a disabled row), and whether its page
    // is not in the cache yet; false once stopped.
    bool ReadAhead(int generation, int row, std::optional<ItemRecord>& item, bool& needed);
    void Collect(int generation, int row, int count, PageDownloads& downloads, PageRenders& renders,
                 const std::function<bool()>& ahead);
    // The page for the item's turn, downloaded or rendered; without text,
    // and why in `why`, when that failed.
    DownloadedPage TakePage(const ItemRecord& item, PageDownloads& downloads, PageRenders& renders,
                            const std::function<bool()>& ahead, RowReason& why);
    // Runs `change` on the list thread when this worker's run is still on;
    // returns whether it ran.
    bool Guarded(int generation, const std::function<void()>& change);
    bool Current(int generation) const {
        return m_running.load() == 1 && m_generation.load() == generation;
    }

    CollectHost& m_host;
    ItemList& m_list;
    CollectSettings m_settings;
    const LocalClock m_clock;

    std::atomic<int> m_running{0};
    std::atomic<int> m_generation{0};  // tells a stopped run's late worker from the current one
    mutable std::mutex m_claimLock;
    std::mutex m_runLock;
    mutable std::mutex m_doneLock;
    std::mutex m_finishLock;
    int m_claimIndex = -1;
    int m_doneCount = 0;
    int m_finishedWorkers = 0;

    std::mutex m_threadsLock;
    std::vector<std::thread> m_threads;
    std::atomic<int> m_activeThreads{0};
};

}  // namespace pagelark
