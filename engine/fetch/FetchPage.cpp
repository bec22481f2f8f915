#include "engine/fetch/FetchPage.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine/fetch/FetchError.h"
#include "engine/fetch/InternetFile.h"
#include "engine/fetch/InternetSession.h"
#include "engine/fetch/PageCharset.h"
#include "engine/fetch/SplitUrl.h"

namespace pagelark {

namespace {

constexpr const char* kAgent = "Pagelark";
constexpr size_t kChunkBytes = 1024;

}  // namespace

bool FetchPage(char* page, size_t capacity, std::string_view url, size_t& length,
               const std::function<bool()>& cancelled, const FetchSettings& settings) {
    try {
        InternetSession session(kAgent, settings, cancelled);
        const UrlParts parts = SplitUrl(url);
        if (parts.host.empty()) return false;  // nothing is sent

        const std::unique_ptr<InternetFile> file = session.OpenURL(parts);
        if (!file) return false;
        if (file->IsHttp()) {
            // Refused for want of a colon; the request goes out without it,
            // as it always has.
            (void)file->AddRequestHeaders(kAgent);
            file->SendRequest();
        }

        char chunk[kChunkBytes] = {};
        if (capacity > 0) std::memset(page, 0, capacity);
        size_t total = 0;
        // A page longer than the buffer is cut at its end; closing the file
        // then ends the transfer.
        while (total < capacity) {
            const size_t got = file->Read(chunk, std::min(kChunkBytes - 1, capacity - total));
            if (got == 0) break;
            std::memcpy(page + total, chunk, got);
            total += got;
        }
        const std::string contentType = file->ContentType();
        file->Close();

        const std::string text =
            DecodePage(std::string_view(page, total), contentType, capacity, total == capacity);
        std::memcpy(page, text.data(), text.size());
        if (text.size() < total) std::memset(page + text.size(), 0, total - text.size());
        length = text.size();
        return true;
    } catch (const FetchError&) {
        return false;
    }
}

}  // namespace pagelark
