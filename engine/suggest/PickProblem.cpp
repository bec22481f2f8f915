#include "engine/suggest/PickProblem.h"

namespace pagelark {

std::string PickProblemText(PickProblem problem, int count) {
    const std::string n = std::to_string(count);
    switch (problem) {
        case PickProblem::None:
            return {};
        case PickProblem::NoWords:
            return "The selection holds no words.";
        case PickProblem::NotOnPage:
            return "The selected words are not in the page's text (a script may have written "
                   "them, or they come from another frame).";
        case PickProblem::FewerPlaces:
            return "The page shows the selected words only " + n +
                   (count == 1 ? " time." : " times.");
        case PickProblem::TooLong:
            return "The selected words take " + n + " bytes; a Result holds at most 128.";
        case PickProblem::NothingBefore:
            return "The selection starts the page's text: a Filter needs text before the words "
                   "it gives.";
        case PickProblem::NoStart:
            return "No text before the selection leads a Filter to this place: the words before "
                   "it repeat too often.";
        case PickProblem::NoEnd:
            return "The selection ends inside a word of the page's text, and no text after it "
                   "can end the Result there.";
        case PickProblem::NoLinks:
            return "The selection covers no link.";
        case PickProblem::TooManyLinks:
            return "The selection covers " + n + " links; a Filter gathers at most 255.";
        case PickProblem::NoneExact:
            return "No Filter gives exactly the selected words on this page.";
    }
    return {};
}

}  // namespace pagelark
