#include "report/model/ItemCache.h"

#include <utility>

namespace pagelark {

size_t ItemCache::SlotOf(int item) {
    // Negative indexes fold the same way as positive ones.
    const int slot = item % kSlots;
    return static_cast<size_t>(slot < 0 ? slot + kSlots : slot);
}

ItemEntry* ItemCache::Find(int item) {
    if (!m_enabled) return nullptr;
    Slot& slot = m_slots[SlotOf(item)];
    return slot.item == item ? &slot.entry : nullptr;
}

ItemEntry& ItemCache::Store(int item, ItemEntry entry) {
    if (!m_enabled) return m_uncached = std::move(entry);
    Slot& slot = m_slots[SlotOf(item)];
    slot.item = item;
    slot.entry = std::move(entry);
    return slot.entry;
}

void ItemCache::Invalidate(int item) {
    if (item == -2) {
        for (Slot& slot : m_slots)
            slot.item = -2;
        return;
    }
    Slot& slot = m_slots[SlotOf(item)];
    if (slot.item == item) slot.item = -2;
}

void ItemCache::InvalidateFrom(int count) {
    for (Slot& slot : m_slots)
        if (slot.item >= count) slot.item = -2;
}

void ItemCache::Enable(bool on) {
    m_enabled = on;
    if (!on) Invalidate(-2);
}

}  // namespace pagelark
