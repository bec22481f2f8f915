#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/fetch/CurlHandles.h"
#include "engine/fetch/FetchPage.h"

namespace pagelark {

class InternetFile;
struct UrlParts;

// One fetch's connection to the network: the agent name, the time-outs, the
// run's cancel question and the connections its requests share. Nothing is
// cached between requests.
class InternetSession {
  public:
    InternetSession(std::string agent, FetchSettings settings, std::function<bool()> cancelled);
    InternetSession(const InternetSession&) = delete;
    InternetSession& operator=(const InternetSession&) = delete;

    // Sends the request for `url` and reads the answer's headers. Throws
    // FetchError when that fails. The file must be gone before the session.
    std::unique_ptr<InternetFile> OpenURL(const UrlParts& url);

    const std::string& Agent() const { return m_agent; }
    const FetchSettings& Settings() const { return m_settings; }
    bool Cancelled() const { return m_cancelled && m_cancelled(); }
    CURLM* Multi() const { return m_multi.get(); }

  private:
    const std::string m_agent;
    const FetchSettings m_settings;
    const std::function<bool()> m_cancelled;
    CurlMulti m_multi;
};

}  // namespace pagelark
