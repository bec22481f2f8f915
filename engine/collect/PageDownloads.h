#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fetch/FetchPage.h"
#include "engine/fetch/InternetSession.h"

namespace pagelark {

class PageFetch;

// The downloads of one collection run that go ahead of its rows: up to
// `jobs` pages at once in one event loop, at most `perHost` of them to one
// host, each kept until its row takes it. Pages are known by their URL in
// upper case, so a URL is downloaded once in any letter case, and a URL that
// failed fails again at once. Used on the worker's thread only.
class PageDownloads {
  public:
    PageDownloads(const FetchSettings& settings, std::function<bool()> cancelled, size_t jobs,
                  size_t perHost = 4);
    ~PageDownloads();
    PageDownloads(const PageDownloads&) = delete;
    PageDownloads& operator=(const PageDownloads&) = delete;

    // Whether `jobs` pages are downloading or waiting to be taken.
    bool Full() const { return m_pages.size() >= m_jobs; }
    // Whether the URL is on its way or waiting, or failed earlier in the run.
    bool Known(std::string_view url) const;
    // Queues the download of `url` (the first URL given for a page).
    void Add(std::string_view url);
    // Waits for the page of `url` (queuing it first if needed) and hands it
    // over as UTF-8, freeing its place; nothing when it failed. Throws
    // FetchError once the run is cancelled.
    std::optional<std::string> Take(std::string_view url);

  private:
    struct Page;

    void StartWaiting();

    InternetSession m_session;
    const size_t m_jobs;
    const size_t m_perHost;
    std::vector<std::unique_ptr<Page>> m_pages;  // in the order they were added
    std::map<std::string, size_t, std::less<>> m_activePerHost;
    std::set<std::string, std::less<>> m_failed;
};

}  // namespace pagelark
