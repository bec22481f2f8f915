// Measures the filter builder on the pages in bench/engine/pages/ as a person
// would use it: random selections of 1 to 6 shown words, and runs of 3 to 10
// consecutive links of one list. Each selection is proposed for twice: as the
// window does it, with the text the browser shows before the selection, and
// as the command line does it, with the occurrence counted in that text.
// Reports the share that gets an exact Filter (the Result is the selected
// words, at the selected place), the share of those whose Filter still lands
// there once every digit of the page has changed, the processor time per
// proposal, and the problems met.
//
//   build/bench/engine/suggest_eval [--samples N] [--verbose] [FOLDER]
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ShownText.h"
#include "engine/collect/LinkTable.h"
#include "engine/page/EntryText.h"
#include "engine/page/ExtractResult.h"
#include "engine/page/LinkMarkers.h"
#include "engine/suggest/LocateSelection.h"
#include "engine/suggest/MatchText.h"
#include "engine/suggest/PickPage.h"
#include "engine/suggest/SuggestFilters.h"

namespace {

using namespace pagelark;
using bench::ShownWord;

constexpr char kBase[] = "http://pages.example.org/section/index.html";

// Milliseconds of processor time this thread has used: on a machine busy with
// other work the wall clock would count the others too.
double CpuMillis() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Every digit moved on by one: a new price, a new date, a new counter.
std::string ChangeDigits(std::string text) {
    for (char& c : text) {
        if (c >= '0' && c <= '9') c = c == '9' ? '0' : static_cast<char>(c + 1);
    }
    return text;
}

// Letters crossed out ("Xxx"), outside tags and entities. Applied to the page
// bytes of a selection and to the Result a Filter gave, the two agree only if
// the Filter lands on the selected place and not on the same words elsewhere.
std::string CrossOut(std::string text, size_t begin, size_t end) {
    bool inTag = false;
    bool inEntity = false;
    for (size_t i = begin; i < end; ++i) {
        char& c = text[i];
        if (inTag) {
            inTag = c != '>';
        } else if (inEntity) {
            inEntity = c != ';' && c != ' ';
        } else if (c == '<') {
            inTag = true;
        } else if (c == '&') {
            inEntity = true;
        } else if (c >= 'a' && c <= 'z') {
            c = 'x';
        } else if (c >= 'A' && c <= 'Z') {
            c = 'X';
        }
    }
    return text;
}

std::string Join(const std::vector<ShownWord>& words, size_t begin, size_t end) {
    std::string text;
    for (size_t i = begin; i < end; ++i) {
        if (i > begin) text += ' ';
        text += words[i].text;
    }
    return text;
}

std::string Folded(std::string text) {
    FoldAsciiCase(text);
    return text;
}

struct Tally {
    int tried = 0;
    int exact = 0;
    int spelt = 0;      // the Result spells the words as the browser shows them
    int steady = 0;     // still the same place after the digits changed
    int elsewhere = 0;  // the same words, but at another place
    std::map<std::string, int> problems;
    std::vector<double> millis;

    void Add(const Tally& other) {
        tried += other.tried;
        exact += other.exact;
        spelt += other.spelt;
        steady += other.steady;
        elsewhere += other.elsewhere;
        for (const auto& [problem, count] : other.problems)
            problems[problem] += count;
        millis.insert(millis.end(), other.millis.begin(), other.millis.end());
    }
};

double Share(int part, int whole) {
    return whole == 0 ? 0.0 : 100.0 * part / whole;
}

void PrintTimes(const char* label, std::vector<double> times) {
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (const double t : times)
        sum += t;
    std::printf("  %s: mean %.2f ms, median %.2f, 99th percentile %.2f, max %.2f\n", label,
                sum / static_cast<double>(times.size()), times[times.size() / 2],
                times[times.size() * 99 / 100], times.back());
}

void PrintWords(const char* mode, const Tally& t) {
    std::printf(
        "  words, %s: %d tried, %.2f %% exact (%d elsewhere), %.2f %% spelt as shown, "
        "%.2f %% of exact steady when digits change\n",
        mode, t.tried, Share(t.exact, t.tried), t.elsewhere, Share(t.spelt, t.tried),
        Share(t.steady, t.exact));
}

void PrintLinks(const char* mode, const Tally& t) {
    std::printf("  links, %s: %d tried, %.2f %% gather exactly the selected links\n", mode, t.tried,
                Share(t.exact, t.tried));
}

void PrintProblems(const Tally& t) {
    for (const auto& [problem, count] : t.problems)
        std::printf("    %5d  %s\n", count, problem.c_str());
}

struct Page {
    std::string bytes;
    std::string changedFlat;  // the page with every digit changed, flattened
    std::vector<ShownWord> shown;
};

class Evaluation {
  public:
    Evaluation(const Page& page, const PickPage& pick, bool verbose)
        : m_page(page), m_pick(pick), m_verbose(verbose) {}

