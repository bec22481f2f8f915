#include "engine/render/RenderFailure.h"

namespace pagelark {

std::string RenderFailureText(const RenderFailure& failure) {
    switch (failure.kind) {
        case RenderFailure::Kind::Timeout:
            return "the page did not finish loading in time";
        case RenderFailure::Kind::RefusedScheme:
            return "refused: only http and https pages are rendered";
        case RenderFailure::Kind::Other:
            break;
    }
    return failure.detail.empty() ? "the page could not be rendered" : failure.detail;
}

}  // namespace pagelark
