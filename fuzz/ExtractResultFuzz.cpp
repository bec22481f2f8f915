// A Filter and a page from the fuzzer. The page is applied both flattened and
// raw (raw text has line breaks and stray markers that flattening removes).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "engine/collect/ItemList.h"
#include "engine/collect/MemoryRows.h"
#include "engine/collect/StoreExtraction.h"
#include "engine/page/ExtractResult.h"
#include "engine/page/FlattenPage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string filter = input.ConsumeRandomLengthString(200);
    const std::string page = input.ConsumeRemainingBytesAsString();

    pagelark::ItemList list;
    pagelark::MemoryRows rows(input.remaining_bytes() % 2 ? 14 : -1);
    const int row = rows.AppendRow(1);

    std::vector<char> out(page.size() * 2 + 64);
    size_t length = 0;
    std::string flat;
    if (pagelark::FlattenPage(page.data(), page.size(), out.data(), out.size(), length,
                              "http://h/d/p.html", list.links))
        flat.assign(out.data(), length);

    const std::string_view texts[] = {flat, page};
    for (const std::string_view text : texts) {
        const pagelark::Extraction extraction = pagelark::ExtractResult(text, filter);
        pagelark::StoreExtraction(extraction, row, rows, list.results);
        const std::string& result = extraction.result;
        // HREF gathers 1 to 255 links.
        if (result.ends_with(" Items Found")) {
            const int count = std::atoi(result.c_str());
            if (count < 1 || count > 255) __builtin_trap();
        }
    }
    return 0;
}
