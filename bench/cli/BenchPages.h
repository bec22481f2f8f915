#pragma once

#include <string>

#include "tests/support/LocalServer.h"

namespace pagelark::bench {

// A page of exactly `bytes` bytes (at least 200): a "Price: N.G USD" line
// naming `number` and `generation`, then under "Links" `links` links (their
// URLs carry the generation) and text, ending in "End". Compact links are as
// short as links get ("<a href='/1/2?3'>2</a>"), so a page holds thousands.
// The same arguments give the same bytes.
std::string MakeLinkPage(int number, size_t bytes, int links, int generation = 0,
                         bool compact = false);

// A script file text of `items` items on /p/1, /p/2, ... of `server`, each
// with `filter`.
std::string MakeScript(const LocalServer& server, int items, const std::string& filter);

// Writes `text` to a new file in a fresh temporary folder; returns its path.
std::string WriteTempFile(const std::string& name, const std::string& text);

}  // namespace pagelark::bench
