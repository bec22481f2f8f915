#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

enum class FilterMiss;
struct FetchFailure;
struct RenderFailure;

// Why a row has no good Result: its page could not be had, came with an HTTP
// error status, or its Filter gave N/A. A kind and the number its words need
// (an HTTP status, seconds, bytes); the window and pagelark-cli turn it into
// words, each kind with its own text in the string table.
struct RowReason {
    enum class Kind {
        None,  // a good Result
        // The download failed: the row is Failed.
        NoHost,
        Scheme,
        BadUrl,
        HostNotFound,
        Refused,
        Unreachable,
        ConnectFailed,
        Reset,
        Closed,
        BrokenOff,
        NoAnswer,  // number: seconds
        Deadline,  // number: seconds
        Certificate,
        SecureConnection,
        TooManyRedirects,  // number: redirects allowed
        FetchFailed,       // detail: libcurl's words
        // The page came, but not as asked for: the row is Done.
        HttpStatus,  // number: the status, 400 and above
        PageTooBig,  // number: bytes read; the Filter's texts are not in them
        FilterUnreadable,
        NearNotFound,
        StartNotFound,
        EndNotFound,
        NoLinks,
        // The page was to be rendered by the browser engine and was not: the
        // row is Failed.
        RenderTimeout,  // it did not finish loading (and go quiet) before its deadline
        RenderScheme,   // not http or https, or it led to such an address
        RenderFailed,   // detail: what went wrong (English)
    };

    Kind kind = Kind::None;
    long number = 0;
    std::string detail;  // words that come with the kind as they are (English)

    bool Good() const { return kind == Kind::None; }
    bool operator==(const RowReason&) const = default;
};

// What each kind is called in JSON and the state file, and the number of its
// text in the string table: the text's "%1" stands for the number, or for
// the detail when there is one. Listed in the order of the kinds.
struct RowReasonKindInfo {
    RowReason::Kind kind;
    std::string_view name;
    int stringId;
};

inline constexpr std::array kRowReasonKinds{
    RowReasonKindInfo{RowReason::Kind::None, "", 0},
    RowReasonKindInfo{RowReason::Kind::NoHost, "no-host", 261},
    RowReasonKindInfo{RowReason::Kind::Scheme, "scheme", 262},
    RowReasonKindInfo{RowReason::Kind::BadUrl, "bad-url", 263},
    RowReasonKindInfo{RowReason::Kind::HostNotFound, "host-not-found", 264},
    RowReasonKindInfo{RowReason::Kind::Refused, "refused", 265},
    RowReasonKindInfo{RowReason::Kind::Unreachable, "unreachable", 266},
    RowReasonKindInfo{RowReason::Kind::ConnectFailed, "connect-failed", 267},
    RowReasonKindInfo{RowReason::Kind::Reset, "reset", 268},
    RowReasonKindInfo{RowReason::Kind::Closed, "closed", 269},
    RowReasonKindInfo{RowReason::Kind::BrokenOff, "broken-off", 270},
    RowReasonKindInfo{RowReason::Kind::NoAnswer, "no-answer", 271},
    RowReasonKindInfo{RowReason::Kind::Deadline, "deadline", 272},
    RowReasonKindInfo{RowReason::Kind::Certificate, "certificate", 273},
    RowReasonKindInfo{RowReason::Kind::SecureConnection, "secure-connection", 274},
    RowReasonKindInfo{RowReason::Kind::TooManyRedirects, "too-many-redirects", 275},
    RowReasonKindInfo{RowReason::Kind::FetchFailed, "fetch-failed", 276},
    RowReasonKindInfo{RowReason::Kind::HttpStatus, "http-status", 277},
    RowReasonKindInfo{RowReason::Kind::PageTooBig, "page-too-big", 278},
    RowReasonKindInfo{RowReason::Kind::FilterUnreadable, "filter-unreadable", 279},
    RowReasonKindInfo{RowReason::Kind::NearNotFound, "near-not-found", 280},
    RowReasonKindInfo{RowReason::Kind::StartNotFound, "start-not-found", 281},
    RowReasonKindInfo{RowReason::Kind::EndNotFound, "end-not-found", 282},
    RowReasonKindInfo{RowReason::Kind::NoLinks, "no-links", 283},
    RowReasonKindInfo{RowReason::Kind::RenderTimeout, "render-timeout", 302},
    RowReasonKindInfo{RowReason::Kind::RenderScheme, "render-scheme", 303},
    RowReasonKindInfo{RowReason::Kind::RenderFailed, "render-failed", 304},
};

constexpr bool KindsInOrder() {
    for (size_t i = 0; i < kRowReasonKinds.size(); ++i)
        if (static_cast<size_t>(kRowReasonKinds[i].kind) != i) return false;
    return true;
}
static_assert(KindsInOrder(), "every kind has its row in kRowReasonKinds, in order");

const RowReasonKindInfo& KindInfo(RowReason::Kind kind);
// The kind a JSON name stands for; none for a name no kind has (a newer
// program's), "" included.
std::optional<RowReason::Kind> KindNamed(std::string_view name);

// The kind's text (`pattern`, from the string table) with "%1" filled in.
std::string ReasonWords(const RowReason& reason, std::string_view pattern);

// Why a download failed.
RowReason ReasonOfFetch(const FetchFailure& failure);
// Why a page to be rendered gave none.
RowReason ReasonOfRender(const RenderFailure& failure);
// Why a page that came gives no good Result: its HTTP status, else why the
// Filter gave N/A (in a page that was cut, most likely because of the cut);
// none for a good one.
RowReason ReasonOfPage(int status, bool cut, FilterMiss miss);

}  // namespace pagelark
