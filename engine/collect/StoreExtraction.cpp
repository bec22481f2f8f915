#include "engine/collect/StoreExtraction.h"

#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemRows.h"
#include "engine/collect/ResultMaps.h"
#include "engine/page/ExtractResult.h"

namespace pagelark {
namespace {

constexpr int kFallbackLineHeight = 56;  // used when the list font cannot be measured
constexpr int kPreviewPadding = 4;

}  // namespace

void StoreExtraction(const Extraction& extraction, int row, ItemRows& rows, ResultMaps& maps) {
    if (extraction.entries.empty()) return;
    const std::string key = ItemKey(rows.GetItemData(row));
    maps.SetEntries(key, extraction.entries);

    int height = rows.GetLineHeight(extraction.previewLines);
    if (height < 0) height = kFallbackLineHeight;
    ReportItemInfo info;
    info.mask = RIF_PREVIEW | RIF_STATE;
    info.item = row;
    info.subItem = 0;
    info.previewHeight = height + kPreviewPadding;
    info.state = 0;
    rows.SetItem(info);

    maps.SetPreview(key, extraction.preview);
}

}  // namespace pagelark
