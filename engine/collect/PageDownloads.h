#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fetch/FetchFailure.h"
#include "engine/fetch/FetchPage.h"
#include "engine/fetch/InternetSession.h"

namespace pagelark {

// A page handed to its row: its text, or why there is none.
struct DownloadedPage {
    std::optional<std::string> text;  // UTF-8; none when the download failed
    int status = 0;                   // the answer's HTTP status (0 for ftp)
    bool cut = false;                 // the page went on past the bytes kept
    FetchFailure failure;             // set when there is no text
};

// The downloads of one collection run that go ahead of its rows, in one
// event loop: at most `jobs` pages on their way at once and at most
// `perHost` requests to one host, counted at the host each request really
// goes to (after redirects). A page that is in gives its place back at once
// and waits for its row; the pages waiting hold at most about `budgetBytes`,
// so a page that stalls holds up only its own row while the rows after it
// download. Pages are known by their URL in upper case, so a URL is
// downloaded once in any letter case, and a URL that failed fails again at
// once. Used on the worker's thread only.
class PageDownloads {
  public:
    PageDownloads(const FetchSettings& settings, std::function<bool()> cancelled, size_t jobs,
                  size_t budgetBytes, size_t perHost = 4);
    ~PageDownloads();
    PageDownloads(const PageDownloads&) = delete;
    PageDownloads& operator=(const PageDownloads&) = delete;

    // Whether another page may be queued: fewer than `jobs` on their way, and
    // the pages waiting for their rows within the budget.
    bool Room() const;
    // Whether the URL is on its way or waiting, or failed earlier in the run.
    bool Known(std::string_view url) const;
    // Queues the download of `url` (the first URL given for a page).
    void Add(std::string_view url);
    // Waits for the page of `url` (queuing it first if needed) and hands it
    // over as UTF-8, or why it failed. While it waits, `ahead` is called
    // whenever there is Room, to queue the pages of later rows; it answers
    // false once it has no row left to look at. Throws FetchError once the
    // run is cancelled.
    DownloadedPage Take(std::string_view url, const std::function<bool()>& ahead = {});

    // One turn of the event loop: it waits at most 50 ms for something to
    // happen, then transfers move, finished pages give their places back and
    // waiting requests start. Throws FetchError once the run is cancelled.
    void Turn();
    // Ends the wait of a Turn at once; may be called on any thread.
    void Wake() { m_session.Wake(); }

  private:
    struct Page;
    // Requests start in the order their pages were added, as their hosts allow.
    void StartWaiting();
    // A page whose request is over (or waits for another host) gives its host's place back.
    void Settle(Page& page);

    InternetSession m_session;
    const size_t m_jobs;
    const size_t m_budget;
    const size_t m_perHost;
    std::map<std::string, std::unique_ptr<Page>, std::less<>> m_pages;  // not yet taken, by key
    std::vector<Page*> m_moving;  // not yet in, in the order they were added
    std::map<std::string, size_t, std::less<>> m_activePerHost;
    std::map<std::string, FetchFailure, std::less<>> m_failed;
    size_t m_waitingBytes = 0;
};

}  // namespace pagelark
