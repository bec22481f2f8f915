#include "engine/watch/ChangeTracker.h"

#include <algorithm>

namespace pagelark {
namespace {

// The links of `entries` whose URL is not among `before`'s.
std::vector<EntryLink> NewEntries(const std::vector<EntryLink>& entries,
                                  const std::vector<EntryLink>& before) {
    std::set<std::string_view> known;
    for (const EntryLink& link : before)
        known.insert(link.url);
    std::vector<EntryLink> fresh;
    for (const EntryLink& link : entries) {
        if (!known.contains(link.url)) fresh.push_back(link);
    }
    return fresh;
}

}  // namespace

RunMarks ChangeTracker::Record(const std::vector<ItemOutcome>& outcomes, std::int64_t now) {
    RunMarks marks;
    for (const ItemOutcome& outcome : outcomes) {
        auto found = m_items.find(outcome.number);
        if (found == m_items.end() || found->second.last.url != outcome.url ||
            found->second.last.filter != outcome.filter) {
            TrackedItem fresh;
            fresh.last.number = outcome.number;
            fresh.last.url = outcome.url;
            fresh.last.filter = outcome.filter;
            found = m_items.insert_or_assign(outcome.number, std::move(fresh)).first;
        }
        TrackedItem& item = found->second;
        if (outcome.reason.Good()) {
            RecordGood(item, outcome, now, marks);
            continue;
        }
        // Nothing to compare: the last good Result stays what the next good
        // run is compared with.
        item.reason = outcome.reason;
        if (++item.failures >= std::max(m_rules.attentionRuns, 1) && !item.attention) {
            item.attention = true;
            marks.attention.push_back(outcome.number);
        }
    }
    return marks;
}

void ChangeTracker::RecordGood(TrackedItem& item, const ItemOutcome& outcome, std::int64_t now,
                               RunMarks& marks) {
    item.failures = 0;
    item.attention = false;
    item.reason = {};
    const std::vector<EntryLink> fresh = NewEntries(outcome.entries, item.last.entries);
    if (item.history.empty()) {
        // The first good Result: nothing it could differ from.
        item.history.push_back({outcome.result, now, {}});
        item.last = outcome;
        item.newEntryUrls.clear();
        item.pending.reset();
        return;
    }
    if (outcome.result == item.last.result) {
        // The same Result again; its links may have moved on all the same.
        item.pending.reset();
        item.newEntryUrls.clear();
        for (const EntryLink& link : fresh)
            item.newEntryUrls.insert(link.url);
        item.last = outcome;
        return;
    }
    std::int64_t since = now;
    if (m_rules.confirm) {
        if (!item.pending || item.pending->result != outcome.result) {
            item.pending = HistoryEntry{outcome.result, now, {}};
            return;
        }
        since = item.pending->time;  // when it first appeared
    }
    item.pending.reset();
    item.history.insert(item.history.begin(), HistoryEntry{outcome.result, since, fresh});
    if (item.history.size() > std::max<size_t>(m_rules.historyLength, 1))
        item.history.resize(std::max<size_t>(m_rules.historyLength, 1));
    item.newEntryUrls.clear();
    for (const EntryLink& link : fresh)
        item.newEntryUrls.insert(link.url);
    item.last = outcome;
    item.changed = true;
    marks.changed.push_back(outcome.number);
}

bool ChangeTracker::IsChanged(int number) const {
    const TrackedItem* item = Find(number);
    return item != nullptr && item->changed;
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
    const TrackedItem* item = Find(number);
    return item != nullptr && item->newEntryUrls.contains(url);
}

bool ChangeTracker::NeedsAttention(int number) const {
    const TrackedItem* item = Find(number);
    return item != nullptr && item->attention;
}

int ChangeTracker::AttentionCount() const {
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const auto& item) { return item.second.attention; }));
}

const TrackedItem* ChangeTracker::Find(int number) const {
    const auto found = m_items.find(number);
    return found == m_items.end() ? nullptr : &found->second;
}

}  // namespace pagelark
