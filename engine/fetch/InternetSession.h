#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/fetch/CurlHandles.h"
#include "engine/fetch/FetchPage.h"

namespace pagelark {

class InternetFile;
struct UrlParts;

// The network connection of one fetch or one collection run: the agent name,
// the time-outs, the run's cancel question and one event loop in which every
// file opened in the session moves. Nothing is cached between requests.
class InternetSession {
  public:
    InternetSession(std::string agent, FetchSettings settings, std::function<bool()> cancelled);
    InternetSession(const InternetSession&) = delete;
    InternetSession& operator=(const InternetSession&) = delete;

    // Sends the request for `url` and reads the answer's headers. Throws
    // FetchError when that fails. The file must be gone before the session.
    std::unique_ptr<InternetFile> OpenURL(const UrlParts& url);

    // Waits at most 50 ms for something to do, moves every transfer of the
    // session on and tells files whose transfer ended or ran out of time.
    // Throws FetchError once the cancel question answers true.
    void Turn();
    // Ends a Turn's wait at once; safe on any thread.
    void Wake();

    const std::string& Agent() const { return m_agent; }
    const FetchSettings& Settings() const { return m_settings; }
    bool Cancelled() const { return m_cancelled && m_cancelled(); }
    CURLM* Multi() const { return m_multi.get(); }

    // Files register while their transfer is in the event loop.
    void Attach(InternetFile* file);
    void Detach(InternetFile* file);

  private:
    const std::string m_agent;
    const FetchSettings m_settings;
    const std::function<bool()> m_cancelled;
    CurlMulti m_multi;
    std::vector<InternetFile*> m_attached;
};

}  // namespace pagelark
