#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "engine/collect/RowReason.h"
#include "engine/watch/ChangeTracker.h"

namespace pagelark {

// What the History view shows of an item.
struct DetailHistory {
    std::string name;  // the item as the list defines it
    std::string url;
    std::string filter;
    std::vector<HistoryEntry> history;    // good Results, newest first
    std::optional<HistoryEntry> pending;  // seen once, waiting to be confirmed
    RowReason reason;                     // why the row has no good Result now
    bool attention = false;
    int failures = 0;  // runs in a row without a good Result
};

// The History view's page: rich text whose links are "link:N", N indexing
// `links`.
struct HistoryPage {
    QString html;
    std::vector<std::string> links;
};

// The item's name, URL and Filter, why the row has no good Result, then its
// Results newest first with their times, each with the words added and
// removed since the one before marked and the links that were new with it.
// Every text from a page is escaped.
HistoryPage HistoryHtml(const DetailHistory& history);

// A history time as the view shows it; "time not kept" for 0.
QString HistoryTimeText(std::int64_t time);

// What the History's banner and the row's tip say of an item, each escaped
// and empty when there is nothing to say: why it has no good Result, that it
// needs attention, and its last good Result with its time.
struct HistoryStateLines {
    QString reason;
    QString attention;
    QString lastGood;
};
HistoryStateLines StateLinesOf(const DetailHistory& history);

}  // namespace pagelark
