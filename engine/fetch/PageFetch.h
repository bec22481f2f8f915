#pragma once

#include <memory>
#include <string>

#include "engine/fetch/FetchFailure.h"
#include "engine/fetch/SplitUrl.h"

namespace pagelark {

class InternetFile;
class InternetSession;

// One page's download as steps of the session's event loop: the request,
// the same request again on the same connection with the extra header, and
// the second answer's body converted to UTF-8. Many pages can move in one
// session at once.
//
// Each request, and each redirect of one, goes to a host; a caller that
// spreads the load sees the fetch Waiting before every request that goes to
// another host than the one before, and lets it Go when that host has room.
class PageFetch {
  public:
    PageFetch(InternetSession& session, std::string_view url);
    ~PageFetch();
    PageFetch(const PageFetch&) = delete;
    PageFetch& operator=(const PageFetch&) = delete;

    // Whether the next request waits to be sent (to HostKey()): at first,
    // and after an answer that sends it to another host.
    bool Waiting() const { return m_waiting; }
    // Sends the waiting request; a URL without a host fails here, unsent.
    void Go();
    // Moves on after a turn of the session; true once the page is done.
    bool Step();
    bool Done() const { return m_stage == Stage::Done || m_stage == Stage::Failed; }
    bool Ok() const { return m_stage == Stage::Done; }
    // The page as UTF-8, once Ok.
    std::string TakeText() { return std::move(m_text); }
    // Once Ok: the answer's HTTP status (0 for ftp), and whether the page
    // went on past the bytes kept.
    int Status() const { return m_status; }
    bool Cut() const { return m_cut; }
    // Once done and not Ok: why.
    const FetchFailure& Failure() const { return m_failure; }
    // The host and port the current or waiting request goes to.
    const std::string& HostKey() const { return m_hostKey; }

  private:
    enum class Stage { First, Second, Done, Failed };
    enum class Next { Begin, Follow, Resend };

    // The next request goes to `url`: at once on the same host, else it waits.
    void Then(Next next, std::string url);
    void Send();
    void Finish();

    InternetSession& m_session;
    const UrlParts m_url;
    std::unique_ptr<InternetFile> m_file;
    Stage m_stage = Stage::First;
    bool m_waiting = true;
    Next m_next = Next::Begin;
    std::string m_nextUrl;
    std::string m_hostKey;
    std::string m_text;
    int m_status = 0;
    bool m_cut = false;
    FetchFailure m_failure;
};

}  // namespace pagelark
