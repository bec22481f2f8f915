#include "cli/ListRun.h"
#include "cli/TerminalText.h"

#include <chrono>
#include <iostream>
#include <thread>

#include "cli/CliInput.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemState.h"
#include "engine/collect/RowReason.h"
#include "files/ItemStore.h"
#include "files/RowsJson.h"
#include "files/ScriptFile.h"

namespace pagelark::cli {
namespace {

// Why a rendered item failed, in the words of the window's English texts;
// "" for a row that did not fail in the browser engine.
std::string RenderReasonWords(const RowReason& reason) {
    switch (reason.kind) {
        case RowReason::Kind::RenderTimeout:
            return "the page did not finish loading in time";
        case RowReason::Kind::RenderScheme:
            return "refused: only http and https pages are rendered";
        case RowReason::Kind::RenderFailed:
            return reason.detail;
        default:
            return {};
    }
}

}  // namespace

ListRun::ListRun()
    : m_host([this](int number) {
          ItemFields fields = ReadStoreItem(m_live, number);
          ItemRecord item = DefinedItem(number, std::move(fields.name), std::move(fields.filter),
                                        std::move(fields.url));
          item.render = fields.render;
          return item;
      }) {
    m_host.SetRenderer(&m_renderer);
}

int ListRun::Load(std::string text) {
    return LoadScriptText(std::move(text), m_live, m_list, m_host.MemoryRowsOf());
}

bool ListRun::Collect(CollectWorker& worker, const std::function<bool()>& stop) {
    bool stopped = false;
    m_host.RunOnListThread([&] { worker.Start(); });
    while (!worker.Idle()) {
        if (!stopped && stop()) {
            stopped = true;
            m_host.RunOnListThread([&] { worker.Stop(); });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    worker.Wait();
    return stopped;
}

void ListRun::PrintRows(const std::set<int>& changed, bool json, bool changedOnly) {
    MemoryRows& rows = m_host.MemoryRowsOf();
    if (json) {
        std::cout << RowsJson(rows, m_list.results, changed, changedOnly) << '\n';
        return;
    }
    for (int row = 0; row < rows.GetItemCount(); ++row) {
        const int number = ItemNumberFromData(rows.GetItemData(row));
        const bool isChanged = changed.contains(number);
        if (changedOnly && !isChanged) continue;
        std::cout << number << '\t' << ItemStateName(rows.GetItemImage(row)) << '\t'
                  << TerminalText(rows.GetItemText(row, 1)) << '\t'
                  << TerminalText(rows.GetItemText(row, 2)) << '\t'
                  << TerminalText(rows.GetItemText(row, 3)) << '\t' << (isChanged ? "yes" : "no")
                  << '\n';
    }
}

bool ListRun::ReportFailures() {
    MemoryRows& rows = m_host.MemoryRowsOf();
    bool failed = false;
    for (int row = 0; row < rows.GetItemCount(); ++row) {
        if (rows.GetItemImage(row) != static_cast<int>(ItemState::Failed)) continue;
        const int number = ItemNumberFromData(rows.GetItemData(row));
        const ItemFields fields = ReadStoreItem(m_live, number);
        std::cerr << "pagelark-cli: item " << number << " (" << TerminalText(fields.name) << "): ";
        const std::string render = RenderReasonWords(m_list.reasons.Of(number));
        if (render.empty())
            std::cerr << "cannot fetch " << TerminalText(fields.url) << "\n";
        else
            std::cerr << "cannot render " << TerminalText(fields.url) << ": "
                      << TerminalText(render) << "\n";
        failed = true;
    }
    return failed;
}

int ParseCollectSettings(const ParsedArgs& parsed, std::string_view usage,
                         CollectSettings& settings) {
    if (parsed.values.contains("--jobs")) {
        const std::optional<int> jobs = WholeNumber(parsed.Value("--jobs"), 1, 1000);
        if (!jobs) return UsageError(usage, "--jobs needs a number from 1 to 1000");
        settings.parallelDownloads = *jobs;
    }
    if (parsed.values.contains("--deadline")) {
        const std::optional<int> seconds = WholeNumber(parsed.Value("--deadline"), 0, 86400);
        if (!seconds) return UsageError(usage, "--deadline needs seconds from 0 to 86400");
        settings.fetch.pageDeadlineSeconds = *seconds;
    }
    return 0;
}

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(text);
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace pagelark::cli
