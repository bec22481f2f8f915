#include "engine/watch/ChangeTracker.h"

#include <algorithm>

namespace pagelark {

std::vector<int> ChangeTracker::Record(const std::vector<ItemOutcome>& outcomes) {
    std::vector<int> changed;
    for (const ItemOutcome& outcome : outcomes) {
        const auto found = m_items.find(outcome.number);
        const bool same = found != m_items.end() && found->second.last.url == outcome.url &&
                          found->second.last.filter == outcome.filter;
        TrackedItem next;
        next.last = outcome;
        if (same) {
            const TrackedItem& before = found->second;
            next.changed = before.changed;
            if (before.last.result != outcome.result) {
                changed.push_back(outcome.number);
                next.changed = true;
            }
            for (const std::string& url : outcome.entryUrls) {
                if (std::find(before.last.entryUrls.begin(), before.last.entryUrls.end(), url) ==
                    before.last.entryUrls.end())
                    next.newEntryUrls.insert(url);
            }
        }
        m_items[outcome.number] = std::move(next);
    }
    return changed;
}

bool ChangeTracker::IsChanged(int number) const {
    const auto found = m_items.find(number);
    return found != m_items.end() && found->second.changed;
}

bool ChangeTracker::ClearChanged(int number) {
    const auto found = m_items.find(number);
    if (found == m_items.end() || !found->second.changed) return false;
    found->second.changed = false;
    return true;
}

int ChangeTracker::ChangedCount() const {
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const auto& item) { return item.second.changed; }));
}

bool ChangeTracker::IsNewEntry(int number, const std::string& url) const {
    const auto found = m_items.find(number);
    return found != m_items.end() && found->second.newEntryUrls.contains(url);
}

}  // namespace pagelark
