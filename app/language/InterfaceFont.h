#pragma once

#include <QFont>
#include <QString>

// The font the windows draw their texts in for an interface language. Han
// characters differ in shape between the Simplified, Traditional and Japanese
// variants of a CJK font, so the variant follows the language.
namespace pagelark {

// The installed CJK family for the language (Simplified for English, whose
// menu shows Simplified names); empty when none of the candidates is there.
QString CjkFamily(int language);

// The dialog font for the language: English keeps the desktop's family with
// the CJK family for Han characters; Chinese is drawn in the CJK family.
QFont InterfaceFont(int language);

}  // namespace pagelark
