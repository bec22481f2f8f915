#pragma once

#include <string>

namespace pagelark {

// Why a page that was to be rendered by the browser engine gave no page.
// The row shows Failed; the worker keeps why as the row's reason (RowReason).
struct RenderFailure {
    enum class Kind {
        Timeout,        // it did not finish loading (and go quiet) before its deadline
        RefusedScheme,  // its address is not http or https, or it led to one that is not
        Other,          // it could not be loaded, or the browser engine could not render it
    };
    Kind kind = Kind::Other;
    std::string detail;  // a few words on what happened, for Other; may be empty
};

}  // namespace pagelark
