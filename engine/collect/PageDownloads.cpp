#include "engine/collect/PageDownloads.h"

#include <algorithm>

#include "engine/fetch/FetchPage.h"
#include "engine/fetch/PageFetch.h"
#include "engine/page/TextBytes.h"

namespace pagelark {

struct PageDownloads::Page {
    Page(InternetSession& session, std::string_view url)
        : key(ToUpperAscii(url)), fetch(session, url) {}

    const std::string key;
    PageFetch fetch;
    bool started = false;
};

PageDownloads::PageDownloads(const FetchSettings& settings, std::function<bool()> cancelled,
                             size_t jobs, size_t perHost)
    : m_session(kAgent, settings, std::move(cancelled)),
      m_jobs(std::max<size_t>(jobs, 1)),
      m_perHost(std::max<size_t>(perHost, 1)) {}

PageDownloads::~PageDownloads() = default;

bool PageDownloads::Known(std::string_view url) const {
    const std::string key = ToUpperAscii(url);
    return m_failed.contains(key) ||
           std::any_of(m_pages.begin(), m_pages.end(),
                       [&](const std::unique_ptr<Page>& page) { return page->key == key; });
}

void PageDownloads::Add(std::string_view url) {
    m_pages.push_back(std::make_unique<Page>(m_session, url));
    StartWaiting();
}

std::optional<std::string> PageDownloads::Take(std::string_view url) {
    const std::string key = ToUpperAscii(url);
    if (m_failed.contains(key)) return std::nullopt;
    auto found = std::find_if(m_pages.begin(), m_pages.end(),
                              [&](const std::unique_ptr<Page>& page) { return page->key == key; });
    if (found == m_pages.end()) {
        Add(url);
        found = std::prev(m_pages.end());
    }
    Page& page = **found;
    while (!page.fetch.Done()) {
        m_session.Turn();
        for (const std::unique_ptr<Page>& other : m_pages) {
            if (!other->started || other->fetch.Done()) continue;
            if (other->fetch.Step()) --m_activePerHost[other->fetch.HostKey()];
        }
        StartWaiting();
    }
    std::optional<std::string> text;
    if (page.fetch.Ok())
        text = page.fetch.TakeText();
    else
        m_failed.insert(key);
    m_pages.erase(found);
    return text;
}

// Starts queued pages in the order they were added, as their hosts allow.
void PageDownloads::StartWaiting() {
    for (const std::unique_ptr<Page>& page : m_pages) {
        if (page->started) continue;
        size_t& active = m_activePerHost[page->fetch.HostKey()];
        if (active >= m_perHost) continue;
        page->started = true;
        page->fetch.Begin();
        if (!page->fetch.Done()) ++active;
    }
}

}  // namespace pagelark
