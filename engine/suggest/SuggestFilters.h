#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/page/ExtractResult.h"
#include "engine/suggest/PickProblem.h"

// The filter builder: from words a person selected on a page, the Filters
// that give exactly those words (or gather exactly the selected links).
//
// How the window uses it, off the window thread (on a 150 KB page preparing
// the page takes about 6 ms and a proposal 1 to 8 ms):
//
//   PageLinks scratch;                      // not the list's: nothing is kept
//   const PickPage page(pageBytes, itemUrl, scratch);
//   Selection selection;
//   selection.words = selectedText;         // as the browser reports it
//   selection.shownBefore = shownTextBefore;
//   selection.links = userDraggedOverLinks;
//   const Suggestion suggestion = SuggestFilters(page, selection);
//
// `pageBytes` must be the page as the worker gets it (FetchPage's UTF-8 text),
// since the Filter will run on that; a browser's serialised DOM is another text.
// The shown text before the selection is what the browser shows before its
// start (for example document.body.innerText up to a mark put at the
// selection's start, then taken out again); with it the selection is found
// by what precedes it, which holds where a style sheet hides text the page
// has (a menu for small screens) and counting places would go astray.
namespace pagelark {

class PickPage;

struct Selection {
    std::string_view words;  // the selected text; blanks of any kind separate words
    // The text shown before the selection, if known; else `occurrence` says
    // which place on the page is meant, 1 for the first (see LocateSelection).
    std::optional<std::string_view> shownBefore;
    int occurrence = 1;
    bool links = false;  // propose HREF Filters for the links the selection covers
};

struct FilterCandidate {
    std::string filter;
    Extraction extraction;  // what ExtractResult gives with it on the page
    bool steady = false;    // START, NEAR and END hold no digit
};

struct Suggestion {
    // Best first; each gives exactly the selection, checked with ExtractResult.
    std::vector<FilterCandidate> candidates;
    PickProblem problem = PickProblem::None;  // why there is none
    int count = 0;                            // the number the problem names
    // DATA: the Result every candidate gives, the page's words where the
    // selection lies (they may be written otherwise than the browser shows
    // them: "&amp;" for "&", "Wea ther" for "Weather").
    std::string result;

    std::string ProblemText() const { return PickProblemText(problem, count); }
};

inline constexpr size_t kMostCandidates = 10;

Suggestion SuggestFilters(const PickPage& page, const Selection& selection);

}  // namespace pagelark
