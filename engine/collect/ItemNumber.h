#pragma once

#include <string>

// A row's caller data is the item number, plus kDisabledOffset while the item
// is disabled. These helpers are the only place that arithmetic lives.
namespace pagelark {

inline constexpr int kDisabledOffset = 10000;
inline constexpr int kMaxItemNumber = 9999;

inline bool IsDisabledData(int data) {
    return data >= kDisabledOffset;
}

inline int ItemNumberFromData(int data) {
    return IsDisabledData(data) ? data - kDisabledOffset : data;
}

inline int RowDataFor(int number, bool enabled) {
    return enabled ? number : number + kDisabledOffset;
}

// Map keys and store marks name an item by its number in decimal ("%d").
inline std::string ItemKey(int number) {
    return std::to_string(number);
}

}  // namespace pagelark
