#include "engine/page/EntryText.h"

namespace pagelark {

void AppendEntry(std::string& entries, std::string_view marker, int number,
                 std::string_view linkText) {
    entries.append(marker);
    entries.append(kEntrySeparator);
    entries.append(std::to_string(number));
    entries.append(". ");
    entries.append(linkText);
    entries.push_back('\n');
    entries.append(kEntrySeparator);
}

std::vector<EntryPiece> SplitEntries(std::string_view entries) {
    std::vector<EntryPiece> pieces;
    size_t pos = 0;
    while (true) {
        const size_t first = entries.find(kEntrySeparator, pos);
        if (first == std::string_view::npos) break;
        const size_t textStart = first + kEntrySeparator.size();
        const size_t second = entries.find(kEntrySeparator, textStart);
        if (second == std::string_view::npos) break;
        pieces.push_back({std::string(entries.substr(pos, first - pos)),
                          std::string(entries.substr(textStart, second - textStart))});
        pos = second + kEntrySeparator.size();
    }
    return pieces;
}

std::string BuildPreview(std::string_view entries) {
    std::string preview;
    int taken = 0;
    bool take = false;  // the piece before the first separator is a marker
    size_t pos = 0;
    while (true) {
        const size_t sep = entries.find(kEntrySeparator, pos);
        if (sep == std::string_view::npos) break;
        if (take) {
            if (++taken == 4) break;
            preview.append(entries.substr(pos, sep - pos));
        }
        take = !take;
        pos = sep + kEntrySeparator.size();
    }
    if (taken == 4) preview.append(kPreviewMore);
    return preview;
}

}  // namespace pagelark
