#include "engine/collect/ItemState.h"

namespace pagelark {

std::string_view ItemStateName(int image) {
    switch (image) {
        case static_cast<int>(ItemState::Ready):
            return "Ready";
        case static_cast<int>(ItemState::Done):
            return "Done";
        case static_cast<int>(ItemState::Working):
            return "Working";
        case static_cast<int>(ItemState::Disabled):
            return "Disabled";
        case static_cast<int>(ItemState::Failed):
            return "Failed";
        default:
            return {};
    }
}

}  // namespace pagelark
