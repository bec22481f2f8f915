#include "engine/fetch/FetchFailure.h"

#include <cerrno>

namespace pagelark {

FetchFailure TransferFailure(CURLcode code, long osErrno, bool connected,
                             long connectTimeoutSeconds, long stallTimeoutSeconds,
                             std::string message) {
    const auto failure = [](FetchProblem problem, long number = 0) {
        return FetchFailure{problem, number, {}};
    };
    switch (code) {
        case CURLE_OK:
            return {};
        case CURLE_UNSUPPORTED_PROTOCOL:
            return failure(FetchProblem::Scheme);
        case CURLE_URL_MALFORMAT:
            return failure(FetchProblem::BadUrl);
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return failure(FetchProblem::HostNotFound);
        case CURLE_COULDNT_CONNECT:
            if (osErrno == ECONNREFUSED) return failure(FetchProblem::Refused);
            if (osErrno == ENETUNREACH || osErrno == EHOSTUNREACH)
                return failure(FetchProblem::Unreachable);
            if (osErrno == ETIMEDOUT) return failure(FetchProblem::NoAnswer, connectTimeoutSeconds);
            return failure(FetchProblem::ConnectFailed);
        case CURLE_OPERATION_TIMEDOUT:
            return failure(FetchProblem::NoAnswer,
                           connected ? stallTimeoutSeconds : connectTimeoutSeconds);
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
            if (osErrno == ECONNRESET || osErrno == EPIPE) return failure(FetchProblem::Reset);
            return failure(FetchProblem::BrokenOff);
        case CURLE_GOT_NOTHING:
            return failure(FetchProblem::Closed);
        case CURLE_PARTIAL_FILE:
            return failure(FetchProblem::BrokenOff);
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_CRL_BADFILE:
            return failure(FetchProblem::Certificate);
        case CURLE_SSL_CONNECT_ERROR:
            return failure(FetchProblem::SecureConnection);
        default:
            return FetchFailure{FetchProblem::Other, 0, std::move(message)};
    }
}

}  // namespace pagelark
