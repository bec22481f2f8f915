#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fetch/CurlHandles.h"
#include "engine/fetch/SplitUrl.h"

namespace pagelark {

class InternetSession;

// One URL opened in a session: a request and the answer being read. http and
// https answers can be requested again on the same connection; other schemes
// give one answer. Failures throw FetchError.
//
// The transfer runs in the session's multi handle and only moves while this
// object waits for it, in turns of at most 50 ms between which the session's
// cancel question is asked.
class InternetFile {
  public:
    InternetFile(InternetSession& session, const UrlParts& url);
    ~InternetFile();
    InternetFile(const InternetFile&) = delete;
    InternetFile& operator=(const InternetFile&) = delete;

    // Sends the request and waits for the answer's headers.
    void Open();
    bool IsHttp() const;
    // Adds "Name: value" lines (CRLF between them) to the next request,
    // unless a line has no colon or names a header already present; then
    // nothing is added and the answer is false.
    bool AddRequestHeaders(std::string_view text);
    // Sends the request again on the same connection once the previous
    // answer is read; what Read returns from then on is the new answer.
    void SendRequest();
    // Up to `count` bytes of the answer's body; 0 at its end.
    size_t Read(char* buffer, size_t count);
    // The answer's Content-Type header, or empty.
    std::string ContentType() const;
    // Ends the transfer, read to its end or not.
    void Close();

  private:
    enum class BodyUse { Discard, Keep };

    void Start(BodyUse use);
    void WaitForHeaders();
    void Turn();
    void Detach();
    void ThrowIfFailed() const;
    void SetHeaderList();
    bool HasHeader(std::string_view name) const;
    size_t Receive(const char* data, size_t size);

    static size_t OnBody(char* data, size_t size, size_t count, void* self);
    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static int OnConnected(void* self, char*, char*, int, int);

    InternetSession& m_session;
    const UrlParts m_url;
    CurlEasy m_easy;
    CurlSlist m_headerList;
    std::vector<std::string> m_extraHeaders;
    char m_error[CURL_ERROR_SIZE] = {};

    BodyUse m_use = BodyUse::Keep;
    bool m_attached = false;
    bool m_finished = false;
    bool m_paused = false;
    bool m_bodyStarted = false;
    bool m_connected = false;
    bool m_overLimit = false;
    CURLcode m_result = CURLE_OK;
    size_t m_discarded = 0;
    std::string m_pending;  // received, not yet read
    size_t m_pendingPos = 0;
    std::chrono::steady_clock::time_point m_lastActivity;
};

}  // namespace pagelark
