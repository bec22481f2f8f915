#include "engine/page/ExtractResult.h"

#include <algorithm>

#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemRows.h"
#include "engine/collect/ResultMaps.h"
#include "engine/page/EntryText.h"
#include "engine/page/Filter.h"
#include "engine/page/FlatText.h"
#include "engine/page/GatherLinks.h"
#include "engine/page/TextBytes.h"

namespace pagelark {
namespace {

constexpr int kFallbackLineHeight = 56;  // used when the list font cannot be measured
constexpr int kPreviewPadding = 4;
constexpr int kPreviewMaxLines = 4;

// A HREF parameter is used when it is 1 to 255, else the default.
int HrefParam(const std::vector<std::string>& params, size_t index, int fallback) {
    if (index >= params.size()) return fallback;
    const int value = ReadInt(params[index]);
    return value >= 1 && value <= 255 ? value : fallback;
}

std::string StoreLinks(const GatheredLinks& gathered, int row, ItemRows& rows, ResultMaps& maps) {
    const std::string key = ItemKey(rows.GetItemData(row));
    maps.SetEntries(key, gathered.entries);

    int height = rows.GetLineHeight(std::min(gathered.count, kPreviewMaxLines));
    if (height < 0) height = kFallbackLineHeight;
    ReportItemInfo info;
    info.mask = RIF_PREVIEW | RIF_STATE;
    info.item = row;
    info.subItem = 0;
    info.previewHeight = height + kPreviewPadding;
    info.state = 0;
    rows.SetItem(info);

    maps.SetPreview(key, BuildPreview(gathered.entries));
    return std::to_string(gathered.count) + " Items Found";
}

}  // namespace

std::string ExtractResult(std::string_view text, std::string_view filterText, int row,
                          ItemRows& rows, ResultMaps& maps) {
    const std::optional<Filter> filter = ParseFilter(filterText);
    if (!filter) return std::string(kNotAvailable);

    const bool href = filter->mode == FilterMode::Href;
    const std::string stripped = href ? std::string() : StripMarkers(text);
    const std::string_view work = href ? text : std::string_view(stripped);
    const long length = static_cast<long>(work.size());

    long searchStart = 0;
    if (const std::optional<std::string_view> near = filter->NearText()) {
        const long s = FindText(work, *near, 0);
        if (s == -1) return std::string(kNotAvailable);
        searchStart = s + 1;
    }

    const long p = FindText(work, filter->start, searchStart);
    if (p == -1) return std::string(kNotAvailable);
    const long a = p + static_cast<long>(filter->start.size());
    long b = length;
    if (!filter->end.empty()) {
        b = FindText(work, filter->end, a);
        if (b == -1) {
            if (filter->mode != FilterMode::Para) return std::string(kNotAvailable);
            b = length;
        }
    }
    const std::string_view segment =
        work.substr(static_cast<size_t>(a), static_cast<size_t>(b - a));

    if (href) {
        const GatheredLinks gathered =
            GatherLinks(segment, HrefParam(filter->params, 0, 5), HrefParam(filter->params, 1, 16));
        if (gathered.entries.empty()) return std::string(kNotAvailable);
        return StoreLinks(gathered, row, rows, maps);
    }

    const auto& params = filter->params;
    const long first = params.empty() ? -1 : std::max(ReadInt(params[0]), 0);
    const long count = params.size() < 2 ? 1 : std::max(ReadInt(params[1]), 1);
    std::string result;
    AppendWords(result, TrimEnd(segment), first, count);
    return result;
}

}  // namespace pagelark
