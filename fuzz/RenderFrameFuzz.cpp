// Bytes from the render helper's socket, fed in pieces of the fuzzer's
// choosing: every frame read back is whole, within the payload limit, and
// reads back the same once written again; a broken stream gives nothing more.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "engine/render/RenderProtocol.h"

namespace {

bool Same(const pagelark::RenderFrame& a, const pagelark::RenderFrame& b) {
    return a.type == b.type && a.ticket == b.ticket && a.number == b.number &&
           a.payload == b.payload;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    pagelark::RenderFrameReader reader;
    while (input.remaining_bytes() > 0) {
        const size_t piece = input.ConsumeIntegralInRange<size_t>(1, 4096);
        reader.Feed(input.ConsumeBytesAsString(piece));
        while (const std::optional<pagelark::RenderFrame> frame = reader.Next()) {
            if (reader.Broken()) __builtin_trap();
            if (frame->payload.size() > pagelark::kMaxRenderPayload) __builtin_trap();
            pagelark::RenderFrameReader again;
            again.Feed(pagelark::EncodeRenderFrame(*frame));
            const std::optional<pagelark::RenderFrame> copy = again.Next();
            if (!copy || !Same(*copy, *frame)) __builtin_trap();
        }
    }
    return 0;
}
