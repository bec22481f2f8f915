#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "engine/collect/PageRenderer.h"

namespace pagelark {

// The renders of one collection run, as PageDownloads are its downloads:
// pages of later rows render ahead, at most kMaxRendersAtOnce at once, in the
// order they were added; a page that is in waits for its row, and the pages
// waiting hold at most about `budgetBytes`. Pages are known by their URL in
// upper case, so a URL renders once in any letter case, and a URL that
// failed fails again at once. An address that is not http or https fails
// with RefusedScheme without the browser engine, and so does every render
// when there is no renderer. Used on the worker's thread only.
class PageRenders {
  public:
    // `wake` may be called on any thread: it cuts short the wait of a `turn`
    // (below) when an outcome arrives.
    PageRenders(PageRenderer* renderer, std::chrono::milliseconds deadline, size_t budgetBytes,
                std::function<void()> wake);
    // Cancels the renders still open and, when the run rendered, releases the
    // renderer.
    ~PageRenders();
    PageRenders(const PageRenders&) = delete;
    PageRenders& operator=(const PageRenders&) = delete;

    // Whether another page may be queued: fewer than kMaxRendersAtOnce
    // rendering or queued, and the pages waiting within the budget.
    bool Room() const;
    // Whether the URL is rendering, queued, waiting, or failed earlier.
    bool Known(std::string_view url) const;
    void Add(std::string_view url);
    // Waits for the render of `url` (queuing it first if needed) and hands it
    // over. While it waits, `ahead` is called until it answers false (it
    // queues the pages of later rows) and `turn` waits a moment for news;
    // `turn` throwing (the run was stopped) ends the wait.
    RenderOutcome Take(std::string_view url, const std::function<bool()>& ahead,
                       const std::function<void()>& turn);

  private:
    struct Page;
    // Outcomes handed over by the renderer, on its thread, for the worker.
    struct Inbox {
        std::mutex lock;
        std::map<uint64_t, RenderOutcome> arrived;
        std::function<void()> wake;
    };

    // Takes in what arrived, gives up on renders far past their deadline (a
    // renderer that stopped answering) and starts queued ones.
    void Collect();
    void StartQueued();
    size_t Open() const { return m_open.size(); }

    PageRenderer* const m_renderer;
    const std::chrono::milliseconds m_deadline;
    const size_t m_budget;
    std::shared_ptr<Inbox> m_inbox;
    std::map<std::string, std::unique_ptr<Page>, std::less<>> m_pages;  // not yet taken, by key
    std::vector<Page*> m_open;  // queued or rendering, in the order they were added
    std::map<std::string, RenderFailure, std::less<>> m_failed;
    size_t m_waitingBytes = 0;
    bool m_rendered = false;  // the renderer was asked for something
};

}  // namespace pagelark
