#include "engine/collect/PageDownloads.h"

#include <algorithm>

#include "engine/fetch/FetchPage.h"
#include "engine/fetch/PageFetch.h"
#include "engine/page/TextBytes.h"

namespace pagelark {

struct PageDownloads::Page {
    Page(InternetSession& session, std::string key, std::string_view url)
        : key(std::move(key)), fetch(session, url) {}

    const std::string key;
    PageFetch fetch;
    std::string heldHost;  // the host whose place the current request holds
    bool in = false;       // done, its text (if any) waiting for its row
    std::string text;
    int status = 0;
    bool cut = false;
};

PageDownloads::PageDownloads(const FetchSettings& settings, std::function<bool()> cancelled,
                             size_t jobs, size_t budgetBytes, size_t perHost)
    : m_session(kAgent, settings, std::move(cancelled)),
      m_jobs(std::max<size_t>(jobs, 1)),
      m_budget(budgetBytes),
      m_perHost(std::max<size_t>(perHost, 1)) {}

PageDownloads::~PageDownloads() = default;

bool PageDownloads::Room() const {
    return m_moving.size() < m_jobs && m_waitingBytes < m_budget;
}

bool PageDownloads::Known(std::string_view url) const {
    const std::string key = ToUpperAscii(url);
    return m_failed.contains(key) || m_pages.contains(key);
}

void PageDownloads::Add(std::string_view url) {
    std::string key = ToUpperAscii(url);
    auto page = std::make_unique<Page>(m_session, key, url);
    m_moving.push_back(page.get());
    m_pages.insert_or_assign(std::move(key), std::move(page));
    StartWaiting();
}

DownloadedPage PageDownloads::Take(std::string_view url, const std::function<bool()>& ahead) {
    const std::string key = ToUpperAscii(url);
    if (const auto failed = m_failed.find(key); failed != m_failed.end())
        return DownloadedPage{std::nullopt, 0, false, failed->second};
    auto found = m_pages.find(key);
    if (found == m_pages.end()) {
        Add(url);
        found = m_pages.find(key);
    }
    Page& page = *found->second;
    while (!page.in) {
        if (ahead) {
            while (Room() && ahead()) {
            }
        }
        Turn();
    }
    DownloadedPage taken;
    if (page.fetch.Ok()) {
        m_waitingBytes -= page.text.capacity();
        taken.text = std::move(page.text);
        taken.status = page.status;
        taken.cut = page.cut;
    } else {
        taken.failure = page.fetch.Failure();
        m_failed.emplace(key, taken.failure);
    }
    m_pages.erase(found);
    return taken;
}

void PageDownloads::Turn() {
    m_session.Turn();
    for (Page* page : m_moving) {
        page->fetch.Step();
        Settle(*page);
    }
    std::erase_if(m_moving, [](const Page* page) { return page->in; });
    StartWaiting();
}

void PageDownloads::StartWaiting() {
    for (Page* page : m_moving) {
        if (!page->fetch.Waiting()) continue;
        const std::string& host = page->fetch.HostKey();
        size_t& active = m_activePerHost[host];
        if (active >= m_perHost) continue;
        ++active;
        page->heldHost = host;
        page->fetch.Go();
        Settle(*page);
    }
    std::erase_if(m_moving, [](const Page* page) { return page->in; });
}

void PageDownloads::Settle(Page& page) {
    if (page.in) return;
    const bool done = page.fetch.Done();
    if (!page.heldHost.empty() && (done || page.fetch.Waiting())) {
        const auto active = m_activePerHost.find(page.heldHost);
        if (active != m_activePerHost.end() && --active->second == 0) m_activePerHost.erase(active);
        page.heldHost.clear();
    }
    if (!done) return;
    page.in = true;
    if (!page.fetch.Ok()) return;
    page.text = page.fetch.TakeText();
    page.status = page.fetch.Status();
    page.cut = page.fetch.Cut();
    m_waitingBytes += page.text.capacity();
}

}  // namespace pagelark
