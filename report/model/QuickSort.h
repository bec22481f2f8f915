#pragma once

#include <utility>
#include <vector>

namespace pagelark {

// Sorts entries with a recursive quicksort: the pivot is the middle entry and two
// indexes move towards each other, swapping pairs that are out of order. Not
// stable: equal entries may change their relative order.
template <typename Compare>
void QuickSort(std::vector<int>& entries, int low, int high, Compare& compare) {
    while (low < high) {
        const int pivot = entries[static_cast<size_t>(low + (high - low) / 2)];
        int i = low;
        int j = high;
        while (i <= j) {
            // The bounds checks only matter for an inconsistent caller comparison,
            // which must not walk the indexes out of the array.
            while (i < high && compare(entries[static_cast<size_t>(i)], pivot) < 0)
                ++i;
            while (j > low && compare(entries[static_cast<size_t>(j)], pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(entries[static_cast<size_t>(i)], entries[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        }
        // Recurse into the smaller side and loop on the larger, so the stack stays shallow.
        if (j - low < high - i) {
            QuickSort(entries, low, j, compare);
            low = i;
        } else {
            QuickSort(entries, i, high, compare);
            high = j;
        }
    }
}

template <typename Compare>
void QuickSort(std::vector<int>& entries, Compare compare) {
    QuickSort(entries, 0, static_cast<int>(entries.size()) - 1, compare);
}

}  // namespace pagelark
