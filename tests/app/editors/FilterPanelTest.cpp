// The item editors' filter builder without a browser: the picker is a stand-in
// that answers as the real one would, and Test downloads from a server on
// 127.0.0.1. What shows under the Filter must always belong to the Filter
// and URL typed, the page must be downloaded once, and a slow or dead server
// must never hold the window.

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/editors/FilterPanel.h"
#include "app/editors/ItemEditorDlg.h"
#include "app/editors/PickTexts.h"
#include "app/language/DialogTemplates.h"
#include "app/language/LangString.h"
#include "app/language/UiLanguage.h"
#include "controls/platform/DlgItem.h"
#include "tests/support/LocalServer.h"

namespace pagelark {
namespace {

constexpr char kPrices[] =
    "<html><body><h1>Market</h1><table>"
    "<tr><td>Gold:</td><td>2,031.40 USD per ounce</td></tr>"
    "<tr><td>Silver:</td><td>23.85 USD per ounce</td></tr></table>"
    "<h2>News</h2><ul><li><a href='/a'>Alpha rises again</a></li>"
    "<li><a href='/b'>Beta falls a little</a></li><li><a href='/c'>Gamma stays put</a></li></ul>"
    "<p>End of the board</p></body></html>";

class FilterPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server.Routes().Get("/prices",
                            [this](const httplib::Request&, httplib::Response& response) {
                                response.set_content(kPrices, "text/html");
                            });
        server.Routes().Get("/slow", [this](const httplib::Request&, httplib::Response& response) {
            for (int i = 0; i < 300 && !stopping; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            response.set_content(kPrices, "text/html");
        });
        server.Start();
    }
    void TearDown() override {
        stopping = true;
        UiLanguage = kLanguageEnglish;
    }

    static void Click(ItemEditorDlg& dialog, int id) {
        qobject_cast<QPushButton*>(GetDlgItem(&dialog, id))->click();
    }
    static void WaitIdle(ItemEditorDlg& dialog) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.Filters()->Busy(); }, 10000));
    }
    int Fetches(const std::string& path) const {
        int count = 0;
        for (const auto& request : server.Requests())
            count += request.path == path;
        return count;
    }
    // A stand-in picker: notes what it was given, answers `answer`.
    FilterPanel::PickerRunner Picker(std::optional<FilterCandidate> answer) {
        return [this, answer](QWidget*, const std::string& url,
                              std::shared_ptr<const PickedPage> page) {
            asked.push_back({url, page});
            return PickOutcome{answer,
                               page ? page : std::make_shared<const PickedPage>(url, kPrices)};
        };
    }

    LocalServer server;
    std::atomic<bool> stopping{false};
    std::vector<std::pair<std::string, std::shared_ptr<const PickedPage>>> asked;
};

TEST_F(FilterPanelTest, APickFillsTheFilterShowsItsResultAndAnEditPutsTheHintBack) {
    ItemEditorDlg dialog(IDD_ADD_ITEM);
    EXPECT_EQ(dialog.Filters()->Shown(), LangText(kPressTest));
    FilterCandidate best{"Silver:#DATA,1,2#", {"23.85 USD ", "", "", 0}, true};
    dialog.Filters()->SetPickerRunner(Picker(best));
    const std::string url = " " + server.Url("/prices");  // as typed: the run fetches it so
    dialog.SetFields({"Silver", "", url});
    Click(dialog, IDC_PICK_ON_PAGE);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, url);
    EXPECT_EQ(asked[0].second, nullptr);
    EXPECT_EQ(dialog.Fields().filter, "Silver:#DATA,1,2#");
    EXPECT_EQ(dialog.Filters()->Shown(), QStringLiteral("Result on the page: 23.85 USD "));

    // The page the picker showed is handed to it again and used by Test.
    Click(dialog, IDC_PICK_ON_PAGE);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].second, dialog.Filters()->Page());

    // The Result shown belongs to the Filter and the URL typed.
    dialog.Edit(IDC_ITEM_FILTER)->end(false);
    dialog.Edit(IDC_ITEM_FILTER)->insert(QStringLiteral(" "));
    EXPECT_EQ(dialog.Filters()->Shown(), LangText(kPressTest));
    Click(dialog, IDC_TEST_FILTER);
    WaitIdle(dialog);
    EXPECT_EQ(dialog.Filters()->Shown(), QStringLiteral("Result on the page: 23.85 USD "));
    dialog.Edit(IDC_ITEM_URL)->setText(QString::fromStdString(server.Url("/prices")));
    EXPECT_EQ(dialog.Filters()->Shown(), LangText(kPressTest));
    EXPECT_EQ(Fetches("/prices"), 0);  // the stand-in's page served both

    // A cancelled picker changes nothing.
    dialog.Filters()->SetPickerRunner(Picker(std::nullopt));
    Click(dialog, IDC_PICK_ON_PAGE);
    EXPECT_EQ(dialog.Fields().filter, "Silver:#DATA,1,2# ");
}

