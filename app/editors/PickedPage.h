#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/collect/LinkTable.h"
#include "engine/suggest/PickPage.h"

// A page downloaded for the filter builder: the bytes the picker shows and
// the engine's reading of the same bytes, so that what the user selects is
// what the Filter will run on. Built off the window thread, then only read.
namespace pagelark {

struct PickedPage {
    // `bytes`: the page as FetchPage gives it (UTF-8).
    PickedPage(std::string url, std::string bytes);

    const std::string url;
    const std::string bytes;
    LinkTable links;  // the page's own link numbers, not the list's
    const PickPage page;
};

// What a Filter gives on a picked page, as the list would show it.
struct FilterTry {
    std::string result;   // at most a row's 128 bytes
    std::string preview;  // HREF: the first entries, one a line; else empty
};

// Downloads `url` as a run does and reads it; nullptr when it could not be
// fetched or `cancelled` answered true. Slow: never on the window thread.
std::shared_ptr<const PickedPage> FetchPickedPage(const std::string& url,
                                                  const std::function<bool()>& cancelled);

FilterTry TryFilter(const PickedPage& page, std::string_view filter);

}  // namespace pagelark
