#pragma once

#include <curl/curl.h>

#include <string>

namespace pagelark {

// Why a page could not be had, in terms a user can act on.
enum class FetchProblem {
    None,
    NoHost,            // the URL names no host; nothing was sent
    Scheme,            // not http, https, ftp or ftps (also where a redirect led)
    BadUrl,            // the URL cannot be read
    HostNotFound,      // the name does not resolve
    Refused,           // nothing listens there
    Unreachable,       // no route to the host
    ConnectFailed,     // any other failed connection
    Reset,             // the server reset the connection
    Closed,            // the server closed the connection without an answer
    BrokenOff,         // the answer stopped before its end
    NoAnswer,          // number: seconds without a byte (or without a connection)
    Deadline,          // number: seconds the page may take in all
    Certificate,       // the server's certificate was refused
    SecureConnection,  // the TLS handshake failed otherwise
    TooManyRedirects,  // number: the redirects allowed
    Other,             // detail: libcurl's words
};

struct FetchFailure {
    FetchProblem problem = FetchProblem::None;
    long number = 0;
    std::string detail;

    bool Failed() const { return problem != FetchProblem::None; }
};

// What a finished transfer's result means. `osErrno` is the system's error
// of the connection (CURLINFO_OS_ERRNO); `connected` says whether the
// connection stood, so a time-out is the connection's or the answer's.
FetchFailure TransferFailure(CURLcode code, long osErrno, bool connected,
                             long connectTimeoutSeconds, long stallTimeoutSeconds,
                             std::string message);

}  // namespace pagelark