    // Proposes for the shown words [first, end); counts in `tally`.
    Suggestion Propose(Tally& tally, size_t first, size_t end, bool links, bool context) {
        m_mode = context ? "window" : "occurrence";
        const std::string words = Join(m_page.shown, first, end);
        const std::string before = Join(m_page.shown, 0, first);
        Selection selection;
        selection.words = words;
        if (context) {
            selection.shownBefore = before;
        } else {
            selection.occurrence = SelectionOccurrence(before, words);
        }
        selection.links = links;
        const double start = CpuMillis();
        Suggestion suggestion = SuggestFilters(m_pick, selection);
        tally.millis.push_back(CpuMillis() - start);
        ++tally.tried;
        if (suggestion.candidates.empty()) {
            ++tally.problems[suggestion.ProblemText()];
            Say("no filter", words, suggestion.ProblemText());
        }
        return suggestion;
    }

    void Words(Tally& tally, size_t first, size_t end, bool context) {
        const Suggestion suggestion = Propose(tally, first, end, false, context);
        if (suggestion.candidates.empty()) return;
        const std::string words = Join(m_page.shown, first, end);
        const FilterCandidate& best = suggestion.candidates.front();
        const std::string& result = best.extraction.result;
        // A style may show the words in capitals; the Result has them as written.
        if (Folded(PageMatchForm(result).bytes) != Folded(ShownMatchForm(words))) {
            Say("wrong words", words, best.filter + " gave " + result);
            return;
        }
        const std::string crossed =
            CrossOut(m_page.bytes, m_page.shown[first].rawBegin, m_page.shown[end - 1].rawEnd);
        LinkTable links;
        const PickPage crossedPage(crossed, kBase, links);
        if (ExtractResult(crossedPage.Flat(), best.filter).result !=
            CrossOut(result, 0, result.size())) {
            ++tally.elsewhere;
            Say("elsewhere", words, best.filter);
            return;
        }
        ++tally.exact;
        tally.spelt += result.substr(0, result.size() - 1) == words;
        const bool steady =
            ExtractResult(m_page.changedFlat, best.filter).result == ChangeDigits(result);
        tally.steady += steady;
        if (!steady) Say("unsteady", words, best.filter);
    }

    void Links(Tally& tally, const std::vector<size_t>& list, size_t from, size_t count,
               bool context) {
        const auto& shown = m_page.shown;
        const size_t first = list[from];
        size_t end = list[from + count - 1];
        while (end < shown.size() && shown[end].link == shown[list[from + count - 1]].link)
            ++end;
        const Suggestion suggestion = Propose(tally, first, end, true, context);
        if (suggestion.candidates.empty()) return;
        std::vector<std::string> expected;
        for (size_t k = from; k < from + count; ++k)
            expected.push_back(OpeningMarker(shown[list[k]].link));
        std::vector<std::string> got;
        for (const EntryPiece& piece :
             SplitEntries(suggestion.candidates.front().extraction.entries))
            got.push_back(piece.marker);
        if (got == expected) {
            ++tally.exact;
        } else {
            Say("wrong links", Join(shown, first, end), suggestion.candidates.front().filter);
        }
    }

