#pragma once

#include <iostream>
#include <nlohmann/json.hpp>

namespace pagelark::cli {

// Prints a JSON value on one line. Texts from pages or files need not be
// valid UTF-8; bad bytes are printed as U+FFFD rather than failing.
inline void PrintJson(const nlohmann::ordered_json& value) {
    std::cout << value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace pagelark::cli
