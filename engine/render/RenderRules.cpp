#include "engine/render/RenderRules.h"

#include "engine/fetch/FetchPage.h"
#include "engine/fetch/SplitUrl.h"
#include "engine/page/TextBytes.h"
#include "engine/page/Utf8.h"

namespace pagelark {

std::chrono::milliseconds RenderDeadline(long pageDeadlineSeconds) {
    if (pageDeadlineSeconds <= 0) return kRenderLimitWithoutDeadline;
    return std::chrono::seconds(pageDeadlineSeconds);
}

std::optional<std::string> RenderableUrl(std::string_view url) {
    const UrlParts parts = SplitUrl(Trim(url));
    if ((parts.scheme != "http" && parts.scheme != "https") || parts.host.empty())
        return std::nullopt;
    return parts.url;
}

void KeepRenderedBytes(std::string& html) {
    if (html.size() <= kPageBufferBytes) return;
    html = CutUtf8(html, kPageBufferBytes);
}

}  // namespace pagelark
