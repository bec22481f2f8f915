#include "cli/ListRun.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <thread>

#include "cli/CliInput.h"
#include "cli/EnglishText.h"
#include "cli/TerminalText.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemState.h"
#include "engine/collect/RowReason.h"
#include "files/ItemStore.h"
#include "files/RowsJson.h"
#include "files/ScriptFile.h"
#include "files/StateFile.h"

namespace pagelark::cli {
namespace {

constexpr int kNeedsAttention = 284;

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

std::string ListRun::RowsText(const ChangeTracker& tracker, const RunMarks& marks,
                              bool markedOnly) {
    return RowsJson(m_host.MemoryRowsOf(), m_list, tracker, marks, markedOnly, ReasonInEnglish);
}

void ListRun::PrintRows(const ChangeTracker& tracker, const RunMarks& marks, bool json,
                        bool markedOnly) {
    if (json) {
        std::cout << RowsText(tracker, marks, markedOnly) << '\n';
        return;
    }
    MemoryRows& rows = m_host.MemoryRowsOf();
    const auto marked = [](const std::vector<int>& numbers, int number) {
        return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
    };
    for (int row = 0; row < rows.GetItemCount(); ++row) {
        const int number = ItemNumberFromData(rows.GetItemData(row));
        const bool isChanged = marked(marks.changed, number);
        if (markedOnly && !isChanged && !marked(marks.attention, number)) continue;
        std::cout << number << '\t' << ItemStateName(rows.GetItemImage(row)) << '\t'
                  << TerminalText(rows.GetItemText(row, 1)) << '\t'
                  << TerminalText(rows.GetItemText(row, 2)) << '\t'
                  << TerminalText(rows.GetItemText(row, 3)) << '\t' << (isChanged ? "yes" : "no")
                  << '\n';
    }
}

bool ListRun::ReportProblems(const ChangeTracker& tracker, const RunMarks& marks) {
    MemoryRows& rows = m_host.MemoryRowsOf();
    bool failed = false;
    for (int row = 0; row < rows.GetItemCount(); ++row) {
        const int number = ItemNumberFromData(rows.GetItemData(row));
        const bool isFailed = rows.GetItemImage(row) == static_cast<int>(ItemState::Failed);
        const bool attention = std::find(marks.attention.begin(), marks.attention.end(), number) !=
                               marks.attention.end();
        if (!isFailed && !attention) continue;
        const ItemFields fields = ReadStoreItem(m_live, number);
        const std::string item = "pagelark-cli: item " + std::to_string(number) + " (" +
                                 TerminalText(fields.name) + "): ";
        const std::string url = TerminalText(fields.url);
        const std::string reason = TerminalText(ReasonInEnglish(m_list.reasons.Of(number)));
        if (isFailed)
            std::cerr << item
                      << (IsRenderReason(m_list.reasons.Of(number)) ? "cannot render "
                                                                    : "cannot fetch ")
                      << url << ": " << reason << '\n';
        if (attention) {
            const TrackedItem* tracked = tracker.Find(number);
            const RowReason runs{RowReason::Kind::None, tracked ? tracked->failures : 0, {}};
            std::cerr << item << url << ": " << ReasonWords(runs, EnglishText(kNeedsAttention));
            if (!reason.empty()) std::cerr << " (" << reason << ')';
            std::cerr << '\n';
        }
        failed = failed || isFailed;
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

int ParseChangeRules(const ParsedArgs& parsed, std::string_view usage, ChangeRules& rules) {
    rules.confirm = parsed.Has("--confirm");
    if (parsed.values.contains("--attention")) {
        const std::optional<int> runs =
            WholeNumber(parsed.Value("--attention"), 1, ChangeRules::kMostAttentionRuns);
        if (!runs) return UsageError(usage, "--attention needs a number of runs from 1 to 1000");
        rules.attentionRuns = *runs;
    }
    return 0;
}

void RestoreState(const std::string& path, ChangeTracker& changes) {
    StateRead state = ReadStateFile(path);
    if (!state.problem.empty())
        std::cerr << "pagelark-cli: " << TerminalText(path) << ": " << state.problem
                  << "; taken as no earlier run\n";
    changes.Restore(std::move(state.items));
}

}  // namespace pagelark::cli
