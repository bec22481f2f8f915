#include "app/editors/PickTexts.h"

#include "app/language/LangString.h"

namespace pagelark {

QString PickProblemMessage(PickProblem problem, int count) {
    int id = 0;
    switch (problem) {
        case PickProblem::None:
            return {};
        case PickProblem::NoWords:
            id = 250;
            break;
        case PickProblem::NotOnPage:
            id = 251;
            break;
        case PickProblem::FewerPlaces:
            id = count == 1 ? 252 : 253;
            break;
        case PickProblem::TooLong:
            id = 254;
            break;
        case PickProblem::NothingBefore:
            id = 255;
            break;
        case PickProblem::NoStart:
            id = 256;
            break;
        case PickProblem::NoEnd:
            id = 257;
            break;
        case PickProblem::NoLinks:
            id = 258;
            break;
        case PickProblem::TooManyLinks:
            id = 259;
            break;
        case PickProblem::NoneExact:
            id = 260;
            break;
    }
    QString text = LangText(id);
    return text.contains(QLatin1String("%1")) ? text.arg(count) : text;
}

}  // namespace pagelark
