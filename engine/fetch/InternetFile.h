#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fetch/CurlHandles.h"
#include "engine/fetch/FetchFailure.h"
#include "engine/fetch/SplitUrl.h"

namespace pagelark {

class InternetSession;

// One URL opened in a session: a request and the answer being received. http
// and https answers can be requested again on the same connection (the file
// keeps its connections to itself); other schemes give one answer. Failures
// throw FetchError.
//
// Redirects are followed one request at a time, so a caller can see which
// host each request goes to: an answer that is a redirect has a
// RedirectTarget, and Follow sends the request there with this file's
// cookies and connections. The redirect's own body is never the page.
//
// The transfer moves in the session's event loop. The blocking calls (Open,
// SendRequest) turn that loop until they are through, following redirects on
// their own; a caller that drives the loop itself uses Begin, Finished,
// RedirectTarget and Follow instead.
class InternetFile {
  public:
    InternetFile(InternetSession& session, const UrlParts& url);
    ~InternetFile();
    InternetFile(const InternetFile&) = delete;
    InternetFile& operator=(const InternetFile&) = delete;

    // Sends the request and waits for the answer's headers.
    void Open();
    // Sends the first request without waiting. The page's deadline starts here.
    void Begin();
    bool IsHttp() const;
    // Adds "Name: value" lines (CRLF between them) to the next request,
    // unless a line has no colon or names a header already present; then
    // nothing is added and the answer is false.
    bool AddRequestHeaders(std::string_view text);
    // Sends the request again on the same connection once the previous
    // answer is in, and waits for the new answer's headers.
    void SendRequest();
    // Sends the request again, to the URL the file was opened with, without
    // waiting; the previous answer must be in.
    void Resend();
    // Once Finished: where the answer redirects to (absolute), or empty when
    // it is no redirect or its transfer failed.
    std::string RedirectTarget() const;
    // Sends the request to a redirect's target without waiting. Throws
    // FetchError past the tenth redirect of one request, or when the file
    // already ran out of time.
    void Follow(const std::string& target);
    // Whether the current answer is in, or its transfer failed or ran out of
    // time; ThrowIfFailed tells which.
    bool Finished() const { return m_finished; }
    void ThrowIfFailed() const;
    // After the first answer: throws when no answer came at all (a body
    // broken off only costs the connection).
    void ThrowIfNoAnswer() const;
    // The body of the answer to a resent request (the first answer's body is
    // only read to keep its connection), at most kPageBufferBytes bytes.
    const std::string& Body() const { return m_body; }
    // Whether the body went on past what Body holds.
    bool BodyCut() const { return m_bodyCut; }
    // The HTTP status of the answer (after redirects); 0 for other schemes.
    int Status() const { return m_status; }
    // The answer's Content-Type header, or empty.
    std::string ContentType() const;
    // Ends the transfer, read to its end or not.
    void Close();

    // For the session's event loop.
    CURL* Handle() const { return m_easy.get(); }
    void Finish(CURLcode result);
    void CheckTime(std::chrono::steady_clock::time_point now);

  private:
    enum class BodyUse { Discard, Keep };

    void Start(BodyUse use);
    void OnHeaderLine(std::string_view line);
    void SampleWire(std::chrono::steady_clock::time_point now);
    void WaitForHeaders();
    void Detach();
    void SetHeaderList();
    bool HasHeader(std::string_view name) const;
    size_t Receive(const char* data, size_t size);
    long BytesOnTheWire() const;

    static size_t OnBody(char* data, size_t size, size_t count, void* self);
    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static int OnConnected(void* self, char*, char*, int, int);
    static curl_socket_t OnOpenSocket(void* self, curlsocktype, curl_sockaddr* address);
    static int OnCloseSocket(void* self, curl_socket_t socket);

    InternetSession& m_session;
    const UrlParts m_url;
    CurlShare m_connections;  // this file's own, so a resent request finds its connection
    CurlEasy m_easy;
    CurlSlist m_headerList;
    std::vector<std::string> m_extraHeaders;
    std::vector<curl_socket_t> m_sockets;
    char m_error[CURL_ERROR_SIZE] = {};

    BodyUse m_use = BodyUse::Keep;
    bool m_attached = false;
    bool m_finished = false;
    bool m_bodyStarted = false;
    bool m_connected = false;
    bool m_overLimit = false;
    bool m_bodyCut = false;
    CURLcode m_result = CURLE_OK;
    FetchFailure m_timedOut;  // why the file gave up waiting, if it did
    size_t m_discarded = 0;
    std::string m_body;
    std::string m_currentUrl;  // where the request in progress went
    int m_redirects = 0;       // redirects followed for the current request
    int m_status = 0;          // of the answer being received
    std::string m_location;
    bool m_redirecting = false;  // the answer's headers named a redirect
    bool m_redirectCut = false;  // its body was too long to read on
    size_t m_redirectBody = 0;
    long m_wireBytes = 0;
    std::chrono::steady_clock::time_point m_lastActivity;  // the last byte seen
    std::chrono::steady_clock::time_point m_lastSample;    // of the bytes on the wire
    std::chrono::steady_clock::time_point m_deadline;
};

}  // namespace pagelark
