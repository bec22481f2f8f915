#pragma once

#include <cstdint>
#include <string>

namespace pagelark {

// One stored row: the encoded subitems and the row-wide fields.
struct ItemEntry {
    std::string subItems;  // SubItemSegments encoding, one segment per column
    int bkColor = -1;      // ColorTable index, -1 none
    int previewHeight = 0;
    int indent = -1;
    uint32_t state = 0;
    int32_t data = 0;
    int node = -1;  // tree node in tree mode
};

}  // namespace pagelark
