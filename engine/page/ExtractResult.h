#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pagelark {

inline constexpr std::string_view kNotAvailable = "N/A";

// The Result column holds at most this many bytes of an extraction result.
inline constexpr size_t kResultBytes = 128;

// Why a Filter gave "N/A".
enum class FilterMiss {
    None,
    Unreadable,     // fewer than two "#", an empty START or an unknown MODE
    NearNotFound,   // the NEAR text of P2
    StartNotFound,  // START, after the NEAR text when there is one
    EndNotFound,    // END after START (DATA and HREF; PARA runs on)
    NoLinks,        // HREF: no link between START and END with a text long enough
};

// What a Filter gives on a page's flattened text.
struct Extraction {
    // Words (DATA, PARA), "%d Items Found" (HREF) or "N/A".
    std::string result;
    // HREF with at least one link gathered: the entries ("<++<"-separated), the
    // preview text made from them and the number of preview lines (1 to 4).
    // Otherwise empty and 0.
    std::string entries;
    std::string preview;
    int previewLines = 0;
    // Set when the result is "N/A".
    FilterMiss miss = FilterMiss::None;
};

// Applies an item's Filter to the flattened text of its page.
Extraction ExtractResult(std::string_view text, std::string_view filter);

}  // namespace pagelark
