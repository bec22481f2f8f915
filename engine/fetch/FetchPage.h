#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace pagelark {

// Bytes of a page kept as they are downloaded; the rest is not read.
inline constexpr size_t kPageBufferBytes = 150000;
// Converting to UTF-8 makes at most three bytes of one (a single byte that
// becomes U+FFFD or "€"), so the converted page always fits this.
inline constexpr size_t kConvertedPageBytes = 3 * kPageBufferBytes;

// The user agent every session names.
inline constexpr const char* kAgent = "Pagelark";

struct FetchSettings {
    std::string caFile;  // extra trusted certificates (PEM); empty: the system's store only
    long connectTimeoutSeconds = 60;
    long stallTimeoutSeconds = 60;   // a transfer that receives no byte this long fails
    long pageDeadlineSeconds = 120;  // both requests of a page together; 0: none
};

// Downloads the page at `url` and stores it, converted to UTF-8, in `page`.
// True when the page was read (a page longer than kPageBufferBytes is cut
// there, before conversion); false for a URL without a host (nothing is
// sent), a failed connection or transfer, a page past its deadline, or when
// `cancelled` answers true during the transfer. `page` is written only on
// success. The HTTP status is not examined: an error page's body is returned
// like any other. While the transfer runs, `cancelled` is asked at least
// every 50 ms.
bool FetchPage(std::string_view url, std::string& page, const std::function<bool()>& cancelled = {},
               const FetchSettings& settings = {});

}  // namespace pagelark
