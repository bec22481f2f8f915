#include "engine/fetch/InternetFile.h"

#include <algorithm>
#include <cstring>

#include "engine/fetch/FetchError.h"
#include "engine/fetch/InternetSession.h"
#include "engine/page/TextBytes.h"

namespace pagelark {

namespace {

constexpr int kTurnMilliseconds = 50;
constexpr long kMaxRedirects = 10;
// The first answer's body is read only so that its connection can carry the
// second request; past this size, a new connection is cheaper than reading.
constexpr size_t kDiscardLimit = 256 * 1024;
// Received bytes held for Read; beyond this the transfer pauses.
constexpr size_t kPendingLimit = 64 * 1024;
// No local file or other protocol may be reached, not even by a redirect.
constexpr const char* kProtocols = "http,https,ftp,ftps";
constexpr std::string_view kDefaultHeaders[] = {"Cache-Control: no-cache", "Pragma: no-cache"};
// Headers every request carries; AddRequestHeaders does not add them again.
constexpr std::string_view kPresentHeaders[] = {"Host", "User-Agent", "Accept", "Cache-Control",
                                                "Pragma"};

template <typename T>
void SetOption(CURL* easy, CURLoption option, T value) {
    const CURLcode result = curl_easy_setopt(easy, option, value);
    if (result != CURLE_OK) throw FetchError(curl_easy_strerror(result));
}

}  // namespace

InternetFile::InternetFile(InternetSession& session, const UrlParts& url)
    : m_session(session), m_url(url), m_easy(curl_easy_init()) {
    if (!m_easy) throw FetchError("cannot create a transfer");
    CURL* const easy = m_easy.get();
    const FetchSettings& settings = m_session.Settings();
    SetOption(easy, CURLOPT_URL, m_url.url.c_str());
    SetOption(easy, CURLOPT_USERAGENT, m_session.Agent().c_str());
    SetOption(easy, CURLOPT_PROTOCOLS_STR, kProtocols);
    SetOption(easy, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
    SetOption(easy, CURLOPT_FOLLOWLOCATION, 1L);
    SetOption(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    // Cookies live as long as this file, so the second request carries
    // what the first answer set.
    SetOption(easy, CURLOPT_COOKIEFILE, "");
    SetOption(easy, CURLOPT_NOSIGNAL, 1L);
    SetOption(easy, CURLOPT_CONNECTTIMEOUT, settings.connectTimeoutSeconds);
    SetOption(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, settings.stallTimeoutSeconds);
    // Replaces the built-in bundle file; the built-in certificate folder
    // (the system store) stays in use.
    if (!settings.caFile.empty()) SetOption(easy, CURLOPT_CAINFO, settings.caFile.c_str());
    SetOption(easy, CURLOPT_ERRORBUFFER, m_error);
    SetOption(easy, CURLOPT_WRITEFUNCTION, &InternetFile::OnBody);
    SetOption(easy, CURLOPT_WRITEDATA, this);
    SetOption(easy, CURLOPT_HEADERFUNCTION, &InternetFile::OnHeader);
    SetOption(easy, CURLOPT_HEADERDATA, this);
    SetOption(easy, CURLOPT_PREREQFUNCTION, &InternetFile::OnConnected);
    SetOption(easy, CURLOPT_PREREQDATA, this);
    SetHeaderList();
}

InternetFile::~InternetFile() {
    Close();
}

void InternetFile::Open() {
    Start(IsHttp() ? BodyUse::Discard : BodyUse::Keep);
    WaitForHeaders();
}

bool InternetFile::IsHttp() const {
    return m_url.scheme == "http" || m_url.scheme == "https";
}

bool InternetFile::AddRequestHeaders(std::string_view text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 2;
        if (line.empty()) continue;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) return false;
        const std::string_view name = Trim(line.substr(0, colon));
        if (name.empty() || line.find_first_of(std::string_view("\r\n\0", 3)) != line.npos)
            return false;
        if (HasHeader(name)) return false;
        for (const std::string& added : lines) {
            if (EqualsIgnoreCase(Trim(std::string_view(added).substr(0, added.find(':'))), name))
                return false;
        }
        lines.emplace_back(line);
    }
    m_extraHeaders.insert(m_extraHeaders.end(), lines.begin(), lines.end());
    return true;
}

void InternetFile::SendRequest() {
    // Finish reading the previous answer (it is discarded); a failure there
    // only costs the connection, which the new request then opens afresh.
    while (!m_finished)
        Turn();
    Detach();
    SetHeaderList();
    Start(BodyUse::Keep);
    WaitForHeaders();
}

size_t InternetFile::Read(char* buffer, size_t count) {
    while (m_pendingPos == m_pending.size() && !m_finished && m_attached) {
        if (m_paused) {
            m_paused = false;
            curl_easy_pause(m_easy.get(), CURLPAUSE_CONT);  // may deliver data at once
        } else {
            Turn();
        }
    }
    const size_t n = std::min(count, m_pending.size() - m_pendingPos);
    if (n == 0) {
        ThrowIfFailed();
        return 0;
    }
    std::memcpy(buffer, m_pending.data() + m_pendingPos, n);
    m_pendingPos += n;
    return n;
}

std::string InternetFile::ContentType() const {
    char* type = nullptr;
    if (curl_easy_getinfo(m_easy.get(), CURLINFO_CONTENT_TYPE, &type) != CURLE_OK || !type)
        return {};
    return type;
}

void InternetFile::Close() {
    Detach();
}

void InternetFile::Start(BodyUse use) {
    m_use = use;
    m_finished = false;
    m_paused = false;
    m_bodyStarted = false;
    m_connected = false;
    m_overLimit = false;
    m_result = CURLE_OK;
    m_discarded = 0;
    m_pending.clear();
    m_pendingPos = 0;
    m_error[0] = '\0';
    m_lastActivity = std::chrono::steady_clock::now();
    const CURLMcode added = curl_multi_add_handle(m_session.Multi(), m_easy.get());
    if (added != CURLM_OK) throw FetchError(curl_multi_strerror(added));
    m_attached = true;
}

// Waits until the body begins or the answer is complete; by then the headers
// of the final answer (after any redirects) are in.
void InternetFile::WaitForHeaders() {
    while (!m_bodyStarted && !m_finished)
        Turn();
    if (m_finished && !m_overLimit) ThrowIfFailed();
}

void InternetFile::Turn() {
    if (m_session.Cancelled()) throw FetchError("cancelled");
    CURLM* const multi = m_session.Multi();
    int running = 0;
    const CURLMcode performed = curl_multi_perform(multi, &running);
    if (performed != CURLM_OK) throw FetchError(curl_multi_strerror(performed));
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == m_easy.get()) {
            m_finished = true;
            m_result = message->data.result;
        }
    }
    if (m_finished) return;
    // Before the connection stands, libcurl's connect time-out applies.
    const long stallSeconds = m_session.Settings().stallTimeoutSeconds;
    const auto silence = std::chrono::steady_clock::now() - m_lastActivity;
    if (m_connected && !m_paused && stallSeconds > 0 &&
        silence >= std::chrono::seconds(stallSeconds))
        throw FetchError("no data received in time");
    const CURLMcode polled = curl_multi_poll(multi, nullptr, 0, kTurnMilliseconds, nullptr);
    if (polled != CURLM_OK) throw FetchError(curl_multi_strerror(polled));
}

