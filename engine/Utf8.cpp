#include "engine/Utf8.h"

namespace pagelark {

static bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Number of bytes a sequence starting with lead byte c claims; 0 if c is not a lead byte.
static size_t SequenceLength(unsigned char c) {
    if (c < 0x80) return 1;
    if ((c & 0xE0) == 0xC0) return 2;
    if ((c & 0xF0) == 0xE0) return 3;
    if ((c & 0xF8) == 0xF0) return 4;
    return 0;
}

size_t Utf8CutLength(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text.size();
    // Back up over at most three continuation bytes to the lead byte of the
    // character that straddles the limit.
    size_t lead = maxBytes;
    while (lead > 0 && maxBytes - lead < 3 &&
           IsContinuation(static_cast<unsigned char>(text[lead])))
        --lead;
    if (lead == maxBytes) return maxBytes;  // the limit falls between characters
    const size_t need = SequenceLength(static_cast<unsigned char>(text[lead]));
    if (need > 1 && lead + need > maxBytes) return lead;  // a whole character would not fit
    return maxBytes;  // not a well-formed sequence: cut at the limit
}

}  // namespace pagelark
