#include "engine/collect/CollectWorker.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>

#include "engine/collect/CollectHost.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemState.h"
#include "engine/collect/PageDownloads.h"
#include "engine/collect/StoreExtraction.h"
#include "engine/fetch/FetchError.h"
#include "engine/page/ExtractResult.h"
#include "engine/page/FlattenPage.h"
#include "engine/page/Utf8.h"

namespace pagelark {
namespace {

// The Last Update column: "%I:%M:%S %p" as the C locale writes it. Spelled
// out rather than left to strftime, whose %p follows the locale the window
// program sets (empty in some languages, other words in others).
std::string LastUpdateText(const std::tm& local) {
    const int hour = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    char text[48];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d %s", hour, local.tm_min, local.tm_sec,
                  local.tm_hour < 12 ? "AM" : "PM");
    return text;
}

}  // namespace

std::tm LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

CollectWorker::CollectWorker(CollectHost& host, ItemList& list, CollectSettings settings,
                             LocalClock clock)
    : m_host(host), m_list(list), m_settings(std::move(settings)), m_clock(std::move(clock)) {}

CollectWorker::~CollectWorker() {
    {
        const std::lock_guard<std::mutex> hold(m_claimLock);
        m_running.store(0);
        ++m_generation;
    }
    Wait();
}

bool CollectWorker::Start() {
    const int count = m_host.Rows().GetItemCount();
    if (count == 0) return false;
    m_host.ShowRunning(count + 1);
    m_list.pageCache.Clear();
    int generation;
    {
        // A worker left over from a stopped run sees the new generation under
        // this lock and leaves without claiming a row of the new run.
        const std::lock_guard<std::mutex> hold(m_claimLock);
        generation = ++m_generation;
        m_claimIndex = -1;
        m_running.store(1);
    }
    {
        const std::lock_guard<std::mutex> hold(m_doneLock);
        m_doneCount = 0;
    }
    {
        const std::lock_guard<std::mutex> hold(m_finishLock);
        m_finishedWorkers = 0;
    }
    const std::lock_guard<std::mutex> hold(m_threadsLock);
    ++m_activeThreads;
    try {
        m_threads.emplace_back(
            [this, generation, settings = m_settings] { Run(generation, settings); });
    } catch (const std::system_error&) {
        --m_activeThreads;  // the window keeps its running look until Stop
    }
    return true;
}

void CollectWorker::Stop() {
    m_host.ShowStopping();
    {
        const std::lock_guard<std::mutex> hold(m_runLock);
        m_running.store(0);
    }
    // The worker is not waited for: its download is cancelled and it makes
    // no further change.
    m_host.ResetRunLook();
}

void CollectWorker::Wait() {
    std::vector<std::thread> threads;
    {
        const std::lock_guard<std::mutex> hold(m_threadsLock);
        threads.swap(m_threads);
    }
    for (std::thread& thread : threads) {
        if (thread.joinable()) thread.join();
    }
}

int CollectWorker::DoneCount() const {
    const std::lock_guard<std::mutex> hold(m_doneLock);
    return m_doneCount;
}

bool CollectWorker::Guarded(int generation, const std::function<void()>& change) {
    bool ran = false;
    m_host.RunOnListThread([&] {
        if (!Current(generation)) return;
        change();
        ran = true;
    });
    return ran;
}

void CollectWorker::Run(int generation, const CollectSettings& settings) {
    try {
        PageDownloads downloads(
            settings.fetch, [this, generation] { return !Current(generation); },
            static_cast<size_t>(std::max(settings.parallelDownloads, 1)));
        int scan = 0;
        while (true) {
            int count = 0;
            if (!Guarded(generation, [&] { count = m_host.Rows().GetItemCount(); })) break;
            int row;
            {
                const std::lock_guard<std::mutex> hold(m_claimLock);
                if (!Current(generation) || m_claimIndex >= count - 1) break;
                row = ++m_claimIndex;
            }
            scan = std::max(scan, row);
            DownloadAhead(generation, downloads, scan, count);
            Collect(generation, row, count, downloads);
        }
    } catch (const FetchError&) {
        // Stopped while waiting for a page (or the network could not be set
        // up); the downloads are gone and nothing more changes.
    }
    Guarded(generation, [&] {
        const std::lock_guard<std::mutex> hold(m_finishLock);
        if (++m_finishedWorkers != 1) return;
        m_running.store(0);
        m_host.HideProgress();
        m_host.ResetRunLook();
    });
    --m_activeThreads;
}

