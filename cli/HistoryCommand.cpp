#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CliInput.h"
#include "cli/Commands.h"
#include "cli/EnglishText.h"
#include "cli/PrintJson.h"
#include "cli/TerminalText.h"
#include "files/HistoryJson.h"
#include "files/StateFile.h"

namespace pagelark::cli {
namespace {

nlohmann::ordered_json ItemJson(int number, const TrackedItem& item) {
    nlohmann::ordered_json history = nlohmann::ordered_json::array();
    for (const HistoryEntry& entry : item.history) {
        nlohmann::ordered_json links = nlohmann::ordered_json::array();
        for (const EntryLink& link : entry.newEntries)
            links.push_back({{"url", link.url}, {"text", link.text}});
        history.push_back({{"result", entry.result},
                           {"time", HistoryTimeJson(entry.time)},
                           {"new_entries", std::move(links)}});
    }
    return {{"number", number},
            {"url", item.last.url},
            {"filter", item.last.filter},
            {"changed", item.changed},
            {"attention", item.attention},
            {"failures", item.failures},
            {"reason", item.reason.Good() ? std::string() : ReasonInEnglish(item.reason)},
            {"history", std::move(history)}};
}

// number<TAB>time<TAB>result<TAB>the new links' URLs, one line per Result.
void PrintText(int number, const TrackedItem& item) {
    for (const HistoryEntry& entry : item.history) {
        const nlohmann::ordered_json time = HistoryTimeJson(entry.time);
        std::cout << number << '\t' << (time.is_string() ? time.get<std::string>() : "-") << '\t'
                  << TerminalText(entry.result) << '\t';
        for (size_t i = 0; i < entry.newEntries.size(); ++i)
            std::cout << (i == 0 ? "" : " ") << TerminalText(entry.newEntries[i].url);
        std::cout << '\n';
    }
}

}  // namespace

int RunHistory(const Args& args) {
    const CommandSyntax syntax{kHistoryUsage, {"--state"}, {"--json"}, {"--state"}, 0, 1};
    ParsedArgs parsed;
    if (const int status = ParseArgs(args, syntax, parsed)) return status;
    std::optional<int> only;
    if (!parsed.positionals.empty()) {
        only = WholeNumber(parsed.positionals[0], 1, 9999);
        if (!only) return UsageError(kHistoryUsage, "NUMBER is an item number from 1 to 9999");
    }
    const std::string path = parsed.Value("--state");
    const std::optional<std::string> text = ReadInput(path);
    if (!text) return kExitFailed;
    const std::optional<ChangeTracker::Items> items = ParseStateFile(*text);
    if (!items) {
        std::cerr << "pagelark-cli: " << TerminalText(path) << ": the file is damaged\n";
        return kExitFailed;
    }
    if (only && !items->contains(*only)) {
        std::cerr << "pagelark-cli: " << TerminalText(path) << " holds no item " << *only << '\n';
        return kExitFailed;
    }
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& [number, item] : *items) {
        if (only && number != *only) continue;
        if (parsed.Has("--json"))
            list.push_back(ItemJson(number, item));
        else
            PrintText(number, item);
    }
    if (parsed.Has("--json")) PrintJson(list);
    return 0;
}

}  // namespace pagelark::cli
