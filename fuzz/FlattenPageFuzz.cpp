// Page bytes, a base URL and an output capacity from the fuzzer; the output
// must stay inside its buffer and hold no byte below 31.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "engine/collect/LinkTable.h"
#include "engine/page/FlattenPage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const size_t capacity = input.ConsumeIntegralInRange<size_t>(1, 2 * size + 64);
    const std::string base = input.ConsumeRandomLengthString(80);
    const std::string page = input.ConsumeRemainingBytesAsString();

    std::vector<char> out(capacity);
    size_t length = 0;
    pagelark::LinkTable links;
    if (!pagelark::FlattenPage(page.data(), page.size(), out.data(), out.size(), length, base,
                               links))
        return page.empty() ? 0 : (__builtin_trap(), 0);
    if (length >= capacity || out[length] != '\0') __builtin_trap();
    for (size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(out[i]) < 31) __builtin_trap();
    }
    return 0;
}
