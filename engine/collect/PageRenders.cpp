#include "engine/collect/PageRenders.h"

#include <algorithm>
#include <atomic>

#include "engine/page/TextBytes.h"
#include "engine/render/RenderRules.h"

namespace pagelark {
namespace {

// A renderer answers by the deadline it was given; this much later the run
// stops waiting for it (a helper that hangs, a window that is gone).
constexpr std::chrono::seconds kGiveUpAfterDeadline{15};

// Tickets are unique across runs, so a late answer for a stopped run's
// render is never taken for one of the next run's.
uint64_t NextTicket() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

RenderOutcome Failure(RenderFailure::Kind kind, std::string detail = {}) {
    RenderOutcome outcome;
    outcome.failure = {kind, std::move(detail)};
    return outcome;
}

}  // namespace

struct PageRenders::Page {
    std::string url;  // as the browser loads it
    uint64_t ticket = 0;
    bool started = false;
    bool in = false;  // its outcome is here, waiting for its row
    std::chrono::steady_clock::time_point giveUpAt;
    RenderOutcome outcome;
};

PageRenders::PageRenders(PageRenderer* renderer, std::chrono::milliseconds deadline,
                         size_t budgetBytes, std::function<void()> wake)
    : m_renderer(renderer),
      m_deadline(deadline),
      m_budget(budgetBytes),
      m_inbox(std::make_shared<Inbox>()) {
    m_inbox->wake = std::move(wake);
}

PageRenders::~PageRenders() {
    {
        const std::lock_guard<std::mutex> hold(m_inbox->lock);
        m_inbox->wake = nullptr;  // the run's wait is over; late outcomes just land
    }
    for (const Page* page : m_open) {
        if (page->started) m_renderer->Cancel(page->ticket);
    }
    if (m_rendered) m_renderer->Release();
}

bool PageRenders::Room() const {
    return Open() < static_cast<size_t>(kMaxRendersAtOnce) && m_waitingBytes < m_budget;
}

bool PageRenders::Known(std::string_view url) const {
    const std::string key = ToUpperAscii(url);
    return m_failed.contains(key) || m_pages.contains(key);
}

void PageRenders::Add(std::string_view url) {
    std::string key = ToUpperAscii(url);
    auto page = std::make_unique<Page>();
    const std::optional<std::string> renderable = RenderableUrl(url);
    if (!renderable) {
        page->in = true;
        page->outcome = Failure(RenderFailure::Kind::RefusedScheme);
    } else if (m_renderer == nullptr) {
        page->in = true;
        page->outcome = Failure(RenderFailure::Kind::Other, "no browser engine to render the page");
    } else {
        page->url = *renderable;
        m_open.push_back(page.get());
    }
    m_pages.insert_or_assign(std::move(key), std::move(page));
    StartQueued();
}

RenderOutcome PageRenders::Take(std::string_view url, const std::function<bool()>& ahead,
                                const std::function<void()>& turn) {
    const std::string key = ToUpperAscii(url);
    if (const auto failed = m_failed.find(key); failed != m_failed.end()) {
        RenderOutcome outcome;
        outcome.failure = failed->second;
        return outcome;
    }
    auto found = m_pages.find(key);
    if (found == m_pages.end()) {
        Add(url);
        found = m_pages.find(key);
    }
    Page& page = *found->second;
    for (Collect(); !page.in; Collect()) {
        if (ahead) {
            while (ahead()) {
            }
        }
        turn();
    }
    RenderOutcome outcome = std::move(page.outcome);
    if (outcome.ok) {
        m_waitingBytes -= std::min(m_waitingBytes, outcome.html.capacity());
        KeepRenderedBytes(outcome.html);
    } else {
        m_failed.emplace(key, outcome.failure);
    }
    m_pages.erase(found);
    return outcome;
}

void PageRenders::Collect() {
    std::map<uint64_t, RenderOutcome> arrived;
    {
        const std::lock_guard<std::mutex> hold(m_inbox->lock);
        arrived.swap(m_inbox->arrived);
    }
    const auto now = std::chrono::steady_clock::now();
    for (Page* page : m_open) {
        if (!page->started) continue;
        if (const auto it = arrived.find(page->ticket); it != arrived.end()) {
            page->outcome = std::move(it->second);
            page->in = true;
            if (page->outcome.ok) m_waitingBytes += page->outcome.html.capacity();
        } else if (now >= page->giveUpAt) {
            m_renderer->Cancel(page->ticket);
            page->outcome = Failure(RenderFailure::Kind::Timeout);
            page->in = true;
        }
    }
    std::erase_if(m_open, [](const Page* page) { return page->in; });
    StartQueued();
}

void PageRenders::StartQueued() {
    int rendering = 0;
    for (Page* page : m_open) {
        if (rendering == kMaxRendersAtOnce) break;
        ++rendering;
        if (page->started) continue;
        page->started = true;
        page->ticket = NextTicket();
        page->giveUpAt = std::chrono::steady_clock::now() + m_deadline + kGiveUpAfterDeadline;
        m_rendered = true;
        // The outcome lands in the inbox, which outlives this run if it must.
        m_renderer->Render(page->ticket, page->url, m_deadline.count(),
                           [inbox = m_inbox, ticket = page->ticket](RenderOutcome outcome) {
                               const std::lock_guard<std::mutex> hold(inbox->lock);
                               inbox->arrived.insert_or_assign(ticket, std::move(outcome));
                               if (inbox->wake) inbox->wake();
                           });
    }
}

}  // namespace pagelark
