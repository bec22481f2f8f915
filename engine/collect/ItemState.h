#pragma once

#include <string_view>

namespace pagelark {

// The image shown in an item's State column; the value is the image index in
// the state image strip.
enum class ItemState : int {
    Ready = 1,
    Done = 2,
    Working = 3,
    Disabled = 4,
    Failed = 5,
};

// "Ready", "Done", ...; an empty text for a value that is not a state.
std::string_view ItemStateName(int image);

}  // namespace pagelark
