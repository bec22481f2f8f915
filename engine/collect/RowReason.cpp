#include "engine/collect/RowReason.h"

#include "engine/fetch/FetchFailure.h"
#include "engine/fetch/FetchPage.h"
#include "engine/page/ExtractResult.h"
#include "engine/render/RenderFailure.h"

namespace pagelark {

const RowReasonKindInfo& KindInfo(RowReason::Kind kind) {
    const auto index = static_cast<size_t>(kind);
    return kRowReasonKinds[index < kRowReasonKinds.size() ? index : 0];
}

std::optional<RowReason::Kind> KindNamed(std::string_view name) {
    for (const RowReasonKindInfo& info : kRowReasonKinds) {
        if (!name.empty() && info.name == name) return info.kind;
    }
    return std::nullopt;
}

std::string ReasonWords(const RowReason& reason, std::string_view pattern) {
    const std::string filling =
        reason.detail.empty() ? std::to_string(reason.number) : reason.detail;
    std::string words;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.substr(i, 2) == "%1") {
            words += filling;
            ++i;
        } else {
            words += pattern[i];
        }
    }
    return words;
}

RowReason ReasonOfRender(const RenderFailure& failure) {
    using Kind = RowReason::Kind;
    switch (failure.kind) {
        case RenderFailure::Kind::Timeout:
            return {Kind::RenderTimeout, 0, {}};
        case RenderFailure::Kind::RefusedScheme:
            return {Kind::RenderScheme, 0, {}};
        case RenderFailure::Kind::Other:
            break;
    }
    // The text has a place for the detail: it is never left empty.
    return {Kind::RenderFailed, 0,
            failure.detail.empty() ? "the browser engine gave no page" : failure.detail};
}

RowReason ReasonOfFetch(const FetchFailure& failure) {
    using Kind = RowReason::Kind;
    const auto reason = [&](Kind kind) { return RowReason{kind, failure.number, {}}; };
    switch (failure.problem) {
        case FetchProblem::None:
            return {};
        case FetchProblem::NoHost:
            return reason(Kind::NoHost);
        case FetchProblem::Scheme:
            return reason(Kind::Scheme);
        case FetchProblem::BadUrl:
            return reason(Kind::BadUrl);
        case FetchProblem::HostNotFound:
            return reason(Kind::HostNotFound);
        case FetchProblem::Refused:
            return reason(Kind::Refused);
        case FetchProblem::Unreachable:
            return reason(Kind::Unreachable);
        case FetchProblem::ConnectFailed:
            return reason(Kind::ConnectFailed);
        case FetchProblem::Reset:
            return reason(Kind::Reset);
        case FetchProblem::Closed:
            return reason(Kind::Closed);
        case FetchProblem::BrokenOff:
            return reason(Kind::BrokenOff);
        case FetchProblem::NoAnswer:
            return reason(Kind::NoAnswer);
        case FetchProblem::Deadline:
            return reason(Kind::Deadline);
        case FetchProblem::Certificate:
            return reason(Kind::Certificate);
        case FetchProblem::SecureConnection:
            return reason(Kind::SecureConnection);
        case FetchProblem::TooManyRedirects:
            return reason(Kind::TooManyRedirects);
        case FetchProblem::Other:
            break;
    }
    return RowReason{Kind::FetchFailed, 0, failure.detail.empty() ? "?" : failure.detail};
}

RowReason ReasonOfPage(int status, bool cut, FilterMiss miss) {
    using Kind = RowReason::Kind;
    if (status >= 400) return RowReason{Kind::HttpStatus, status, {}};
    switch (miss) {
        case FilterMiss::None:
            return {};
        case FilterMiss::Unreadable:
            return RowReason{Kind::FilterUnreadable, 0, {}};
        case FilterMiss::NoLinks:
            return RowReason{Kind::NoLinks, 0, {}};
        case FilterMiss::NearNotFound:
        case FilterMiss::StartNotFound:
        case FilterMiss::EndNotFound:
            break;
    }
    if (cut) return RowReason{Kind::PageTooBig, static_cast<long>(kPageBufferBytes), {}};
    if (miss == FilterMiss::NearNotFound) return RowReason{Kind::NearNotFound, 0, {}};
    if (miss == FilterMiss::StartNotFound) return RowReason{Kind::StartNotFound, 0, {}};
    return RowReason{Kind::EndNotFound, 0, {}};
}

}  // namespace pagelark