void CollectWorker::DownloadAhead(int generation, PageDownloads& downloads, int& scan, int count) {
    while (!downloads.Full() && scan < count) {
        std::string url;
        const int row = scan++;
        if (!Guarded(generation, [&] {
                const int data = m_host.Rows().GetItemData(row);
                if (IsDisabledData(data)) return;
                url = m_host.ReadItem(data).url;
                if (m_list.pageCache.Find(url)) url.clear();
            }))
            return;
        if (!url.empty() && !downloads.Known(url)) downloads.Add(url);
    }
}

void CollectWorker::Collect(int generation, int row, int count, PageDownloads& downloads) {
    bool disabled = false;
    ItemRecord item;
    std::optional<std::string> cached;
    const bool claimed = Guarded(generation, [&] {
        ItemRows& rows = m_host.Rows();
        const int data = rows.GetItemData(row);
        if (IsDisabledData(data)) {
            disabled = true;
            return;
        }
        item = m_host.ReadItem(data);
        m_list.results.Remove(ItemKey(data));
        ReportItemInfo working;
        working.mask = RIF_IMAGE | RIF_PREVIEW | RIF_STATE;
        working.item = row;
        working.image = static_cast<int>(ItemState::Working);
        working.previewHeight = 0;
        working.state = 0;
        rows.SetItem(working);
        SetRowText(rows, row, 2, "");
        SetRowText(rows, row, 3, "");
        cached = m_list.pageCache.Find(item.url);
    });
    if (!claimed) return;

    if (!disabled) {
        std::string text;
        LinkTable pageLinks;
        if (cached) {
            text = std::move(*cached);
        } else {
            std::optional<std::string> page = downloads.Take(item.url);
            if (!page) {
                Guarded(generation, [&] {
                    const std::lock_guard<std::mutex> hold(m_doneLock);
                    ++m_doneCount;  // the progress bar does not move for a failed item
                    SetRowImage(m_host.Rows(), row, static_cast<int>(ItemState::Failed));
                });
                return;
            }
            // Links are numbered in a table of their own and taken over only
            // if the run is still on when the result is written.
            pageLinks.StartAt(m_list.links.LinkCounter());
            // Room for link markers longer than the tags they stand for.
            std::vector<char> flat(2 * page->size() + 64);
            size_t flatLength = 0;
            if (FlattenPage(page->data(), page->size(), flat.data(), flat.size(), flatLength,
                            item.url, pageLinks))
                text.assign(flat.data(), flatLength);
        }
        const bool fetched = !cached.has_value();
        if (!Guarded(generation, [&] {
                ItemRows& rows = m_host.Rows();
                if (fetched) {
                    m_list.links.Adopt(pageLinks);
                    m_list.pageCache.Put(item.url, text);
                }
                const Extraction extraction = ExtractResult(text, item.filter);
                StoreExtraction(extraction, row, rows, m_list.results);
                const std::string result = CutUtf8(extraction.result, kResultBytes);
                SetRowText(rows, row, 2, result);
                SetRowText(rows, row, 3, LastUpdateText(m_clock()));
                SetRowImage(rows, row, static_cast<int>(ItemState::Done));
            }))
            return;
    }
    Guarded(generation, [&] {
        const std::lock_guard<std::mutex> hold(m_doneLock);
        ++m_doneCount;
        if (m_doneCount < count + 1) m_host.SetProgressPos(m_doneCount);
    });
}

}  // namespace pagelark