TEST_F(FilterPanelTest, TestDownloadsOnceAndShowsTheResultAndFirstEntriesAsTheRowWould) {
    ItemEditorDlg dialog(IDD_EDIT_ITEM);
    dialog.SetFields({"n", "Gold:#DATA,1,2#", server.Url("/prices")});
    Click(dialog, IDC_TEST_FILTER);
    EXPECT_EQ(dialog.Filters()->Shown(), LangText(kFetching));
    WaitIdle(dialog);
    EXPECT_EQ(dialog.Filters()->Shown(), QStringLiteral("Result on the page: 2,031.40 USD "));

    dialog.Edit(IDC_ITEM_FILTER)->setText(QStringLiteral("News#HREF,10,4#End"));
    Click(dialog, IDC_TEST_FILTER);
    WaitIdle(dialog);
    EXPECT_EQ(dialog.Filters()->Shown(),
              QStringLiteral("Result on the page: 3 Items Found\n1. Alpha rises again\n"
                             "2. Beta falls a little\n3. Gamma stays put"));

    dialog.Edit(IDC_ITEM_FILTER)->setText(QStringLiteral("Nowhere#DATA,1#"));
    Click(dialog, IDC_TEST_FILTER);
    WaitIdle(dialog);
    EXPECT_EQ(dialog.Filters()->Shown(), QStringLiteral("Result on the page: N/A"));
    // One download: its request and the repeat with the extra header.
    EXPECT_EQ(Fetches("/prices"), 2);
}

TEST_F(FilterPanelTest, WhatCannotBeFetchedIsSaidBeforeAndAfterTrying) {
    UiLanguage = kLanguageSimplified;
    ItemEditorDlg dialog(IDD_ADD_ITEM);
    dialog.Filters()->SetPickerRunner(Picker(std::nullopt));
    struct Case {
        const char* filter;
        std::string url;
        QString said;
    };
    const std::string dead = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x";
    const Case cases[] = {
        {"a#DATA#", "http://", LangText(kTypeUrlFirst)},
        {"a#DATA#", "  ", LangText(133)},
        {" ", server.Url("/prices"), LangText(132)},
        {"a#DATA#", dead, LangText(kNotFetched).arg(QString::fromStdString(dead))},
    };
    for (const Case& c : cases) {
        dialog.SetFields({"n", c.filter, c.url});
        Click(dialog, IDC_TEST_FILTER);
        WaitIdle(dialog);
        EXPECT_EQ(dialog.Filters()->Shown(), c.said) << c.url;
    }
    EXPECT_TRUE(LangText(kNotFetched).startsWith(QStringLiteral("无法获取网页")));
    // The picker shows only what the browser may open, and needs a host.
    for (const std::string url : {"ftp://127.0.0.1/x", "http://"}) {
        dialog.SetFields({"n", "", url});
        Click(dialog, IDC_PICK_ON_PAGE);
        EXPECT_TRUE(asked.empty()) << url;
    }
    EXPECT_EQ(dialog.Filters()->Shown(), LangText(kTypeUrlFirst));
}

