#include "controls/platform/UrlOpener.h"

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
        fake.openerCommand = {QStringLiteral("opener"), QStringLiteral("--flag")};
        fake.timeoutMs = 1234;
        fake.htmlHandlerCommand = [this] {
            ++handlerQueries;
            return handler;
        };
        fake.runProgram = [this](const QStringList& argv, int timeoutMs) {
            run.push_back(argv);
            EXPECT_EQ(timeoutMs, 1234);
            const ProgramOutcome outcome = outcomes.front();
            outcomes.erase(outcomes.begin());
            return outcome;
        };
        saved = SetUrlServices(fake);
    }
    void TearDown() override { SetUrlServices(saved); }

    static ProgramOutcome Exit(int status) { return {ProgramOutcome::Kind::Exited, status}; }

    std::vector<ProgramOutcome> outcomes;
    std::optional<QString> handler;
    int handlerQueries = 0;
    std::vector<QStringList> run;
    UrlServices saved;
};

TEST_F(GotoUrlTest, OpenerGetsTheUrlAsOneArgumentAndItsStatusDecides) {
    const QString url = QStringLiteral("https://a.example.org/?q=a b&c=$(x);'\"");
    outcomes = {Exit(0)};
    EXPECT_GT(GotoURL(url), 32);
    const QStringList expected = {QStringLiteral("opener"), QStringLiteral("--flag"), url};
    EXPECT_EQ(run, std::vector<QStringList>{expected});
    EXPECT_EQ(handlerQueries, 0);

    // A browser run in the foreground keeps the opener busy: it did open.
    outcomes = {{ProgramOutcome::Kind::StillRunning, 0}};
    EXPECT_GT(GotoURL(url), 32);
}

TEST_F(GotoUrlTest, FailedOpenerFallsBackToTheBrowsersCommandLine) {
    handler = QStringLiteral("\"/opt/my browser\" --new \"%u\" --x");
    outcomes = {Exit(4), Exit(0)};
    EXPECT_GT(GotoURL(QStringLiteral("https://a.example.org/a b")), 32);
    ASSERT_EQ(run.size(), 2u);
    EXPECT_EQ(run[1], (QStringList{QStringLiteral("/opt/my browser"), QStringLiteral("--new"),
                                   QStringLiteral("https://a.example.org/a b")}));
}

// A URL that begins with "-" must not be read as an option: "--" goes before
// the URL for a browser that ends its options there; any other browser is
// not given such a URL at all.
TEST_F(GotoUrlTest, TheBrowserReadsTheUrlAsAUrl) {
    const QString url = QStringLiteral("--headless=x");
    handler = QStringLiteral("/usr/lib/chromium/chromium --new-window %U");
    outcomes = {Exit(1), Exit(0)};
    EXPECT_GT(GotoURL(url), 32);
    ASSERT_EQ(run.size(), 2u);
    EXPECT_EQ(run[1], (QStringList{QStringLiteral("/usr/lib/chromium/chromium"),
                                   QStringLiteral("--new-window"), QStringLiteral("--"), url}));
    handler = QStringLiteral("epiphany %U");
    outcomes = {Exit(1), Exit(0)};
    EXPECT_GT(GotoURL(QStringLiteral("https://a.example.org")), 32);
    EXPECT_EQ(run[3], (QStringList{QStringLiteral("epiphany"), QStringLiteral("--"),
                                   QStringLiteral("https://a.example.org")}));

    run.clear();
    handler = QStringLiteral("oddbrowser %u");
    outcomes = {Exit(1)};
    EXPECT_EQ(GotoURL(url), kErrorNoAssociation);
    EXPECT_EQ(run.size(), 1u);  // the desktop's opener only
}

TEST_F(GotoUrlTest, FailuresGiveTheirCodes) {
    const QString url = QStringLiteral("https://a.example.org");
    // Non-zero status with no browser to fall back on: the opener's failure.
    outcomes = {Exit(4)};
    EXPECT_EQ(GotoURL(url), kErrorNoAssociation);
    outcomes = {Exit(2)};
    EXPECT_EQ(GotoURL(url), kErrorFileNotFound);
    outcomes = {{ProgramOutcome::Kind::NotStarted, 0}};
    EXPECT_EQ(GotoURL(url), kErrorFileNotFound);
    outcomes = {{ProgramOutcome::Kind::Killed, 9}};
    EXPECT_EQ(GotoURL(url), kErrorNoAssociation);
    handler = QStringLiteral("  ");
    outcomes = {Exit(3)};
    EXPECT_EQ(GotoURL(url), kErrorNoAssociation);
    // The browser itself fails.
    handler = QStringLiteral("browser %u");
    outcomes = {Exit(3), Exit(1)};
    EXPECT_EQ(GotoURL(url), kErrorNoAssociation);
    outcomes = {Exit(3), {ProgramOutcome::Kind::NotStarted, 0}};
    EXPECT_EQ(GotoURL(url), kErrorFileNotFound);
}

// The real runner, with small programs standing in for the opener.
TEST(RunProgramTest, ReportsStatusMissingProgramsAndProgramsStillRunning) {
    using Kind = ProgramOutcome::Kind;
    // No shell reads the argument: it arrives byte for byte.
    const QString tricky = QStringLiteral("x;$(echo y)&'\" `z` %u");
    qputenv("PAGELARK_EXPECTED", tricky.toUtf8());
    const ProgramOutcome same = RunProgram(
        {QStringLiteral("sh"), QStringLiteral("-c"),
         QStringLiteral("test \"$1\" = \"$PAGELARK_EXPECTED\""), QStringLiteral("sh"), tricky},
        5000);
    qunsetenv("PAGELARK_EXPECTED");
    EXPECT_EQ(same.kind, Kind::Exited);
    EXPECT_EQ(same.status, 0);

    const ProgramOutcome failed =
        RunProgram({QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("exit 4")}, 5000);
    EXPECT_EQ(failed.kind, Kind::Exited);
    EXPECT_EQ(failed.status, 4);
    EXPECT_EQ(RunProgram({QStringLiteral("pagelark-no-such-opener")}, 5000).kind, Kind::NotStarted);
    EXPECT_EQ(RunProgram({QStringLiteral("sleep"), QStringLiteral("5")}, 50).kind,
              Kind::StillRunning);
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
