// Page bytes, a Content-Type value and an output limit from the fuzzer; the
// decoded page must be well-formed UTF-8 no longer than the limit.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "engine/fetch/PageCharset.h"

namespace {

bool IsUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        size_t need = 0;
        uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            need = 1;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            need = 2;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            need = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (text.size() - i <= need) return false;
        for (size_t k = 1; k <= need; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[need] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += need + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const size_t limit = input.ConsumeIntegralInRange<size_t>(0, 4 * size + 16);
    const bool cut = input.ConsumeBool();
    const std::string contentType = input.ConsumeRandomLengthString(64);
    const std::string page = input.ConsumeRemainingBytesAsString();

    const std::string text = pagelark::DecodePage(page, contentType, limit, cut);
    if (text.size() > limit || !IsUtf8(text)) __builtin_trap();
    return 0;
}
