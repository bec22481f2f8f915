#pragma once

#include <string>

namespace pagelark {

// Why no Filter is offered for a selection.
enum class PickProblem {
    None,
    NoWords,        // the selection holds nothing but blanks
    NotOnPage,      // the selected words are not in the page's text
    FewerPlaces,    // the page shows them fewer times than the occurrence asked for
    TooLong,        // more bytes than a Result holds
    NothingBefore,  // the selection starts the page's text: no START can precede it
    NoStart,        // no text before the selection leads FindText to it
    NoEnd,          // it ends inside a word and no text after it can end the Result there
    NoLinks,        // an HREF selection that covers no link
    TooManyLinks,   // more links than an HREF Filter gathers
    NoneExact,      // no Filter built gave exactly the selection when checked
};

// An English sentence for the problem; `count` is the number the problem
// names (the places found, the bytes, the links), where it names one.
std::string PickProblemText(PickProblem problem, int count);

}  // namespace pagelark
