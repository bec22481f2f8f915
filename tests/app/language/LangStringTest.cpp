#include "app/language/LangString.h"

#include <gtest/gtest.h>

#include "app/language/UiLanguage.h"
#include "controls/platform/Resources.h"

namespace pagelark {
namespace {

class LangStringTest : public ::testing::Test {
  protected:
    void TearDown() override { UiLanguage = kLanguageEnglish; }

    std::string In(int language, int id) {
        UiLanguage = language;
        return LangString(id);
    }
};

TEST_F(LangStringTest, ThreePieceEntryGivesEachLanguagesPiece) {
    EXPECT_EQ(In(kLanguageEnglish, 172), "New");
    EXPECT_EQ(In(kLanguageSimplified, 172), "新建");
    EXPECT_EQ(In(kLanguageTraditional, 172), "新必");
    EXPECT_EQ(In(kLanguageTraditional, 115), "更新日期");
    EXPECT_EQ(In(kLanguageSimplified, 185), "总在最上面");
}

TEST_F(LangStringTest, TwoPieceEntryFallsBackToEnglishForTraditional) {
    EXPECT_EQ(In(kLanguageTraditional, 194), "Address");
    EXPECT_EQ(In(kLanguageSimplified, 194), "地址");
}

TEST_F(LangStringTest, OnePieceEntryIsTheSameInEveryLanguage) {
    for (const int language : {0, 1, 2}) {
        EXPECT_EQ(In(language, 154), "Pagelark V1.05");
        EXPECT_EQ(In(language, 122), "Pagelark");
    }
}

TEST_F(LangStringTest, PiecesKeepTheirBlanks) {
    EXPECT_EQ(In(kLanguageSimplified, 130), " 是否确定要新建项目列表?");
    EXPECT_EQ(In(kLanguageEnglish, 135), "Errors in I/O operation. ");
    EXPECT_EQ(In(kLanguageTraditional, 130), "是否确定要新建項目列表?");
}

TEST_F(LangStringTest, MissingEntryIsEmptyInEveryLanguage) {
    for (const int language : {0, 1, 2})
        EXPECT_EQ(In(language, 999), "");
}

TEST_F(LangStringTest, AboutTextHasTheVersionABlankLineAndTheNotice) {
    const std::string about = In(kLanguageTraditional, 168);
    EXPECT_EQ(about.rfind("Pagelark V1.05\n\n", 0), 0u);
    EXPECT_NE(about.find("Quillmoor Software"), std::string::npos);
    for (const int language : {0, 1, 2}) {
        EXPECT_NE(In(language, 163).find("Quillmoor Software"), std::string::npos);
    }
}

TEST_F(LangStringTest, ContactTextsUseReservedExampleDomains) {
    const std::string web = In(kLanguageEnglish, 103);
    const std::string mail = In(kLanguageEnglish, 104);
    EXPECT_EQ(web.rfind("https://", 0), 0u);
    EXPECT_NE(web.find("example.org"), std::string::npos);
    EXPECT_NE(mail.find('@'), std::string::npos);
    EXPECT_NE(mail.find("example.com"), std::string::npos);
}

TEST_F(LangStringTest, EveryEntryTheWindowsUseIsInTheTable) {
    const int ids[] = {101, 103, 104, 110, 111, 112, 113, 114, 115, 122, 130, 131,
                       132, 133, 135, 136, 150, 151, 152, 153, 154, 160, 161, 162,
                       163, 166, 167, 168, 170, 171, 172, 173, 174, 175, 176, 177,
                       178, 179, 180, 181, 182, 183, 184, 185, 186, 194};
    for (const int id : ids)
        EXPECT_TRUE(LoadString(id).has_value()) << id;
}

TEST(LanguagePieceTest, PieceRules) {
    EXPECT_EQ(LanguagePiece("a|b|c", 2), "c");
    EXPECT_EQ(LanguagePiece("a|b|c|d", 2), "c");
    EXPECT_EQ(LanguagePiece("a|b|c|d", 1), "b");
    EXPECT_EQ(LanguagePiece("a|", 1), "");
    EXPECT_EQ(LanguagePiece("a||c", 1), "");
    EXPECT_EQ(LanguagePiece("a|b", 0), "a");
    EXPECT_EQ(LanguagePiece("", 2), "");
}

TEST(LanguageCommandTest, CommandsSetTheLanguageOthersAreIgnored) {
    EXPECT_TRUE(ApplyLanguageCommand(ID_LANGUAGE_TRADITIONAL));
    EXPECT_EQ(UiLanguage.load(), kLanguageTraditional);
    EXPECT_FALSE(ApplyLanguageCommand(32774));
    EXPECT_EQ(UiLanguage.load(), kLanguageTraditional);
    EXPECT_TRUE(ApplyLanguageCommand(ID_LANGUAGE_SIMPLIFIED));
    EXPECT_EQ(UiLanguage.load(), kLanguageSimplified);
    EXPECT_TRUE(ApplyLanguageCommand(ID_LANGUAGE_ENGLISH));
    EXPECT_EQ(UiLanguage.load(), kLanguageEnglish);
}

TEST(LanguageCommandTest, LanguageMenuListsTheThreeCommandsInOrder) {
    const auto menu = LoadMenu(IDR_LANGUAGE_MENU);
    ASSERT_TRUE(menu.has_value());
    ASSERT_EQ(menu->items.size(), 3u);
    EXPECT_EQ(menu->items[0].command, 32771);
    EXPECT_EQ(menu->items[0].text, QStringLiteral("English"));
    EXPECT_EQ(menu->items[1].command, 32772);
    EXPECT_EQ(menu->items[1].text, QStringLiteral("简体中文"));
    EXPECT_EQ(menu->items[2].command, 32773);
    EXPECT_EQ(menu->items[2].text, QStringLiteral("繁体中文"));
}

}  // namespace
}  // namespace pagelark
