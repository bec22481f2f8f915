#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// What bounds rendering pages with the browser engine, wherever it runs.

// Pages rendered at once by one run (each is a browser page and its process).
inline constexpr int kMaxRendersAtOnce = 2;
// A page counts as loaded once it finished loading and its network has been
// quiet this long: scripts that write the page just after the load are done.
inline constexpr std::chrono::milliseconds kRenderQuiet{500};
// A browser page is made anew after this many loads, so what pages leave
// behind in it does not pile up over a long run.
inline constexpr int kLoadsPerRenderPage = 20;
// A render with no page deadline (0) still ends: a page that never goes quiet
// would hold its row, and the browser, for ever.
inline constexpr std::chrono::seconds kRenderLimitWithoutDeadline{300};

// The time a render may take for the run's page deadline in seconds (0: none).
std::chrono::milliseconds RenderDeadline(long pageDeadlineSeconds);

// The address a browser page may load for an item's URL: http and https
// with a host only, as libcurl reads the URL (spaces percent-encoded);
// nothing for any other URL.
std::optional<std::string> RenderableUrl(std::string_view url);

// A rendered page is read as a downloaded one is: its first 150000 bytes,
// cut on a character boundary.
void KeepRenderedBytes(std::string& html);

}  // namespace pagelark
