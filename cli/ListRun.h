#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "cli/CliArgs.h"
#include "cli/HelperRenderer.h"
#include "engine/collect/CollectWorker.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/MemoryCollectHost.h"
#include "engine/watch/ChangeTracker.h"
#include "files/XmlDocument.h"

namespace pagelark::cli {

// A script file's list in memory, collected as the Start button does: what
// collect runs once and watch again and again.
class ListRun {
  public:
    ListRun();
    ListRun(const ListRun&) = delete;
    ListRun& operator=(const ListRun&) = delete;

    // Loads the list; the number of items.
    int Load(std::string text);
    // One run, until it ends or `stop` answers true (then as Stop does);
    // true when it was stopped.
    bool Collect(CollectWorker& worker, const std::function<bool()>& stop);

    // One line per row (or, with json, one JSON array): number, state, name,
    // result, last update and whether the run marked the item changed. With
    // markedOnly, only the rows marked changed or as needing attention.
    void PrintRows(const ChangeTracker& tracker, const RunMarks& marks, bool json, bool markedOnly);
    // The rows as --json prints them.
    std::string RowsText(const ChangeTracker& tracker, const RunMarks& marks, bool markedOnly);
    // Names on stderr every item whose page could not be fetched, with its
    // URL and why, and every item that needs attention since this run; true
    // when a page could not be fetched.
    bool ReportProblems(const ChangeTracker& tracker, const RunMarks& marks);

    MemoryCollectHost& Host() { return m_host; }
    ItemList& List() { return m_list; }

  private:
    XmlDocument m_live;
    ItemList m_list;
    // Items marked "Render the page first" render in a helper process,
    // started only when one comes up.
    HelperRenderer m_renderer{FindRenderHelper()};
    MemoryCollectHost m_host;
};

// --jobs and --deadline into `settings`; a usage error's exit status, else 0.
int ParseCollectSettings(const ParsedArgs& parsed, std::string_view usage,
                         CollectSettings& settings);
// --confirm and --attention into `rules`; a usage error's exit status, else 0.
int ParseChangeRules(const ParsedArgs& parsed, std::string_view usage, ChangeRules& rules);

// The state file named by --state read into `changes` (a missing file is no
// earlier run; one that cannot be used is said on stderr and taken as none).
void RestoreState(const std::string& path, ChangeTracker& changes);

}  // namespace pagelark::cli
