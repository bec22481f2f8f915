#include "cli/HelpText.h"

#include <array>

#include "cli/Commands.h"

namespace pagelark::cli {
namespace {

struct CommandText {
    std::string_view name;
    std::string_view usage;
    std::string_view summary;  // one line for the overview
    std::string_view details;  // what the command does and its options
};

constexpr std::array<CommandText, 8> kCommands{{
    {"flatten", kFlattenUsage, "print a page's text as the collection flattens it",
     "Prints the flattened text of FILE (an HTML page) and a line feed.\n"
     "\n"
     "  --base URL   the page's URL, against which relative links are resolved\n"
     "  --links      then print one line per link, marker<TAB>url, in link order\n"},
    {"extract", kExtractUsage, "apply a Filter to a page and print the Result",
     "Flattens FILE, applies FILTER as the collection would for item 1 and prints\n"
     "the Result as the list shows it (at most 128 bytes).\n"
     "\n"
     "  --filter FILTER   START#MODE,P0,P1,P2#END (required)\n"
     "  --base URL        the page's URL, against which relative links are resolved\n"
     "  --json            print result, entries, preview, preview_height and links\n"},
    {"list", kListUsage, "print the items of a script file as JSON",
     "Loads SCRIPT.xml as the Load command does and prints a JSON array of\n"
     "{\"number\", \"name\", \"filter\", \"url\"} objects in list order (\"render\": true\n"
     "for an item whose page is rendered first).\n"},
    {"resave", kResaveUsage, "load a script file and write it as Save does",
     "Loads IN.xml as Load does and writes OUT.xml as Save does. OUT.xml is\n"
     "replaced only once it has been written whole; an empty list writes nothing.\n"},
    {"collect", kCollectUsage, "download every item's page and print the rows",
     "Loads SCRIPT.xml, downloads every enabled item's page, applies its Filter and\n"
     "prints one line per item:\n"
     "number<TAB>state<TAB>name<TAB>result<TAB>last update<TAB>changed.\n"
     "A page that cannot be fetched is named on standard error with its URL and\n"
     "why, and makes the exit status 1; the rows are printed all the same. Ctrl+C\n"
     "stops the run and prints what was collected so far (exit status 130).\n"
     "Items marked \"Render the page first\" are loaded by `pagelark --render-helper`\n"
     "(no display needed; as root set QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox) and\n"
     "read once their scripts ran and their network has been quiet for 500 ms.\n"
     "\n"
     "  --snap OUT.txt     also write the snapshot file\n"
     "  --json             print an array of objects with number, state, name,\n"
     "                     result, last_update, entries, changed, reason (why the\n"
     "                     row has no good Result, \"\" when it has one), attention\n"
     "                     and history (the earlier good Results, newest first, as\n"
     "                     {\"result\", \"time\"})\n"
     "  --jobs N           pages downloaded at once, 1 to 1000 (16)\n"
     "  --deadline S       seconds a page may take, 0 for no limit (120)\n"
     "  --state FILE       keep each item's last good Result, its history and links\n"
     "                     in FILE between runs; an item whose good Result differs\n"
     "                     from the last good one is changed. A failed page, an HTTP\n"
     "                     error status or N/A is never a change.\n"
     "  --changed-only     print only the changed items and those that need\n"
     "                     attention since this run\n"
     "  --confirm          count a new Result as a change only when the next run\n"
     "                     gives it again (for pages that flap)\n"
     "  --attention RUNS   an item without a good Result for RUNS runs in a row\n"
     "                     needs attention, said once on standard error (3)\n"},
    {"suggest", kSuggestUsage, "propose Filters that give words selected on a page",
     "Flattens FILE and prints the best Filter whose Result is exactly the selected\n"
     "words on its first line, and that Result on the second. Every Filter is\n"
     "checked on the page before it is offered; START, NEAR and END without digits\n"
     "come first, then texts that read as words, short ones, and ones close to the\n"
     "selection. When no Filter gives the selection, the reason goes to standard\n"
     "error and the exit status is 1.\n"
     "\n"
     "  --select TEXT     the selected words as a browser shows them (required);\n"
     "                    blanks, tags and entities do not matter\n"
     "  --occurrence K    the K-th place the page shows them (1); counted in the text\n"
     "                    a browser shows (not the title, scripts or styles), blanks\n"
     "                    left out, also inside longer words\n"
     "  --links           propose HREF Filters that gather exactly the links the\n"
     "                    selection covers\n"
     "  --base URL        the page's URL, against which relative links are resolved\n"
     "  --json            print every Filter proposed, best first: an array of\n"
     "                    objects with filter, result, entries and the links\n"
     "                    (marker to URL) of the entries\n"},
    {"watch", kWatchUsage, "collect the list again and again, acting on changes",
     "Collects SCRIPT.xml as collect does, then again SECONDS after each run\n"
     "ended, and prints the rows whose good Result changed since the last good\n"
     "one, and those that need attention since this run, as collect\n"
     "--changed-only does. Pages that cannot be fetched are named on\n"
     "standard error and the watch goes on. Ctrl+C or SIGTERM stops the run in\n"
     "progress, keeps what it collected like any run's, and ends the watch\n"
     "(exit status 130 or 143).\n"
     "\n"
     "  --every SECONDS       seconds from the end of one run to the next, at\n"
     "                        least 1 (required)\n"
     "  --runs N              stop after N runs (exit status 0); otherwise watch\n"
     "                        until stopped\n"
     "  --state FILE          keep each item's last Result and links in FILE after\n"
     "                        every run, so a restarted watch goes on comparing\n"
     "  --on-change COMMAND   after each run with changes, run COMMAND with the\n"
     "                        changed rows as JSON (as --json prints them) on its\n"
     "                        standard input; COMMAND is split into words like a\n"
     "                        command line but runs without a shell, and its\n"
     "                        output goes to standard error. A command that fails\n"
     "                        is reported and the watch goes on.\n"
     "  --jobs N              pages downloaded at once, 1 to 1000 (16)\n"
     "  --deadline S          seconds a page may take, 0 for no limit (120)\n"
     "  --json                print each run's changed rows as one JSON array,\n"
     "                        with the fields collect --json prints\n"
     "  --confirm             count a new Result as a change only when the next\n"
     "                        run gives it again (for pages that flap)\n"
     "  --attention RUNS      an item without a good Result for RUNS runs in a\n"
     "                        row needs attention: its row is printed and handed\n"
     "                        to the command once, and said on standard error (3)\n"
     "\n"
     "Example:\n"
     "  pagelark-cli watch list.xml --every 600 --state list.state \\\n"
     "    --on-change 'notify-send \"Pages changed\"'\n"},
    {"history", kHistoryUsage, "print the good Results a state file keeps",
     "Prints the history that collect --state, watch --state or the window keeps\n"
     "in FILE: for every item (or only item NUMBER), its distinct good Results,\n"
     "newest first, one line each:\n"
     "number<TAB>time<TAB>result<TAB>the URLs of the links new with it.\n"
     "The time is when the Result first appeared (ISO 8601, local time), or - when\n"
     "it is not known.\n"
     "\n"
     "  --state FILE   the state file (required)\n"
     "  --json         print an array of objects with number, url, filter, changed,\n"
     "                 attention, failures (runs in a row without a good Result),\n"
     "                 reason and history ({\"result\", \"time\", \"new_entries\"},\n"
     "                 the links as {\"url\", \"text\"})\n"},
}};

// Shown with every help text, after the line about standard input.
constexpr std::string_view kTextOutput =
    "Text output shows every control character (TAB and line feed in a field\n"
    "too) and every byte that is not UTF-8 as U+FFFD, so no page or name can send\n"
    "escape sequences to the terminal or break a row; --json gives the exact text.\n";

constexpr std::string_view kExitStatus =
    "Exit status:\n"
    "  0    done\n"
    "  1    a file could not be read or written, a page could not be fetched, no\n"
    "       Filter gives the selection (suggest), or the state file holds no such\n"
    "       item (history)\n"
    "  2    bad usage\n"
    "  130  interrupted (Ctrl+C)\n"
    "  143  watch ended by SIGTERM\n";

}  // namespace

std::string OverviewHelp() {
    std::string text =
        "usage: pagelark-cli COMMAND [OPTION...] FILE...\n"
        "       pagelark-cli COMMAND --help\n"
        "       pagelark-cli --version\n"
        "\n"
        "Pagelark's collection engine and list files without a window.\n"
        "\n"
        "Commands:\n";
    for (const CommandText& command : kCommands) {
        text += "  ";
        text += command.name;
        text.append(10 - command.name.size(), ' ');
        text += command.summary;
        text += '\n';
    }
    text += "\nA FILE may be - for standard input.\n";
    text += kTextOutput;
    text += '\n';
    text += kExitStatus;
    return text;
}

std::string CommandHelp(std::string_view name) {
    for (const CommandText& command : kCommands) {
        if (command.name != name) continue;
        std::string text = "usage: ";
        text += command.usage;
        text += "\n\n";
        text += command.details;
        text += "\nA FILE may be - for standard input.\n";
        text += kTextOutput;
        text += '\n';
        text += kExitStatus;
        return text;
    }
    return {};
}

std::string VersionText() {
    return "pagelark-cli (Pagelark) " PAGELARK_VERSION
           "\n"
           "Copyright \xc2\xa9 2026 Quillmoor Software\n";
}

std::string UsageOverview() {
    std::string text;
    for (const CommandText& command : kCommands) {
        if (!text.empty()) text += "\n       ";
        text += command.usage;
    }
    return text;
}

}  // namespace pagelark::cli
