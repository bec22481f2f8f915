#pragma once

#include <cstdint>
#include <string>

namespace pagelark {

// One column definition, indexed by subitem number.
struct SubItemDef {
    uint32_t format = 0;  // HDF_* in bits 0-15, header extra flags in 16-23, RCF_* above
    int width = -1;       // negative: the default width
    int minWidth = 0;
    int maxWidth = 0;  // 0 or less: none
    int image = 0;     // kept only with HDF_IMAGE
    std::string text;
};

}  // namespace pagelark
