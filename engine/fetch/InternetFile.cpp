#include "engine/fetch/InternetFile.h"

#include <linux/tcp.h>  // the kernel's tcp_info, with the byte count
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>
#include <cstring>

#include "engine/fetch/FetchError.h"
#include "engine/fetch/FetchPage.h"
#include "engine/fetch/InternetSession.h"
#include "engine/page/TextBytes.h"

namespace pagelark {

namespace {

constexpr int kMaxRedirects = 10;
// Bytes below libcurl (a header line not yet complete, a TLS record) are
// looked for this often; what libcurl hands over counts at once.
constexpr std::chrono::milliseconds kWireSampleEvery{100};
// The first answer's body is read only so that its connection can carry the
// second request; past this size, a new connection is cheaper than reading.
constexpr size_t kDiscardLimit = 256 * 1024;
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
    : m_session(session), m_url(url), m_connections(curl_share_init()), m_easy(curl_easy_init()) {
    if (!m_easy || !m_connections) throw FetchError("cannot create a transfer");
    if (curl_share_setopt(m_connections.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT) !=
        CURLSHE_OK)
        throw FetchError("cannot keep connections apart");
    CURL* const easy = m_easy.get();
    const FetchSettings& settings = m_session.Settings();
    SetOption(easy, CURLOPT_SHARE, m_connections.get());
    SetOption(easy, CURLOPT_URL, m_url.url.c_str());
    m_currentUrl = m_url.url;
    SetOption(easy, CURLOPT_USERAGENT, m_session.Agent().c_str());
    SetOption(easy, CURLOPT_PROTOCOLS_STR, kProtocols);
    // Cookies live as long as this file, so the second request carries
    // what the first answer set.
    SetOption(easy, CURLOPT_COOKIEFILE, "");
    SetOption(easy, CURLOPT_NOSIGNAL, 1L);
    // A name lookup still running when the transfer is abandoned is left to
    // finish on its own instead of being waited for, so Stop is never held
    // up by a resolver that does not answer.
    SetOption(easy, CURLOPT_QUICK_EXIT, 1L);
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
    SetOption(easy, CURLOPT_OPENSOCKETFUNCTION, &InternetFile::OnOpenSocket);
    SetOption(easy, CURLOPT_OPENSOCKETDATA, this);
    SetOption(easy, CURLOPT_CLOSESOCKETFUNCTION, &InternetFile::OnCloseSocket);
    SetOption(easy, CURLOPT_CLOSESOCKETDATA, this);
    SetHeaderList();
}

InternetFile::~InternetFile() {
    Close();
    // The connections close while the socket list they report to still lives.
    m_easy.reset();
    m_connections.reset();
}

void InternetFile::Open() {
    Begin();
    WaitForHeaders();
}

void InternetFile::Begin() {
    const long deadline = m_session.Settings().pageDeadlineSeconds;
    m_deadline = deadline > 0 ? std::chrono::steady_clock::now() + std::chrono::seconds(deadline)
                              : std::chrono::steady_clock::time_point::max();
    m_redirects = 0;
    Start(IsHttp() ? BodyUse::Discard : BodyUse::Keep);
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
    while (!m_finished)
        m_session.Turn();
    Resend();
    WaitForHeaders();
}

void InternetFile::Resend() {
    // The previous answer is discarded; a failure there only costs the
    // connection, which the new request then opens afresh. Running out of
    // time is not forgiven.
    if (m_timedOut.Failed()) ThrowIfFailed();
    Detach();
    SetHeaderList();
    SetOption(m_easy.get(), CURLOPT_URL, m_url.url.c_str());
    m_currentUrl = m_url.url;
    m_redirects = 0;
    Start(BodyUse::Keep);
}

std::string InternetFile::RedirectTarget() const {
    if (!m_finished || !m_redirecting || m_timedOut.Failed()) return {};
    if (m_result != CURLE_OK && !m_redirectCut) return {};
    // Resolved against the URL the answer came from, as a browser does.
    const CurlUrl handle(curl_url());
    if (!handle ||
        curl_url_set(handle.get(), CURLUPART_URL, m_currentUrl.c_str(), CURLU_ALLOW_SPACE) !=
            CURLUE_OK ||
        curl_url_set(handle.get(), CURLUPART_URL, m_location.c_str(),
                     CURLU_ALLOW_SPACE | CURLU_URLENCODE) != CURLUE_OK)
        return {};
    char* text = nullptr;
    if (curl_url_get(handle.get(), CURLUPART_URL, &text, 0) != CURLUE_OK) return {};
    const CurlString owner(text);
    return text ? std::string(text) : std::string();
}

void InternetFile::Follow(const std::string& target) {
    if (m_timedOut.Failed()) ThrowIfFailed();
    if (++m_redirects > kMaxRedirects)
        throw FetchError({FetchProblem::TooManyRedirects, kMaxRedirects, {}}, "too many redirects");
    Detach();
    // Schemes other than the four stay refused: the protocol list applies.
    SetOption(m_easy.get(), CURLOPT_URL, target.c_str());
    m_currentUrl = target;
    Start(m_use);
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

void InternetFile::Finish(CURLcode result) {
    m_finished = true;
    m_result = result;
}

void InternetFile::CheckTime(std::chrono::steady_clock::time_point now) {
    if (m_finished) return;
    if (now >= m_deadline) {
        m_timedOut = {FetchProblem::Deadline, m_session.Settings().pageDeadlineSeconds, {}};
        m_finished = true;
        return;
    }
    // Before the connection stands, libcurl's connect time-out applies.
    const long stallSeconds = m_session.Settings().stallTimeoutSeconds;
    if (!m_connected || stallSeconds <= 0) return;
    const std::chrono::seconds stall(stallSeconds);
    // The stall counts from the last byte, whenever it came: the wire is
    // looked at all along, and once more before giving up.
    if (now - m_lastSample >= kWireSampleEvery || now - m_lastActivity >= stall) SampleWire(now);
    if (now - m_lastActivity < stall) return;
    m_timedOut = {FetchProblem::NoAnswer, stallSeconds, {}};
    m_finished = true;
}

void InternetFile::SampleWire(std::chrono::steady_clock::time_point now) {
    m_lastSample = now;
    // Any byte counts, also those of a header line not yet complete.
    const long wire = BytesOnTheWire();
    if (wire == m_wireBytes) return;
    m_wireBytes = wire;
    m_lastActivity = std::max(m_lastActivity, now);
}

void InternetFile::Start(BodyUse use) {
    m_use = use;
    m_finished = false;
    m_bodyStarted = false;
    m_connected = false;
    m_overLimit = false;
    m_bodyCut = false;
    m_result = CURLE_OK;
    m_discarded = 0;
    m_body.clear();
    m_status = 0;
    m_location.clear();
    m_redirecting = false;
    m_redirectCut = false;
    m_redirectBody = 0;
    m_error[0] = '\0';
    m_lastActivity = std::chrono::steady_clock::now();
    m_lastSample = m_lastActivity;
    m_wireBytes = BytesOnTheWire();
    const CURLMcode added = curl_multi_add_handle(m_session.Multi(), m_easy.get());
    if (added != CURLM_OK) throw FetchError(curl_multi_strerror(added));
    m_attached = true;
    m_session.Attach(this);
}

// Waits until the body begins or the answer is complete; by then the headers
// of the final answer (after any redirects) are in.
void InternetFile::WaitForHeaders() {
    while (true) {
        while (!m_bodyStarted && !m_finished)
            m_session.Turn();
        const std::string target = RedirectTarget();
        if (target.empty()) break;
        Follow(target);
    }
    if (m_finished && !m_overLimit && !m_bodyCut) ThrowIfFailed();
}

void InternetFile::Detach() {
    if (!m_attached) return;
    m_session.Detach(this);
    curl_multi_remove_handle(m_session.Multi(), m_easy.get());
    m_attached = false;
}

void InternetFile::ThrowIfFailed() const {
    if (m_timedOut.Failed()) throw FetchError(m_timedOut, "the page took too long");
    if (m_result == CURLE_OK) return;
    // The body was cut on purpose: what came is the page.
    if (m_bodyCut) return;
    const std::string message = m_error[0] ? m_error : curl_easy_strerror(m_result);
    long osErrno = 0;
    curl_easy_getinfo(m_easy.get(), CURLINFO_OS_ERRNO, &osErrno);
    const FetchSettings& settings = m_session.Settings();
    throw FetchError(TransferFailure(m_result, osErrno, m_connected, settings.connectTimeoutSeconds,
                                     settings.stallTimeoutSeconds, message),
                     message);
}

void InternetFile::ThrowIfNoAnswer() const {
    if (!m_bodyStarted && !m_overLimit) ThrowIfFailed();
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
    if (m_redirecting) {
        // Read only to keep the connection; too long, and the redirect is
        // followed on a new one.
        m_redirectBody += size;
        if (m_redirectBody <= kDiscardLimit) return size;
        m_redirectCut = true;
        return 0;
    }
    m_bodyStarted = true;
    if (m_use == BodyUse::Discard) {
        m_discarded += size;
        if (m_discarded <= kDiscardLimit) return size;
        m_overLimit = true;
        return 0;  // ends the transfer and drops its connection
    }
    // The limit counts the bytes as they arrive; converting them to UTF-8
    // later has room of its own.
    const size_t room = kPageBufferBytes - m_body.size();
    try {
        m_body.append(data, std::min(size, room));
    } catch (...) {
        return 0;  // nothing may be thrown through libcurl
    }
    if (size <= room) return size;
    m_bodyCut = true;
    return 0;  // the page is long enough; ending the transfer here
}

long InternetFile::BytesOnTheWire() const {
    long total = 0;
    for (const curl_socket_t socket : m_sockets) {
        tcp_info info{};
        socklen_t size = sizeof info;
        if (getsockopt(socket, IPPROTO_TCP, TCP_INFO, &info, &size) == 0)
            total += static_cast<long>(info.tcpi_bytes_received);
    }
    return total;
}

size_t InternetFile::OnBody(char* data, size_t size, size_t count, void* self) {
    return static_cast<InternetFile*>(self)->Receive(data, size * count);
}

size_t InternetFile::OnHeader(char* data, size_t size, size_t count, void* self) {
    auto* const file = static_cast<InternetFile*>(self);
    file->m_lastActivity = std::chrono::steady_clock::now();
    file->OnHeaderLine(std::string_view(data, size * count));
    return size * count;
}

// Tells a redirect from the page: a 3xx status with a Location, known once
// the headers end. An interim answer (100 Continue) starts over.
void InternetFile::OnHeaderLine(std::string_view line) {
    if (line.starts_with("HTTP/")) {
        const size_t space = line.find(' ');
        m_status = 0;
        if (space != std::string_view::npos && line.size() >= space + 4) {
            for (size_t i = space + 1; i < space + 4; ++i) {
                const char c = line[i];
                m_status = c >= '0' && c <= '9' ? m_status * 10 + (c - '0') : -1000;
            }
        }
        m_location.clear();
        m_redirecting = false;
        return;
    }
    constexpr std::string_view kLocation = "location:";
    if (line.size() > kLocation.size() &&
        EqualsIgnoreCase(line.substr(0, kLocation.size()), kLocation)) {
        m_location = std::string(Trim(line.substr(kLocation.size())));
        return;
    }
    if (Trim(line).empty())
        m_redirecting = m_status >= 300 && m_status <= 399 && !m_location.empty();
}

int InternetFile::OnConnected(void* self, char*, char*, int, int) {
    auto* const file = static_cast<InternetFile*>(self);
    file->m_connected = true;
    file->m_lastActivity = std::chrono::steady_clock::now();
    return CURL_PREREQFUNC_OK;
}

curl_socket_t InternetFile::OnOpenSocket(void* self, curlsocktype, curl_sockaddr* address) {
    const curl_socket_t socket =
        ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    if (socket == CURL_SOCKET_BAD) return socket;
    try {
        static_cast<InternetFile*>(self)->m_sockets.push_back(socket);
    } catch (...) {
        ::close(socket);
        return CURL_SOCKET_BAD;
    }
    return socket;
}

int InternetFile::OnCloseSocket(void* self, curl_socket_t socket) {
    std::erase(static_cast<InternetFile*>(self)->m_sockets, socket);
    return ::close(socket);
}

}  // namespace pagelark
