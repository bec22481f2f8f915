#include "engine/page/Filter.h"

#include "engine/page/TextBytes.h"

namespace pagelark {

std::optional<Filter> ParseFilter(std::string_view text) {
    const size_t f = text.find('#');
    const size_t l = text.rfind('#');
    if (f == std::string_view::npos || l == f) return std::nullopt;

    Filter filter;
    filter.start = Trim(text.substr(0, f));
    filter.end = Trim(text.substr(l + 1));
    if (filter.start.empty()) return std::nullopt;

    size_t e = text.find(',', f + 1);
    if (e == std::string_view::npos) e = text.find('#', f + 1);
    const std::string_view mode = Trim(text.substr(f + 1, e - f - 1));

    // Every "," after the mode ends a parameter, in END too; a last one may
    // end at the next "#".
    for (size_t comma = text.find(',', e + 1); comma != std::string_view::npos;
         comma = text.find(',', e + 1)) {
        filter.params.emplace_back(Trim(text.substr(e + 1, comma - e - 1)));
        e = comma;
    }
    if (const size_t hash = text.find('#', e + 1); hash != std::string_view::npos)
        filter.params.emplace_back(Trim(text.substr(e + 1, hash - e - 1)));

    if (EqualsIgnoreCase(mode, "DATA")) {
        filter.mode = FilterMode::Data;
    } else if (EqualsIgnoreCase(mode, "PARA")) {
        filter.mode = FilterMode::Para;
    } else if (EqualsIgnoreCase(mode, "HREF")) {
        filter.mode = FilterMode::Href;
    } else {
        return std::nullopt;
    }
    return filter;
}

std::optional<std::string_view> Filter::NearText() const {
    if (params.size() < 3) return std::nullopt;
    const std::string_view p2 = params[2];
    if (p2.size() <= 5 || !EqualsIgnoreCase(p2.substr(0, 4), "NEAR") || p2[4] != ' ')
        return std::nullopt;
    return p2.substr(5);
}

}  // namespace pagelark
