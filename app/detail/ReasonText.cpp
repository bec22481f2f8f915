#include "app/detail/ReasonText.h"

#include "app/language/LangString.h"
#include "controls/platform/Resources.h"

namespace pagelark {

QString ReasonText(const RowReason& reason) {
    if (reason.Good()) return {};
    QString text =
        QString::fromStdString(ReasonWords(reason, LangString(KindInfo(reason.kind).stringId)));
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
}

std::string EnglishReasonText(const RowReason& reason) {
    if (reason.Good()) return {};
    const std::string entry = LoadString(KindInfo(reason.kind).stringId).value_or("");
    return ReasonWords(reason, LanguagePiece(entry, 0));
}

}  // namespace pagelark
