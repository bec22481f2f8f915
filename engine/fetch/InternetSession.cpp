#include "engine/fetch/InternetSession.h"

#include <mutex>

#include "engine/fetch/FetchError.h"
#include "engine/fetch/InternetFile.h"
#include "engine/fetch/SplitUrl.h"

namespace pagelark {

namespace {

// libcurl's global set-up is not thread-safe and must run once per process.
void InitCurlOnce() {
    static std::once_flag once;
    static CURLcode result = CURLE_OK;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (result != CURLE_OK) throw FetchError(curl_easy_strerror(result));
}

}  // namespace

InternetSession::InternetSession(std::string agent, FetchSettings settings,
                                 std::function<bool()> cancelled)
    : m_agent(std::move(agent)),
      m_settings(std::move(settings)),
      m_cancelled(std::move(cancelled)) {
    InitCurlOnce();
    m_multi.reset(curl_multi_init());
    if (!m_multi) throw FetchError("cannot create a transfer set");
}

std::unique_ptr<InternetFile> InternetSession::OpenURL(const UrlParts& url) {
    auto file = std::make_unique<InternetFile>(*this, url);
    file->Open();
    return file;
}

}  // namespace pagelark
