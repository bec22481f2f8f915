#include "app/language/InterfaceFont.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include <gtest/gtest.h>

#include "app/language/UiLanguage.h"
#include "controls/platform/DialogUnits.h"

namespace pagelark {
namespace {

// The family each glyph of text is actually drawn with.
QStringList DrawnFamilies(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList families;
    for (const QGlyphRun& run : layout.glyphRuns())
        families << run.rawFont().familyName();
    return families;
}

TEST(InterfaceFontTest, HanTextTakesTheVariantOfTheLanguage) {
    if (CjkFamily(kLanguageSimplified) != QLatin1String("Noto Sans CJK SC") ||
        CjkFamily(kLanguageTraditional) != QLatin1String("Noto Sans CJK TC")) {
        GTEST_SKIP() << "the Noto CJK fonts are not installed";
    }
    EXPECT_EQ(DrawnFamilies(QStringLiteral("搜索条件"), InterfaceFont(kLanguageSimplified)),
              QStringList{QStringLiteral("Noto Sans CJK SC")});
    EXPECT_EQ(DrawnFamilies(QStringLiteral("搜索條件"), InterfaceFont(kLanguageTraditional)),
              QStringList{QStringLiteral("Noto Sans CJK TC")});
    // Latin text keeps the desktop's own family.
    // English keeps the desktop's own family for Latin text.
    EXPECT_EQ(DrawnFamilies(QStringLiteral("Name:"), InterfaceFont(kLanguageEnglish)),
              DrawnFamilies(QStringLiteral("Name:"), DialogUnits::DialogFont()));
    EXPECT_EQ(DrawnFamilies(QStringLiteral("简体中文"), InterfaceFont(kLanguageEnglish)),
              QStringList{QStringLiteral("Noto Sans CJK SC")});
}

}  // namespace
}  // namespace pagelark
