#pragma once

#include <QString>

#include <string>

#include "engine/collect/RowReason.h"

namespace pagelark {

// Why a row has no good Result, as a sentence in the interface language
// ("The host was not found"); empty for a good row.
QString ReasonText(const RowReason& reason);

// The same words in English, as the JSON handed to the command on changes
// carries them.
std::string EnglishReasonText(const RowReason& reason);

}  // namespace pagelark
