#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace pagelark {

// Size of the page buffer the collection worker hands to FetchPage.
inline constexpr size_t kPageBufferBytes = 150000;

struct FetchSettings {
    std::string caFile;  // extra trusted certificates (PEM); empty: the system's store only
    long connectTimeoutSeconds = 60;
    long stallTimeoutSeconds = 60;  // a transfer that receives nothing this long fails
};

// Downloads the page at `url` into `page` (capacity bytes, cleared first),
// converted to UTF-8, and stores the byte count in `length`. True when the
// page was read (a page longer than the buffer is cut at its end, on a UTF-8
// boundary); false for a URL without a host (nothing is sent), a failed
// connection or transfer, or when `cancelled` answers true during the
// transfer. `length` is written only on success. The HTTP status is not
// examined: an error page's body is returned like any other. While the
// transfer runs, `cancelled` is asked at least every 50 ms.
bool FetchPage(char* page, size_t capacity, std::string_view url, size_t& length,
               const std::function<bool()>& cancelled = {}, const FetchSettings& settings = {});

}  // namespace pagelark
