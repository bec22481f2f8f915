#pragma once

#include <map>
#include <mutex>
#include <optional>

#include "engine/collect/RowReason.h"

namespace pagelark {

// Item number -> why its row has no good Result, and the run that found it
// out (a good row has a reason of kind None). A row a stopped run did not
// reach keeps what an earlier run found; the run's serial tells them apart.
class RowReasons {
  public:
    struct Entry {
        RowReason reason;
        unsigned run = 0;
    };

    void Set(int number, RowReason reason, unsigned run);
    std::optional<Entry> Find(int number) const;
    // The reason of a row that has one, else a good (None) one.
    RowReason Of(int number) const;
    void Remove(int number);
    void Clear();

  private:
    mutable std::mutex m_lock;
    std::map<int, Entry> m_entries;
};

}  // namespace pagelark
