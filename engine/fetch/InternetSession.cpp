#include "engine/fetch/InternetSession.h"

#include <algorithm>
#include <chrono>
#include <mutex>

#include "engine/fetch/FetchError.h"
#include "engine/fetch/InternetFile.h"
#include "engine/fetch/SplitUrl.h"

namespace pagelark {

namespace {

constexpr int kTurnMilliseconds = 50;

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

void InternetSession::Turn() {
    if (Cancelled()) throw FetchError("cancelled");
    CURLM* const multi = m_multi.get();
    // Waiting comes first, so a caller sees what ended as soon as it ended.
    const CURLMcode polled = curl_multi_poll(multi, nullptr, 0, kTurnMilliseconds, nullptr);
    if (polled != CURLM_OK) throw FetchError(curl_multi_strerror(polled));
    if (Cancelled()) throw FetchError("cancelled");
    int running = 0;
    const CURLMcode performed = curl_multi_perform(multi, &running);
    if (performed != CURLM_OK) throw FetchError(curl_multi_strerror(performed));
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg != CURLMSG_DONE) continue;
        const auto found = std::find_if(
            m_attached.begin(), m_attached.end(),
            [&](InternetFile* file) { return file->Handle() == message->easy_handle; });
        if (found != m_attached.end()) (*found)->Finish(message->data.result);
    }
    const auto now = std::chrono::steady_clock::now();
    for (InternetFile* file : m_attached)
        file->CheckTime(now);
}

void InternetSession::Wake() {
    curl_multi_wakeup(m_multi.get());
}

void InternetSession::Attach(InternetFile* file) {
    m_attached.push_back(file);
}

void InternetSession::Detach(InternetFile* file) {
    std::erase(m_attached, file);
}

}  // namespace pagelark
