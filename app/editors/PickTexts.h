#pragma once

#include <QString>

#include "engine/suggest/PickProblem.h"

// The filter builder's texts in the interface language.
namespace pagelark {

// String ids of the editor's and the picker's texts.
enum PickText {
    kPickButtonText = 230,
    kTestButtonText = 231,
    kPickerTitle = 232,
    kFetching = 236,
    kNotFetched = 237,     // %1 the URL
    kNotBrowsable = 238,   // %1 the URL
    kSelected = 239,       // %1 the selected words
    kSelectedLinks = 240,  // %1 how many links
    kNothingSelected = 241,
    kProposing = 242,
    kResultOnPage = 244,  // %1 the Result
    kPressTest = 245,
    kTypeUrlFirst = 247,
};

// Why no Filter was offered, as a sentence; `count` as the engine gives it.
QString PickProblemMessage(PickProblem problem, int count);

}  // namespace pagelark
