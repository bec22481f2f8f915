#include "engine/collect/RowReasons.h"

namespace pagelark {

void RowReasons::Set(int number, RowReason reason, unsigned run) {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_entries.insert_or_assign(number, Entry{std::move(reason), run});
}

std::optional<RowReasons::Entry> RowReasons::Find(int number) const {
    const std::lock_guard<std::mutex> hold(m_lock);
    const auto found = m_entries.find(number);
    if (found == m_entries.end()) return std::nullopt;
    return found->second;
}

RowReason RowReasons::Of(int number) const {
    std::optional<Entry> entry = Find(number);
    return entry ? std::move(entry->reason) : RowReason{};
}

void RowReasons::Remove(int number) {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_entries.erase(number);
}

void RowReasons::Clear() {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_entries.clear();
}

}  // namespace pagelark
