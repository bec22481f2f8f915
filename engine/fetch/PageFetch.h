#pragma once

#include <memory>
#include <string>

#include "engine/fetch/SplitUrl.h"

namespace pagelark {

class InternetFile;
class InternetSession;

// One page's download as steps of the session's event loop: the request,
// the same request again on the same connection with the extra header, and
// the second answer's body converted to UTF-8. Many pages can move in one
// session at once.
class PageFetch {
  public:
    PageFetch(InternetSession& session, std::string_view url);
    ~PageFetch();
    PageFetch(const PageFetch&) = delete;
    PageFetch& operator=(const PageFetch&) = delete;

    // Sends the first request; a URL without a host fails here, unsent.
    void Begin();
    // Moves on after a turn of the session; true once the page is done.
    bool Step();
    bool Done() const { return m_stage == Stage::Done || m_stage == Stage::Failed; }
    bool Ok() const { return m_stage == Stage::Done; }
    // The page as UTF-8, once Ok.
    std::string TakeText() { return std::move(m_text); }
    // The host and port the page is asked of, for spreading the load.
    const std::string& HostKey() const { return m_hostKey; }

  private:
    enum class Stage { Waiting, First, Second, Done, Failed };

    void Finish();

    InternetSession& m_session;
    const UrlParts m_url;
    const std::string m_hostKey;
    std::unique_ptr<InternetFile> m_file;
    Stage m_stage = Stage::Waiting;
    std::string m_text;
};

}  // namespace pagelark
