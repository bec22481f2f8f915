#include "controls/UrlOpener.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(HandlerCommandLineTest, CutsAtTheQuotedPlaceholderAndAppendsTheUrl) {
    const QString url = QStringLiteral("https://pagelark.example.org");
    EXPECT_EQ(HandlerCommandLine(QStringLiteral("browser --new-tab \"%u\" --private"), url),
              QStringLiteral("browser --new-tab  https://pagelark.example.org"));
    EXPECT_EQ(HandlerCommandLine(QStringLiteral("browser %U"), url),
              QStringLiteral("browser  https://pagelark.example.org"));
    EXPECT_EQ(HandlerCommandLine(QStringLiteral("viewer %f --x"), url),
              QStringLiteral("viewer  https://pagelark.example.org"));
    EXPECT_EQ(HandlerCommandLine(QStringLiteral("browser"), url),
              QStringLiteral("browser https://pagelark.example.org"));
    // The quoted form is looked for first, as the placeholder is normally quoted.
    EXPECT_EQ(HandlerCommandLine(QStringLiteral("b %F \"%u\""), url),
              QStringLiteral("b %F  https://pagelark.example.org"));
}

class GotoUrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UrlServices fake;
        fake.openUrl = [this](const QUrl&) { return desktopOpens; };
        fake.htmlHandlerCommand = [this] {
            ++handlerQueries;
            return handler;
        };
        fake.startDetached = [this](const QString& commandLine) {
            started.push_back(commandLine);
            return startWorks;
        };
        saved = SetUrlServices(fake);
    }
    void TearDown() override { SetUrlServices(saved); }

    bool desktopOpens = false;
    std::optional<QString> handler;
    bool startWorks = true;
    int handlerQueries = 0;
    std::vector<QString> started;
    UrlServices saved;
};

TEST_F(GotoUrlTest, DesktopOpenerComesFirst) {
    desktopOpens = true;
    EXPECT_GT(GotoURL(QStringLiteral("https://a.example.org")), 32);
    EXPECT_EQ(handlerQueries, 0);
}

TEST_F(GotoUrlTest, FallsBackToTheBrowsersCommandLine) {
    handler = QStringLiteral("browser \"%u\"");
    EXPECT_GT(GotoURL(QStringLiteral("https://a.example.org")), 32);
    EXPECT_EQ(started, std::vector<QString>{QStringLiteral("browser  https://a.example.org")});
}

TEST_F(GotoUrlTest, FailuresGiveTheirCodes) {
    EXPECT_EQ(GotoURL(QStringLiteral("https://a.example.org")), kErrorNoAssociation);
    handler = QStringLiteral("  ");
    EXPECT_EQ(GotoURL(QStringLiteral("https://a.example.org")), kErrorNoAssociation);
    handler = QStringLiteral("browser %u");
    startWorks = false;
    EXPECT_EQ(GotoURL(QStringLiteral("https://a.example.org")), kErrorFileNotFound);
}

TEST(ReportErrorTest, TextsForKnownAndUnknownCodes) {
    EXPECT_EQ(ReportErrorMessage(26),
              QStringLiteral("Unable to open hyperlink:\n\nA sharing violation occurred. "));
    EXPECT_EQ(ReportErrorMessage(4),
              QStringLiteral("Unable to open hyperlink:\n\nUnknown Error (4) occurred."));
    EXPECT_EQ(ErrorText(0), QStringLiteral("The operating system is out\nof memory or resources."));
    EXPECT_EQ(ErrorText(31),
              QStringLiteral("There is no application associated\nwith the given filename "
                             "extension."));
    EXPECT_EQ(ErrorText(30), QStringLiteral("The DDE transaction could not\nbe completed because "
                                            "other DDE transactions\nwere being processed."));
    EXPECT_EQ(ErrorText(-7), QStringLiteral("Unknown Error (-7) occurred."));
}

}  // namespace
}  // namespace pagelark
