#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CliInput.h"
#include "cli/Commands.h"
#include "cli/FlattenFile.h"
#include "cli/PrintJson.h"
#include "cli/TerminalText.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemRecord.h"
#include "engine/collect/MemoryRows.h"
#include "engine/collect/StoreExtraction.h"
#include "engine/page/ExtractResult.h"
#include "engine/page/Utf8.h"

namespace pagelark::cli {

int RunExtract(const Args& args) {
    const CommandSyntax syntax{kExtractUsage, {"--base", "--filter"}, {"--json"}, {"--filter"}, 1};
    ParsedArgs parsed;
    if (const int status = ParseArgs(args, syntax, parsed)) return status;
    const std::string base = parsed.Value("--base");
    const std::string filter = parsed.Value("--filter");
    const std::string& path = parsed.positionals[0];
    const bool json = parsed.Has("--json");

    const std::optional<std::string> page = ReadInput(path);
    if (!page) return kExitFailed;

    // One enabled item, number 1, on a row of its own: what the list would show.
    ItemList list;
    MemoryRows rows;
    const int number = list.TakeItemNumber();
    const int row = rows.AppendRow(RowDataFor(number, true));
    const std::string text = FlattenWhole(*page, base, list.links);
    const Extraction extraction = ExtractResult(text, filter);
    StoreExtraction(extraction, row, rows, list.results);
    const std::string result = CutUtf8(extraction.result, kResultBytes);

    if (!json) {
        std::cout << TerminalText(result) << "\n";
        return 0;
    }
    const std::string key = ItemKey(number);
    nlohmann::ordered_json out;
    out["result"] = result;
    out["entries"] = list.results.Entries(key).value_or("");
    out["preview"] = list.results.Preview(key).value_or("");
    out["preview_height"] = rows.Rows()[static_cast<size_t>(row)].previewHeight;
    nlohmann::ordered_json links = nlohmann::ordered_json::object();
    for (const auto& [marker, url] : list.links.Snapshot())
        links[marker] = url;
    out["links"] = std::move(links);
    PrintJson(out);
    return 0;
}

}  // namespace pagelark::cli
