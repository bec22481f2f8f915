#include "files/SnapFile.h"

#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemRows.h"
#include "engine/collect/LinkTable.h"
#include "engine/collect/ResultMaps.h"
#include "engine/page/EntryText.h"
#include "engine/page/TextBytes.h"

namespace pagelark {
namespace {

constexpr size_t kLongestColumnText = 255;

std::string_view ColumnText(const std::string& text) {
    if (text.size() > kLongestColumnText) return {};
    return Trim(text);
}

void AppendWithoutLineFeeds(std::string& out, std::string_view text) {
    for (const char c : text) {
        if (c != '\n') out.push_back(c);
    }
}

}  // namespace

std::string BuildSnapText(ItemRows& rows, const ResultMaps& results, const LinkTable& links) {
    std::string snap;
    const int count = rows.GetItemCount();
    for (int item = 0; item < count; ++item) {
        snap.append(ColumnText(rows.GetItemText(item, 1)));
        snap.push_back(',');
        snap.append(ColumnText(rows.GetItemText(item, 2)));
        snap.push_back(',');
        snap.append(ColumnText(rows.GetItemText(item, 3)));
        snap.append("\r\n");

        // A disabled row still finds what was gathered under its number.
        const int number = ItemNumberFromData(rows.GetItemData(item));
        const std::optional<std::string> entries = results.Entries(ItemKey(number));
        if (!entries) continue;
        for (const EntryPiece& piece : SplitEntries(*entries)) {
            const std::optional<std::string> url = links.Lookup(piece.marker);
            if (!url) continue;
            AppendWithoutLineFeeds(snap, piece.text);
            snap.push_back(',');
            AppendWithoutLineFeeds(snap, *url);
            snap.append("\r\n");
        }
    }
    return snap;
}

}  // namespace pagelark
