#include "engine/page/ExtractResult.h"

#include <algorithm>

#include "engine/page/EntryText.h"
#include "engine/page/Filter.h"
#include "engine/page/FlatText.h"
#include "engine/page/GatherLinks.h"
#include "engine/page/TextBytes.h"

namespace pagelark {
namespace {

constexpr int kPreviewMaxLines = 4;

// A HREF parameter is used when it is 1 to 255, else the default.
int HrefParam(const std::vector<std::string>& params, size_t index, int fallback) {
    if (index >= params.size()) return fallback;
    const int value = ReadInt(params[index]);
    return value >= 1 && value <= 255 ? value : fallback;
}

Extraction NotAvailable(FilterMiss miss) {
    return Extraction{std::string(kNotAvailable), {}, {}, 0, miss};
}

}  // namespace

Extraction ExtractResult(std::string_view text, std::string_view filterText) {
    const std::optional<Filter> filter = ParseFilter(filterText);
    if (!filter) return NotAvailable(FilterMiss::Unreadable);

    const bool href = filter->mode == FilterMode::Href;
    const std::string stripped = href ? std::string() : StripMarkers(text);
    const std::string_view work = href ? text : std::string_view(stripped);
    const long length = static_cast<long>(work.size());

    long searchStart = 0;
    if (const std::optional<std::string_view> near = filter->NearText()) {
        const long s = FindText(work, *near, 0);
        if (s == -1) return NotAvailable(FilterMiss::NearNotFound);
        searchStart = s + 1;
    }

    const long p = FindText(work, filter->start, searchStart);
    if (p == -1) return NotAvailable(FilterMiss::StartNotFound);
    const long a = p + static_cast<long>(filter->start.size());
    long b = length;
    if (!filter->end.empty()) {
        b = FindText(work, filter->end, a);
        if (b == -1) {
            if (filter->mode != FilterMode::Para) return NotAvailable(FilterMiss::EndNotFound);
            b = length;
        }
    }
    const std::string_view segment =
        work.substr(static_cast<size_t>(a), static_cast<size_t>(b - a));

    if (href) {
        const GatheredLinks gathered =
            GatherLinks(segment, HrefParam(filter->params, 0, 5), HrefParam(filter->params, 1, 16));
        if (gathered.entries.empty()) return NotAvailable(FilterMiss::NoLinks);
        Extraction out;
        out.result = std::to_string(gathered.count) + " Items Found";
        out.preview = BuildPreview(gathered.entries);
        out.entries = gathered.entries;
        out.previewLines = std::min(gathered.count, kPreviewMaxLines);
        return out;
    }

    const auto& params = filter->params;
    const long first = params.empty() ? -1 : std::max(ReadInt(params[0]), 0);
    const long count = params.size() < 2 ? 1 : std::max(ReadInt(params[1]), 1);
    Extraction out;
    AppendWords(out.result, TrimEnd(segment), first, count);
    return out;
}

}  // namespace pagelark
