#include "engine/page/GatherLinks.h"

#include "engine/page/EntryText.h"
#include "engine/page/FlatText.h"
#include "engine/page/TextBytes.h"

namespace pagelark {

GatheredLinks GatherLinks(std::string_view segment, int most, int least) {
    GatheredLinks gathered;
    const long length = static_cast<long>(segment.size());
    long pos = 0;
    while (pos < length - 1 && gathered.count < most) {
        const LinkAt link = NextLink(segment, pos);
        pos = link.next;
        if (link.next == -1) break;
        // A link whose closing marker ends the segment is not taken.
        if (link.next >= length) continue;
        const std::string_view text = Trim(link.text);
        if (static_cast<long>(text.size()) < least) continue;
        ++gathered.count;
        std::string clean;
        clean.reserve(text.size());
        for (const char c : text) {
            if (c != '\n' && c != '\r' && c != '\t') clean.push_back(c);
        }
        AppendEntry(gathered.entries, link.marker, gathered.count, clean);
    }
    return gathered;
}

}  // namespace pagelark
