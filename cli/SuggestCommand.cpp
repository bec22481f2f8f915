#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CliInput.h"
#include "cli/Commands.h"
#include "cli/PrintJson.h"
#include "cli/TerminalText.h"
#include "engine/collect/ItemRecord.h"
#include "engine/collect/PageLinks.h"
#include "engine/page/EntryText.h"
#include "engine/page/Utf8.h"
#include "engine/suggest/PickPage.h"
#include "engine/suggest/SuggestFilters.h"

namespace pagelark::cli {
int RunSuggest(const Args& args) {
    const CommandSyntax syntax{kSuggestUsage,
                               {"--select", "--occurrence", "--base"},
                               {"--links", "--json"},
                               {"--select"},
                               1};
    ParsedArgs parsed;
    if (const int status = ParseArgs(args, syntax, parsed)) return status;
    const std::string words = parsed.Value("--select");
    const std::string occurrenceText =
        parsed.values.contains("--occurrence") ? parsed.Value("--occurrence") : "1";
    const std::optional<int> occurrence = WholeNumber(occurrenceText, 1, 999999999);
    if (!occurrence) return UsageError(kSuggestUsage, "--occurrence needs a number from 1");
    const std::string base = parsed.Value("--base");
    const std::string& path = parsed.positionals[0];

    const std::optional<std::string> bytes = ReadInput(path);
    if (!bytes) return kExitFailed;
    PageLinks links;
    const PickPage page(*bytes, base, links);
    Selection selection;
    selection.words = words;
    selection.occurrence = *occurrence;
    selection.links = parsed.Has("--links");
    const Suggestion suggestion = SuggestFilters(page, selection);

    if (parsed.Has("--json")) {
        nlohmann::ordered_json out = nlohmann::ordered_json::array();
        for (const FilterCandidate& candidate : suggestion.candidates) {
            nlohmann::ordered_json item;
            item["filter"] = candidate.filter;
            item["result"] = CutUtf8(candidate.extraction.result, kResultBytes);
            item["entries"] = candidate.extraction.entries;
            nlohmann::ordered_json urls = nlohmann::ordered_json::object();
            for (const EntryPiece& piece : SplitEntries(candidate.extraction.entries))
                urls[piece.marker] = links.Lookup(piece.marker).value_or("");
            item["links"] = std::move(urls);
            out.push_back(std::move(item));
        }
        PrintJson(out);
    } else if (!suggestion.candidates.empty()) {
        const FilterCandidate& best = suggestion.candidates.front();
        std::cout << TerminalText(best.filter) << "\n"
                  << TerminalText(CutUtf8(best.extraction.result, kResultBytes)) << "\n";
    }
    if (suggestion.candidates.empty()) {
        std::cerr << "pagelark-cli: no Filter gives the selection in "
                  << (path == "-" ? "standard input" : TerminalText(path)) << ": "
                  << suggestion.ProblemText() << "\n";
        return kExitFailed;
    }
    return 0;
}

}  // namespace pagelark::cli
