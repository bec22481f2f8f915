#include "engine/fetch/SplitUrl.h"

#include "engine/fetch/CurlHandles.h"

namespace pagelark {

namespace {

std::string Part(CURLU* handle, CURLUPart which) {
    char* text = nullptr;
    if (curl_url_get(handle, which, &text, 0) != CURLUE_OK) return {};
    const CurlString owner(text);
    return text ? std::string(text) : std::string();
}

}  // namespace

UrlParts SplitUrl(std::string_view text) {
    const std::string url(text);
    if (url.find('\0') != std::string::npos) return {};
    const CurlUrl handle(curl_url());
    if (!handle) return {};
    // Item URLs are typed by people; a space is sent as %20 rather than
    // refused.
    if (curl_url_set(handle.get(), CURLUPART_URL, url.c_str(),
                     CURLU_ALLOW_SPACE | CURLU_URLENCODE) != CURLUE_OK)
        return {};
    UrlParts parts;
    parts.scheme = Part(handle.get(), CURLUPART_SCHEME);
    parts.host = Part(handle.get(), CURLUPART_HOST);
    parts.url = Part(handle.get(), CURLUPART_URL);
    return parts;
}

}  // namespace pagelark
