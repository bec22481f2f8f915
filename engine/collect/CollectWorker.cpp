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
#include "engine/collect/PageRenders.h"
#include "engine/collect/RowReason.h"
#include "engine/collect/StoreExtraction.h"
#include "engine/fetch/FetchError.h"
#include "engine/page/ExtractResult.h"
#include "engine/page/FlattenPage.h"
#include "engine/page/Utf8.h"
#include "engine/render/RenderRules.h"

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

// The page cache's name for an item's page. A rendered page is not the page
// as downloaded, so it is kept apart: its name starts with a zero byte, which
// no URL in the list can hold.
std::string CacheUrl(const ItemRecord& item) {
    if (!item.render) return item.url;
    return std::string("\0render ", 8) + item.url;
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
    m_list.pageCache.Clear();  // the run plans its uses anew
    int generation;
    {
        // A worker left over from a stopped run sees the new generation under
        // this lock and leaves without claiming a row of the new run.
        const std::lock_guard<std::mutex> hold(m_claimLock);
        generation = ++m_generation;
        ++m_list.runSerial;
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
            static_cast<size_t>(std::max(settings.parallelDownloads, 1)),
            settings.aheadBudgetBytes);
        // Declared after the downloads, so it goes first: its wait turns them.
        PageRenders renders(m_host.Renderer(), RenderDeadline(settings.fetch.pageDeadlineSeconds),
                            settings.aheadBudgetBytes, [&downloads] { downloads.Wake(); });
        AheadScan scan;
        bool planned = PlanCache(generation, scan);
        while (planned) {
            int count = 0;
            if (!Guarded(generation, [&] { count = m_host.Rows().GetItemCount(); })) break;
            int row;
            {
                const std::lock_guard<std::mutex> hold(m_claimLock);
                if (!Current(generation) || m_claimIndex >= count - 1) break;
                row = ++m_claimIndex;
            }
            scan.downloads = std::max(scan.downloads, row);
            scan.renders = std::max(scan.renders, row);
            const auto ahead = [&] {
                return LookAhead(generation, downloads, renders, scan, count);
            };
            while (ahead()) {
            }
            Collect(generation, row, count, downloads, renders, ahead);
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

bool CollectWorker::PlanCache(int generation, AheadScan& scan) {
    // In slices, so the window stays free between them.
    constexpr int kRowsPerSlice = 256;
    int count = 0;
    for (int first = 0; first == 0 || first < count; first += kRowsPerSlice) {
        if (!Guarded(generation, [&] {
                ItemRows& rows = m_host.Rows();
                count = rows.GetItemCount();
                for (int row = first; row < std::min(count, first + kRowsPerSlice); ++row) {
                    const int data = rows.GetItemData(row);
                    if (IsDisabledData(data)) continue;
                    const ItemRecord item = m_host.ReadItem(data);
                    m_list.pageCache.PlanUse(CacheUrl(item));
                    scan.anyRender = scan.anyRender || item.render;
                }
            }))
            return false;
    }
    return true;
}

bool CollectWorker::ReadAhead(int generation, int row, std::optional<ItemRecord>& item,
                              bool& needed) {
    return Guarded(generation, [&] {
        const int data = m_host.Rows().GetItemData(row);
        if (IsDisabledData(data)) return;
        item = m_host.ReadItem(data);
        needed = !m_list.pageCache.Contains(CacheUrl(*item));
    });
}

bool CollectWorker::LookAhead(int generation, PageDownloads& downloads, PageRenders& renders,
                              AheadScan& scan, int count) {
    bool looked = false;
    std::optional<ItemRecord> item;
    bool needed = false;
    if (scan.downloads < count && downloads.Room()) {
        if (!ReadAhead(generation, scan.downloads++, item, needed)) return false;
        looked = true;
        if (item && !item->render && needed && !downloads.Known(item->url))
            downloads.Add(item->url);
    }
    if (scan.anyRender && scan.renders < count && renders.Room()) {
        item.reset();
        if (!ReadAhead(generation, scan.renders++, item, needed)) return false;
        looked = true;
        if (item && item->render && needed && !renders.Known(item->url)) renders.Add(item->url);
    }
    return looked;
}

DownloadedPage CollectWorker::TakePage(const ItemRecord& item, PageDownloads& downloads,
                                       PageRenders& renders, const std::function<bool()>& ahead,
                                       RowReason& why) {
    if (!item.render) {
        DownloadedPage downloaded = downloads.Take(item.url, ahead);
        if (!downloaded.text) why = ReasonOfFetch(downloaded.failure);
        return downloaded;
    }
    RenderOutcome outcome = renders.Take(item.url, ahead, [&downloads] { downloads.Turn(); });
    DownloadedPage rendered;
    if (outcome.ok)
        rendered.text = std::move(outcome.html);
    else
        why = ReasonOfRender(outcome.failure);
    return rendered;
}

void CollectWorker::Collect(int generation, int row, int count, PageDownloads& downloads,
                            PageRenders& renders, const std::function<bool()>& ahead) {
    bool disabled = false;
    ItemRecord item;
    std::shared_ptr<const FlatPage> page;
    const bool claimed = Guarded(generation, [&] {
        ItemRows& rows = m_host.Rows();
        const int data = rows.GetItemData(row);
        if (IsDisabledData(data)) {
            disabled = true;
            return;
        }
        item = m_host.ReadItem(data);
        // The links of the entries that go now go with them.
        m_list.RemoveResults(ItemKey(data));
        ReportItemInfo working;
        working.mask = RIF_IMAGE | RIF_PREVIEW | RIF_STATE;
        working.item = row;
        working.image = static_cast<int>(ItemState::Working);
        working.previewHeight = 0;
        working.state = 0;
        rows.SetItem(working);
        SetRowText(rows, row, 2, "");
        SetRowText(rows, row, 3, "");
        page = m_list.pageCache.Use(CacheUrl(item));
    });
    if (!claimed) return;

    if (!disabled) {
        const bool fetched = page == nullptr;
        if (fetched) {
            RowReason why;
            DownloadedPage downloaded = TakePage(item, downloads, renders, ahead, why);
            if (!downloaded.text) {
                Guarded(generation, [&] {
                    const std::lock_guard<std::mutex> hold(m_doneLock);
                    ++m_doneCount;  // the progress bar does not move for a failed item
                    m_list.reasons.Set(item.number, std::move(why), m_list.runSerial);
                    SetRowImage(m_host.Rows(), row, static_cast<int>(ItemState::Failed));
                });
                return;
            }
            const std::optional<std::string>& bytes = downloaded.text;
            // Links are numbered on from the list's counter and taken over
            // only if the run is still on when the result is written.
            auto flat = std::make_shared<FlatPage>(FlatPage{std::string(),
                                                            PageLinks(m_list.links.LinkCounter()),
                                                            downloaded.status, downloaded.cut});
            // Room for link markers longer than the tags they stand for.
            std::vector<char> buffer(2 * bytes->size() + 64);
            size_t flatLength = 0;
            if (FlattenPage(bytes->data(), bytes->size(), buffer.data(), buffer.size(), flatLength,
                            item.url, flat->links))
                flat->text.assign(buffer.data(), flatLength);
            page = std::move(flat);
        }
        if (!Guarded(generation, [&] {
                ItemRows& rows = m_host.Rows();
                if (fetched) {
                    m_list.links.Advance(page->links);
                    m_list.pageCache.Put(CacheUrl(item), page);
                }
                const Extraction extraction = ExtractResult(page->text, item.filter);
                m_list.links.Keep(extraction.entries, page->links);
                StoreExtraction(extraction, row, rows, m_list.results);
                const std::string result = CutUtf8(extraction.result, kResultBytes);
                SetRowText(rows, row, 2, result);
                SetRowText(rows, row, 3, LastUpdateText(m_clock()));
                m_list.reasons.Set(item.number,
                                   ReasonOfPage(page->status, page->cut, extraction.miss),
                                   m_list.runSerial);
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
