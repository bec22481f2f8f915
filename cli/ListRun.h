#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "cli/CliArgs.h"
#include "cli/HelperRenderer.h"
#include "engine/collect/CollectWorker.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/MemoryCollectHost.h"
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
    // result, last update and whether the item is among `changed`.
    void PrintRows(const std::set<int>& changed, bool json, bool changedOnly);
    // Names every item whose page could not be fetched on stderr; true when
    // there was one.
    bool ReportFailures();

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

// A whole number from `low` to `high` written as plain digits, else nothing.
std::optional<int> WholeNumber(const std::string& text, int low, int high);

}  // namespace pagelark::cli
