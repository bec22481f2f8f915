#include "engine/page/LinkMarkers.h"

#include <charconv>

namespace pagelark {

std::string OpeningMarker(LinkNumber number) {
    char text[32] = "__A";
    char* end = std::to_chars(text + 3, text + sizeof text - 1, number).ptr;
    *end++ = ';';
    return std::string(text, end);
}

}  // namespace pagelark