  private:
    void Say(const char* what, const std::string& words, const std::string& detail) const {
        if (m_verbose)
            std::printf("    %s, %s: [%s] %s\n", what, m_mode, words.c_str(), detail.c_str());
    }

    const Page& m_page;
    const PickPage& m_pick;
    bool m_verbose;
    const char* m_mode = "";
};

// Per list (ul, ol, nav, table) with 3 links or more: the first shown word of each link.
std::vector<std::vector<size_t>> LinkLists(const std::vector<ShownWord>& shown) {
    std::vector<std::vector<size_t>> lists;
    std::map<int, size_t> index;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].link < 0 || shown[i].list < 0) continue;
        if (i > 0 && shown[i - 1].link == shown[i].link) continue;
        auto [it, added] = index.emplace(shown[i].list, lists.size());
        if (added) lists.emplace_back();
        lists[it->second].push_back(i);
    }
    std::erase_if(lists, [](const auto& list) { return list.size() < 3; });
    return lists;
}

}  // namespace

int main(int argc, char** argv) {
    int samples = 1000;
    bool verbose = false;
    std::filesystem::path folder = PAGELARK_PICK_PAGES;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--samples" && i + 1 < argc) {
            samples = std::atoi(argv[++i]);
        } else if (arg == "--verbose") {
            verbose = true;
        } else {
            folder = arg;
        }
    }
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".html") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());

    Tally words[2], links[2];  // [0] with the text shown before, [1] with the occurrence
    std::vector<double> prepare;
    std::mt19937 random(23);
    for (const auto& path : paths) {
        Page page;
        page.bytes = ReadFile(path);
        page.shown = bench::ShowPage(page.bytes);
        LinkTable changedLinks;
        page.changedFlat = PickPage(ChangeDigits(page.bytes), kBase, changedLinks).Flat();
        const double start = CpuMillis();
        LinkTable pageLinks;
        const PickPage pick(page.bytes, kBase, pageLinks);
        prepare.push_back(CpuMillis() - start);
        std::printf("%s: %zu bytes, %zu words shown, page prepared in %.2f ms\n",
                    path.filename().c_str(), page.bytes.size(), page.shown.size(), prepare.back());

        Evaluation evaluation(page, pick, verbose);
        Tally pageWords[2], pageLinks2[2];
        for (int n = 0; n < samples && !page.shown.empty(); ++n) {
            const size_t first = random() % page.shown.size();
            const size_t end = std::min(page.shown.size(), first + 1 + random() % 6);
            for (int mode = 0; mode < 2; ++mode)
                evaluation.Words(pageWords[mode], first, end, mode == 0);
        }
        const auto lists = LinkLists(page.shown);
        for (int n = 0; n < samples / 4 && !lists.empty(); ++n) {
            const auto& list = lists[random() % lists.size()];
            const size_t count = std::min<size_t>(list.size(), 3 + random() % 8);
            const size_t from = random() % (list.size() - count + 1);
            for (int mode = 0; mode < 2; ++mode)
                evaluation.Links(pageLinks2[mode], list, from, count, mode == 0);
        }
        PrintWords("window", pageWords[0]);
        PrintWords("occurrence", pageWords[1]);
        PrintLinks("window", pageLinks2[0]);
        PrintLinks("occurrence", pageLinks2[1]);
        for (int mode = 0; mode < 2; ++mode) {
            words[mode].Add(pageWords[mode]);
            links[mode].Add(pageLinks2[mode]);
        }
    }
    std::printf("\nAll pages:\n");
    PrintWords("window", words[0]);
    PrintProblems(words[0]);
    PrintWords("occurrence", words[1]);
    PrintProblems(words[1]);
    PrintLinks("window", links[0]);
    PrintProblems(links[0]);
    PrintLinks("occurrence", links[1]);
    PrintProblems(links[1]);
    PrintTimes("preparing a page", prepare);
    std::vector<double> all = words[0].millis;
    for (const Tally* t : {&words[1], &links[0], &links[1]})
        all.insert(all.end(), t->millis.begin(), t->millis.end());
    PrintTimes("one proposal", all);
    return 0;
}
