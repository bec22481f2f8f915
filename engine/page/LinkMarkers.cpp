#include "engine/page/LinkMarkers.h"

#include <charconv>

namespace pagelark {

std::string OpeningMarker(int number) {
    char text[16] = "__A";
    char* end = std::to_chars(text + 3, text + sizeof text - 1, number).ptr;
    *end++ = ';';
    return std::string(text, end);
}

}  // namespace pagelark
