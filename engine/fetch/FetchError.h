#pragma once

#include <stdexcept>
#include <string>

#include "engine/fetch/FetchFailure.h"

namespace pagelark {

// The one failure the fetch layer throws (name resolution, connection,
// sending, reading, time-outs, cancellation); FetchPage catches it. It says
// why, for the user.
class FetchError : public std::runtime_error {
  public:
    // A failure the user can do nothing about but read: libcurl's words.
    explicit FetchError(const std::string& what)
        : std::runtime_error(what), m_failure{FetchProblem::Other, 0, what} {}
    FetchError(FetchFailure failure, const std::string& what)
        : std::runtime_error(what), m_failure(std::move(failure)) {}

    const FetchFailure& Failure() const { return m_failure; }

  private:
    FetchFailure m_failure;
};

}  // namespace pagelark
