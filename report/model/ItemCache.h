#pragma once

#include <array>

#include "report/model/ItemEntry.h"

namespace pagelark {

// Rows fetched from the parent in virtual mode: 128 slots, item i in slot i mod 128.
class ItemCache {
  public:
    static constexpr int kSlots = 128;

    // The cached row of item, or null when its slot holds another item (or the cache is off).
    ItemEntry* Find(int item);
    // Keeps a fetched row in item's slot and returns it. While the cache is off the
    // row is held outside the slots, so switching the cache on finds nothing stale.
    ItemEntry& Store(int item, ItemEntry entry);
    // -2 empties every slot; otherwise item's slot if it holds item.
    void Invalidate(int item);
    // Empties the slots of items at or above count.
    void InvalidateFrom(int count);
    void Enable(bool on);
    bool Enabled() const { return m_enabled; }

  private:
    struct Slot {
        int item = -2;
        ItemEntry entry;
    };
    static size_t SlotOf(int item);

    std::array<Slot, kSlots> m_slots;
    ItemEntry m_uncached;
    bool m_enabled = true;
};

}  // namespace pagelark
