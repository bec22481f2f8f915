#include "cli/FlattenFile.h"

#include <vector>

#include "engine/collect/LinkTable.h"
#include "engine/page/FlattenPage.h"

namespace pagelark::cli {

std::string FlattenWhole(std::string_view page, std::string_view base, LinkTable& links) {
    std::vector<char> out(page.size() * 2 + 64);
    size_t length = 0;
    if (!FlattenPage(page.data(), page.size(), out.data(), out.size(), length, base, links))
        return {};
    return std::string(out.data(), length);
}

}  // namespace pagelark::cli
