// A state file's text from the fuzzer: reading it never fails loudly, and
// whatever it reads writes back as a file that reads the same again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/StateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto items = pagelark::ParseStateFile(text);
    if (!items) return 0;
    const std::string written = pagelark::StateFileText(*items);
    const auto again = pagelark::ParseStateFile(written);
    if (!again || pagelark::StateFileText(*again) != written) std::abort();
    return 0;
}
