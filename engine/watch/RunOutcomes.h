#pragma once

#include <vector>

#include "engine/watch/ChangeTracker.h"

namespace pagelark {

class CollectHost;
struct ItemList;

// The outcomes of the rows the last run collected, good or not: a row a
// stopped run did not reach and a disabled row give none, so they keep what
// the earlier runs found.
std::vector<ItemOutcome> RunOutcomes(CollectHost& host, const ItemList& list);

}  // namespace pagelark
