#pragma once

#include <stdexcept>
#include <string>

namespace pagelark {

// The one failure the fetch layer throws (name resolution, connection,
// sending, reading, time-outs, cancellation); FetchPage catches it.
class FetchError : public std::runtime_error {
  public:
    explicit FetchError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace pagelark
