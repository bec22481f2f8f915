#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace pagelark {

// What one item gave at the end of a run, as far as change marking needs it.
struct ItemOutcome {
    int number = 0;
    std::string url;
    std::string filter;
    std::string result;
    std::vector<std::string> entryUrls;  // the gathered links of an HREF item, in order
};

// An item's last outcome with the marks it carries until the user has seen it.
struct TrackedItem {
    ItemOutcome last;
    bool changed = false;
    std::set<std::string> newEntryUrls;
};

// Compares each run's outcomes with the previous run's, item by item: an item
// is the same item only with the same number, URL and Filter, so an edited
// item starts over and its first run marks nothing. A changed mark stays
// until cleared, also across later runs that change nothing, so a change is
// not lost to a repeat the user did not watch.
class ChangeTracker {
  public:
    using Items = std::map<int, TrackedItem>;

    // Takes over the items read from a state file (nothing: no earlier run).
    void Restore(Items items) { m_items = std::move(items); }
    void Forget() { m_items.clear(); }

    // Records the outcomes of the items collected in a run; returns the
    // numbers whose Result differs from their previous run's. Items the run did not collect keep
    // their last outcome and marks.
    std::vector<int> Record(const std::vector<ItemOutcome>& outcomes);

    bool IsChanged(int number) const;
    // True when the mark was there.
    bool ClearChanged(int number);
    int ChangedCount() const;
    // The link was not among the item's entries in the run before.
    bool IsNewEntry(int number, const std::string& url) const;

    const Items& Tracked() const { return m_items; }

  private:
    Items m_items;
};

}  // namespace pagelark
