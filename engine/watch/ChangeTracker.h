#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/collect/RowReason.h"

namespace pagelark {

// A gathered link of an HREF item: where it goes and what it says.
struct EntryLink {
    std::string url;
    std::string text;  // without its number
    bool operator==(const EntryLink&) const = default;
};

// What one item gave at the end of a run, as far as change marking needs it.
struct ItemOutcome {
    int number = 0;
    std::string url;
    std::string filter;
    std::string result;
    std::vector<EntryLink> entries;  // the gathered links of an HREF item, in order
    RowReason reason;                // why the Result is not a good one (None: it is)
};

// A good Result as it first appeared, with the links that were new with it.
struct HistoryEntry {
    std::string result;
    std::int64_t time = 0;  // seconds since 1970 (UTC); 0 when not known
    std::vector<EntryLink> newEntries;
    bool operator==(const HistoryEntry&) const = default;
};

// An item's last good outcome, its history and the marks it carries until
// the user has seen them.
struct TrackedItem {
    // The item's number, URL and Filter, with the last good Result and links
    // (Result empty and no links before the first good run).
    ItemOutcome last;
    bool changed = false;
    std::set<std::string> newEntryUrls;
    // Distinct good Results, newest first (history[0] is last's); at most
    // ChangeRules::historyLength.
    std::vector<HistoryEntry> history;
    // With confirmation: a new Result seen once, waiting to be seen again.
    std::optional<HistoryEntry> pending;
    // Runs in a row that gave no good Result, and why the last one did not.
    int failures = 0;
    RowReason reason;
    // Reported as needing attention; stays until a good Result comes.
    bool attention = false;
};

struct ChangeRules {
    static constexpr int kMostAttentionRuns = 1000;

    // A new Result counts only when the next run gives it again.
    bool confirm = false;
    // Runs in a row without a good Result before an item needs attention.
    int attentionRuns = 3;
    size_t historyLength = 20;
};

// What a run marked: items whose Result changed, and items that need
// attention since this run (each reported once).
struct RunMarks {
    std::vector<int> changed;
    std::vector<int> attention;
};

// Compares each run's good outcomes with the item's last good one: a failed
// run, an answer with an HTTP error status or an N/A leaves the last good
// Result as it is, so the item is compared with it again at its next good
// run. An item is the same item only with the same number, URL and Filter,
// so an edited item starts over and its first good run marks nothing. A
// changed mark stays until cleared, also across later runs that change
// nothing, so a change is not lost to a repeat the user did not watch.
class ChangeTracker {
  public:
    using Items = std::map<int, TrackedItem>;

    void SetRules(const ChangeRules& rules) { m_rules = rules; }
    const ChangeRules& Rules() const { return m_rules; }

    // Takes over the items read from a state file (nothing: no earlier run).
    void Restore(Items items) { m_items = std::move(items); }
    void Forget() { m_items.clear(); }

    // Records the outcomes of the items collected in a run that ended at
    // `now` (seconds since 1970). Items the run did not collect keep what
    // they had.
    RunMarks Record(const std::vector<ItemOutcome>& outcomes, std::int64_t now);

    bool IsChanged(int number) const;
    // True when the mark was there.
    bool ClearChanged(int number);
    int ChangedCount() const;
    // The link was not among the item's entries in its good run before.
    bool IsNewEntry(int number, const std::string& url) const;
    bool NeedsAttention(int number) const;
    int AttentionCount() const;
    // The item with this number, if it was ever collected.
    const TrackedItem* Find(int number) const;

    const Items& Tracked() const { return m_items; }

  private:
    void RecordGood(TrackedItem& item, const ItemOutcome& outcome, std::int64_t now,
                    RunMarks& marks);

    Items m_items;
    ChangeRules m_rules;
};

}  // namespace pagelark
