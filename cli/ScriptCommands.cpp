#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CliInput.h"
#include "cli/Commands.h"
#include "cli/PrintJson.h"
#include "cli/TerminalText.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/MemoryRows.h"
#include "files/ItemStore.h"
#include "files/SafeFile.h"
#include "files/ScriptFile.h"
#include "files/XmlDocument.h"

namespace pagelark::cli {
namespace {

// An item list held in memory, filled from a script file as Load fills it.
struct LoadedList {
    XmlDocument live;
    ItemList list;
    MemoryRows rows;
};

}  // namespace

int RunList(const Args& args) {
    const CommandSyntax syntax{kListUsage, {}, {}, {}, 1};
    ParsedArgs parsed;
    if (const int status = ParseArgs(args, syntax, parsed)) return status;
    std::optional<std::string> text = ReadScriptInput(parsed.positionals[0]);
    if (!text) return kExitFailed;

    LoadedList loaded;
    LoadScriptText(std::move(*text), loaded.live, loaded.list, loaded.rows);
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    for (int row = 0; row < loaded.rows.GetItemCount(); ++row) {
        const int number = loaded.rows.GetItemData(row);
        const ItemFields fields = ReadStoreItem(loaded.live, number);
        nlohmann::ordered_json item = {{"number", number},
                                       {"name", fields.name},
                                       {"filter", fields.filter},
                                       {"url", fields.url}};
        // Only where set, as the file holds it: other lists print as before.
        if (fields.render) item["render"] = true;
        items.push_back(std::move(item));
    }
    PrintJson(items);
    return 0;
}

int RunResave(const Args& args) {
    const CommandSyntax syntax{kResaveUsage, {}, {}, {}, 2};
    ParsedArgs parsed;
    if (const int status = ParseArgs(args, syntax, parsed)) return status;
    const std::string& in = parsed.positionals[0];
    const std::string& out = parsed.positionals[1];
    std::optional<std::string> text = ReadScriptInput(in);
    if (!text) return kExitFailed;

    LoadedList loaded;
    LoadScriptText(std::move(*text), loaded.live, loaded.list, loaded.rows);
    // Save does nothing for an empty list.
    if (loaded.rows.GetItemCount() == 0) {
        std::cerr << "pagelark-cli: " << TerminalText(in) << " holds no items; "
                  << TerminalText(out) << " was not written\n";
        return 0;
    }
    std::string error;
    if (!WriteFileSafely(out, BuildScriptText(loaded.live), &error)) {
        std::cerr << "pagelark-cli: Errors in I/O operation. " << TerminalText(error) << "\n";
        return kExitFailed;
    }
    return 0;
}

}  // namespace pagelark::cli
