#include "app/editors/PickedPage.h"

#include "engine/collect/ItemRecord.h"
#include "engine/fetch/FetchPage.h"
#include "engine/page/ExtractResult.h"
#include "engine/page/Utf8.h"

namespace pagelark {

PickedPage::PickedPage(std::string url_, std::string bytes_)
    : url(std::move(url_)), bytes(std::move(bytes_)), page(bytes, url, links) {}

std::shared_ptr<const PickedPage> FetchPickedPage(const std::string& url,
                                                  const std::function<bool()>& cancelled) {
    std::string bytes;
    if (!FetchPage(url, bytes, cancelled)) return nullptr;
    if (cancelled && cancelled()) return nullptr;
    return std::make_shared<const PickedPage>(url, std::move(bytes));
}

FilterTry TryFilter(const PickedPage& page, std::string_view filter) {
    const Extraction extraction = ExtractResult(page.page.Flat(), filter);
    return {CutUtf8(extraction.result, kResultBytes), extraction.preview};
}

}  // namespace pagelark
