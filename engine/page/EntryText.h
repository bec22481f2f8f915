#pragma once

#include <string>
#include <string_view>
#include <vector>

// The entries text of an item: per gathered link, its opening marker, the
// separator, "%d. " + link text + "\n", the separator. The preview is the
// numbered texts of the first three entries.
namespace pagelark {

inline constexpr std::string_view kEntrySeparator = "<++<";
inline constexpr std::string_view kPreviewMore = "   ......";

void AppendEntry(std::string& entries, std::string_view marker, int number,
                 std::string_view linkText);

struct EntryPiece {
    std::string marker;  // "__A7;"
    std::string text;    // "1. News\n"
};

// Splits at the separator and pairs the pieces (marker, numbered text).
std::vector<EntryPiece> SplitEntries(std::string_view entries);

// The preview text of an entries text: the first three numbered texts, then
// kPreviewMore when there are four or more.
std::string BuildPreview(std::string_view entries);

}  // namespace pagelark
