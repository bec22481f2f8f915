// The help file's readers, with the fuzzer's bytes as each of their inputs: a
// contents or index list, a #SYSTEM record, and a whole compiled help file
// opened as the help window opens it (its directory, its compression, the
// names in #SYSTEM), then read as the window reads it.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/help/ChmFile.h"
#include "app/help/HelpSitemap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    pagelark::ParseSitemap(text);
    pagelark::ParseChmSystem(text);

    pagelark::ChmFile file;
    if (!file.Load(std::string(text))) return 0;
    for (const std::string* list : {&file.ContentsFile(), &file.IndexFile()}) {
        const auto bytes = file.Read(*list);
        if (!bytes) continue;
        // The window opens an entry's topic when it is chosen: try the first.
        for (const pagelark::SitemapEntry& entry : pagelark::ParseSitemap(*bytes)) {
            file.Read("/" + entry.local);
            break;
        }
    }
    file.Read(file.DefaultTopic());
    return 0;
}
