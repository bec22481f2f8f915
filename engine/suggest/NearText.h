#pragma once

#include <optional>
#include <string_view>

#include "engine/suggest/AnchorKey.h"

namespace pagelark {

class WorkText;

struct NearChoice {
    std::string_view text;
    AnchorKey key;  // digits, unreadable, words and bytes of the text
};

// A NEAR text for a START text that FindText finds too early: START occurs
// at `at`, and last before that at `previous`. The NEAR text is found first
// somewhere in [previous, at), so START is then looked for from just after
// it and found at `at`. It is made of whole words lying between the two
// places (and at most 60 words before START), best by its key, trying at
// most `tries` texts. None if no such text is found.
std::optional<NearChoice> FindNearText(const WorkText& work, long previous, long at, int tries);

}  // namespace pagelark