TEST_F(FilterPanelTest, ASlowPageNeverHoldsTheWindowNorItsClosing) {
    auto dialog = std::make_unique<ItemEditorDlg>(IDD_EDIT_ITEM);
    dialog->SetFields({"n", "Gold:#DATA,1,2#", server.Url("/slow")});
    QElapsedTimer clock;
    clock.start();
    Click(*dialog, IDC_TEST_FILTER);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Fetches("/slow") == 1; }, 5000));
    EXPECT_TRUE(dialog->Filters()->Busy());
    // Typing on meanwhile: the answer that comes belongs to other texts.
    dialog->Edit(IDC_ITEM_FILTER)->setText(QStringLiteral("Silver:#DATA,1,2#"));
    dialog.reset();  // the download is told to stop and the window goes at once
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST_F(FilterPanelTest, EveryReasonReadsInEachLanguageWithItsNumber) {
    const PickProblem problems[] = {PickProblem::NoWords,       PickProblem::NotOnPage,
                                    PickProblem::FewerPlaces,   PickProblem::TooLong,
                                    PickProblem::NothingBefore, PickProblem::NoStart,
                                    PickProblem::NoEnd,         PickProblem::NoLinks,
                                    PickProblem::TooManyLinks,  PickProblem::NoneExact};
    for (const int language : {kLanguageEnglish, kLanguageSimplified, kLanguageTraditional}) {
        UiLanguage = language;
        QStringList seen;
        for (const PickProblem problem : problems) {
            const QString text = PickProblemMessage(problem, 300);
            EXPECT_FALSE(text.isEmpty() || text.contains(QLatin1String("%1")));
            EXPECT_FALSE(seen.contains(text)) << text.toStdString();
            seen << text;
            // Chinese texts are Chinese.
            if (language != kLanguageEnglish) {
                EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](QChar c) {
                    return c.unicode() >= 0x4E00;
                })) << text.toStdString();
            }
        }
        EXPECT_TRUE(PickProblemMessage(PickProblem::TooLong, 300).contains(QLatin1String("300")));
        EXPECT_TRUE(
            PickProblemMessage(PickProblem::TooManyLinks, 300).contains(QLatin1String("300")));
    }
    UiLanguage = kLanguageEnglish;
    EXPECT_EQ(PickProblemMessage(PickProblem::FewerPlaces, 1),
              QStringLiteral("The page shows the selected words only once."));
    EXPECT_EQ(PickProblemMessage(PickProblem::FewerPlaces, 2),
              QStringLiteral("The page shows the selected words only 2 times."));
}

// Every caption fits its place in each language: a button or label cut short
// is what a user of a Chinese desktop would see first.
TEST_F(FilterPanelTest, EveryCaptionFitsInEachLanguage) {
    for (const int language : {kLanguageEnglish, kLanguageSimplified, kLanguageTraditional}) {
        UiLanguage = language;
        ItemEditorDlg dialog(IDD_ADD_ITEM);
        for (QWidget* control : dialog.findChildren<QWidget*>()) {
            QString caption;
            int frame = 0;  // a button's text keeps clear of its edges
            if (auto* button = qobject_cast<QPushButton*>(control)) {
                caption = button->text();
                frame = 8;
            }
            if (auto* label = qobject_cast<QLabel*>(control))
                if (!label->wordWrap()) caption = label->text();
            if (caption.isEmpty()) continue;
            EXPECT_LE(control->fontMetrics().horizontalAdvance(caption) + frame, control->width())
                << caption.toStdString() << " in language " << language;
        }
        // The hint under the Filter fits its lines.
        QLabel* result = qobject_cast<QLabel*>(GetDlgItem(&dialog, IDC_FILTER_RESULT));
        EXPECT_LE(result->heightForWidth(result->width()), result->height()) << language;
    }
}

}  // namespace
}  // namespace pagelark