void InternetFile::Detach() {
    if (!m_attached) return;
    curl_multi_remove_handle(m_session.Multi(), m_easy.get());
    m_attached = false;
}

void InternetFile::ThrowIfFailed() const {
    if (m_result == CURLE_OK) return;
    throw FetchError(m_error[0] ? m_error : curl_easy_strerror(m_result));
}

void InternetFile::SetHeaderList() {
    CurlSlist list;
    const auto append = [&list](const std::string& line) {
        curl_slist* const head = curl_slist_append(list.get(), line.c_str());
        if (!head) throw FetchError("out of memory");
        (void)list.release();
        list.reset(head);
    };
    for (const std::string_view line : kDefaultHeaders)
        append(std::string(line));
    for (const std::string& line : m_extraHeaders)
        append(line);
    SetOption(m_easy.get(), CURLOPT_HTTPHEADER, list.get());
    m_headerList = std::move(list);
}

bool InternetFile::HasHeader(std::string_view name) const {
    for (const std::string_view present : kPresentHeaders) {
        if (EqualsIgnoreCase(present, name)) return true;
    }
    for (const std::string& line : m_extraHeaders) {
        if (EqualsIgnoreCase(Trim(std::string_view(line).substr(0, line.find(':'))), name))
            return true;
    }
    return false;
}

size_t InternetFile::Receive(const char* data, size_t size) {
    m_lastActivity = std::chrono::steady_clock::now();
    m_bodyStarted = true;
    if (m_use == BodyUse::Discard) {
        m_discarded += size;
        if (m_discarded <= kDiscardLimit) return size;
        m_overLimit = true;
        return 0;  // ends the transfer and drops its connection
    }
    if (m_pending.size() - m_pendingPos >= kPendingLimit) {
        m_paused = true;
        return CURL_WRITEFUNC_PAUSE;  // libcurl keeps the bytes and offers them again
    }
    try {
        m_pending.erase(0, m_pendingPos);
        m_pendingPos = 0;
        m_pending.append(data, size);
    } catch (...) {
        return 0;  // nothing may be thrown through libcurl
    }
    return size;
}

size_t InternetFile::OnBody(char* data, size_t size, size_t count, void* self) {
    return static_cast<InternetFile*>(self)->Receive(data, size * count);
}

size_t InternetFile::OnHeader(char*, size_t size, size_t count, void* self) {
    static_cast<InternetFile*>(self)->m_lastActivity = std::chrono::steady_clock::now();
    return size * count;
}

int InternetFile::OnConnected(void* self, char*, char*, int, int) {
    auto* const file = static_cast<InternetFile*>(self);
    file->m_connected = true;
    file->m_lastActivity = std::chrono::steady_clock::now();
    return CURL_PREREQFUNC_OK;
}

}  // namespace pagelark
