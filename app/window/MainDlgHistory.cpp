// CMainDlg telling what it knows of an item beyond its row: why the row has
// no good Result (its tip) and its history (the detail window's History).

#include "app/window/MainDlg.h"
#include "engine/collect/ItemNumber.h"

namespace pagelark {

const TrackedItem* CMainDlg::CurrentItem(int number) {
    // An edited item starts over at its next run: what was tracked before
    // belongs to another page or Filter.
    const TrackedItem* tracked = m_changes.Find(number);
    if (tracked == nullptr) return nullptr;
    const ItemRecord item = ReadItem(number);
    if (tracked->last.url != item.url || tracked->last.filter != item.filter) return nullptr;
    return tracked;
}

DetailHistory CMainDlg::HistoryOf(int number) {
    DetailHistory history;
    const ItemRecord item = ReadItem(number);
    history.name = item.name;
    history.url = item.url;
    history.filter = item.filter;
    const std::optional<RowReasons::Entry> collected = m_items.reasons.Find(number);
    if (collected) history.reason = collected->reason;
    if (const TrackedItem* tracked = CurrentItem(number)) {
        history.history = tracked->history;
        history.pending = tracked->pending;
        history.attention = tracked->attention;
        history.failures = tracked->failures;
        // Before this window's first run the state file knows why.
        if (!collected) history.reason = tracked->reason;
    }
    return history;
}

QString CMainDlg::RowTipText(int item) {
    const int number = ItemNumberFromData(m_rows.GetItemData(item));
    const DetailHistory history = HistoryOf(number);
    if (history.reason.Good() && !history.attention) return {};
    const HistoryStateLines said = StateLinesOf(history);
    QStringList lines;
    if (!said.reason.isEmpty()) lines << "<b>" + said.reason + "</b>";
    if (!said.attention.isEmpty()) lines << said.attention;
    if (!said.lastGood.isEmpty()) lines << said.lastGood;
    // Rich text, so that a Result that looks like markup is shown as written.
    return "<p style=\"white-space:pre\">" + lines.join("<br/>") + "</p>";
}

}  // namespace pagelark
