// The filter picker with its real browser against pages on 127.0.0.1: the
// page is downloaded once and shown from those bytes, the selection is read
// as a person leaves it, and the Filter proposed gives it on the page. Runs
// under xvfb-run: the browser needs a display.

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include "app/editors/FilterPickerDlg.h"
#include "app/editors/PickTexts.h"
#include "app/editors/PickedPage.h"
#include "app/language/LangString.h"
#include "app/language/UiLanguage.h"
#include "controls/platform/DlgItem.h"
#include "engine/page/EntryText.h"
#include "engine/page/ExtractResult.h"
#include "tests/support/LocalServer.h"

namespace pagelark {
namespace {

// Two rows with the same price: only the place selected tells them apart. A
// script would add words the engine never reads; it must not run.
const std::string kBoard =
    "<html><head><title>Board</title><meta http-equiv=refresh content='0;url=/moved'>"
    "<script>document.write('<p>Written by a script</p>')</script></head><body>"
    "<h1>Morning board</h1><table>"
    "<tr><td>Gold:</td><td id=gold>12.50 USD per gram</td></tr>"
    "<tr><td>Silver:</td><td id=silver>12.50 USD per gram</td></tr></table>"
    "<h2>Stories</h2><ul>"
    "<li><a id=n1 href='/n1'>First story of the day</a></li>"
    "<li><a id=n2 href='/n2'>Second story here</a></li>"
    "<li><a id=n3 href='/n3'>Third story there</a></li>"
    "<li><a id=n4 href='/n4'>Fourth story late</a></li></ul>"
    "<p id=long>" +
    std::string(40, 'x') + " " + std::string(40, 'y') + " " + std::string(40, 'z') + " " +
    std::string(40, 'w') + "</p><p>The end</p></body></html>";

// A page in GBK that says so in a <meta>: the picker shows the bytes the
// engine converted to UTF-8, which must not be read as GBK a second time.
// "今日金价: 412 元 每克", then "明日再报".
const std::string kGbkPage =
    "<html><head><meta charset=\"gbk\"><title>\xBD\xF0\xBC\xDB</title></head><body>"
    "<p>\xBD\xF1\xC8\xD5\xBD\xF0\xBC\xDB: <span id=price>412 \xD4\xAA \xC3\xBF\xBF\xCB</span></p>"
    "<p>\xC3\xF7\xC8\xD5\xD4\xD9\xB1\xA8</p></body></html>";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

class FilterPickerDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server.Routes().Get("/board", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(kBoard, "text/html");
        });
        server.Routes().Get("/gbk", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(kGbkPage, "text/html");
        });
        server.Start();
    }
    void TearDown() override { UiLanguage = kLanguageEnglish; }

    int Requests(const std::string& path) const {
        int count = 0;
        for (const auto& request : server.Requests())
            count += request.path == path;
        return count;
    }

    std::unique_ptr<FilterPickerDlg> Open(const std::string& url) {
        auto dialog = std::make_unique<FilterPickerDlg>(url, nullptr);
        dialog->show();
        return dialog;
    }
    // Ready, and the page has the focus, as after a person's first click.
    static void WaitReady(FilterPickerDlg& dialog) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.IsReady(); }, 15000));
        dialog.activateWindow();
        dialog.Browser()->setFocus();
    }

    // Runs JavaScript beside the page (its own scripts are off) and waits.
    static QVariant Run(FilterPickerDlg& dialog, const QString& script) {
        QVariant answer;
        bool done = false;
        dialog.WebPage()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                        [&](const QVariant& value) {
                                            answer = value;
                                            done = true;
                                        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
        return answer;
    }
    // Selects from the start of element `from`'s text, `begin` characters
    // in, to `end` characters into element `to`'s text, and waits until the
    // window has read it.
    static void Select(FilterPickerDlg& dialog, const char* from, int begin, const char* to,
                       int end) {
        Run(dialog, QStringLiteral("(function(){var s=window.getSelection();s.removeAllRanges();"
                                   "var r=document.createRange();"
                                   "r.setStart(document.getElementById('%1').firstChild,%2);"
                                   "r.setEnd(document.getElementById('%3').firstChild,%4);"
                                   "s.addRange(r);return true;})()")
                        .arg(QLatin1String(from))
                        .arg(begin)
                        .arg(QLatin1String(to))
                        .arg(end));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return dialog.Status()->text() != LangText(kNothingSelected); }, 5000));
    }
    static void Use(FilterPickerDlg& dialog) {
        dialog.UseButton()->click();
        ASSERT_FALSE(dialog.UseButton()->isEnabled());  // one proposal at a time
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return dialog.result() == QDialog::Accepted || dialog.UseButton()->isEnabled(); },
            5000));
    }

    LocalServer server;
};

TEST_F(FilterPickerDlgTest, TheDownloadedBytesAreShownAndTheFilterGivesThePlaceSelected) {
    auto dialog = Open(server.Url("/board"));
    EXPECT_EQ(dialog->Status()->text(), LangText(kFetching));
    WaitReady(*dialog);
    // One download (its request and the repeat the fetch makes); the browser
    // asked for nothing of its own.
    EXPECT_EQ(Requests("/board"), 2);
    ASSERT_NE(dialog->Page(), nullptr);
    EXPECT_EQ(dialog->Page()->bytes, kBoard);
    EXPECT_EQ(dialog->WebPage()->url().toString().toStdString(), server.Url("/board"));
    const QString shown = Run(*dialog, QStringLiteral("document.body.innerText")).toString();
    EXPECT_TRUE(shown.contains(QLatin1String("Morning board")));
    EXPECT_FALSE(shown.contains(QLatin1String("Written by a script")));
    // Nothing selected: Use says so.
    Use(*dialog);
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_EQ(dialog->Status()->text(), LangText(kNothingSelected));

    Select(*dialog, "silver", 0, "silver", 9);
    EXPECT_EQ(dialog->Status()->text(), QStringLiteral("Selected: “12.50 USD”"));
    EXPECT_FALSE(dialog->LinksBox()->isEnabled());
    Use(*dialog);
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_TRUE(dialog->Chosen().has_value());
    const std::string filter = dialog->Chosen()->filter;
    EXPECT_EQ(dialog->Chosen()->extraction.result, "12.50 USD ") << filter;

    // The Filter follows the silver row, not the first place the words are.
    for (const auto& [gold, silver] : {std::pair{"13.10", "12.50"}, std::pair{"12.50", "11.75"}}) {
        std::string changed =
            Replaced(kBoard, "<td id=gold>12.50", std::string("<td id=gold>") + gold);
        changed = Replaced(changed, "<td id=silver>12.50", std::string("<td id=silver>") + silver);
        const PickedPage page(server.Url("/board"), changed);
        EXPECT_EQ(ExtractResult(page.page.Flat(), filter).result, std::string(silver) + " USD ")
            << filter;
    }
}

TEST_F(FilterPickerDlgTest, DraggingOverLinksGathersExactlyThoseAndLinksAreNotFollowed) {
    auto dialog = Open(server.Url("/board"));
    WaitReady(*dialog);
    // A click on a link leaves the page where it is.
    const QVariant at =
        Run(*dialog, QStringLiteral("(function(){var r=document.getElementById('n4')"
                                    ".getBoundingClientRect();return [r.left+5,r.top+5];})()"));
    const QVariantList xy = at.toList();
    ASSERT_EQ(xy.size(), 2);
    QTest::mouseClick(dialog->Browser()->focusProxy(), Qt::LeftButton, {},
                      QPoint(xy[0].toInt(), xy[1].toInt()));
    QTest::qWait(500);
    EXPECT_EQ(Requests("/n4"), 0);
    EXPECT_EQ(Requests("/moved"), 0);  // nor does the page's own refresh
    EXPECT_EQ(dialog->WebPage()->url().toString().toStdString(), server.Url("/board"));

    Select(*dialog, "n1", 0, "n3", 17);
    EXPECT_TRUE(dialog->LinksBox()->isEnabled());
    EXPECT_TRUE(dialog->LinksBox()->isChecked());  // a list of links is most likely meant
    EXPECT_TRUE(dialog->Status()->text().endsWith(QLatin1String("(links: 3)")));
    Use(*dialog);
    ASSERT_TRUE(dialog->Chosen().has_value());
    const Extraction& gathered = dialog->Chosen()->extraction;
    EXPECT_EQ(gathered.result, "3 Items Found") << dialog->Chosen()->filter;
    std::vector<std::string> urls;
    for (const EntryPiece& piece : SplitEntries(gathered.entries))
        urls.push_back(dialog->Page()->links.Lookup(piece.marker).value_or("?"));
    EXPECT_EQ(urls,
              (std::vector<std::string>{server.Url("/n1"), server.Url("/n2"), server.Url("/n3")}));
}

TEST_F(FilterPickerDlgTest, WhenNoFilterFitsTheReasonShowsAndTheWindowStays) {
    UiLanguage = kLanguageTraditional;
    auto dialog = Open(server.Url("/board"));
    WaitReady(*dialog);
    EXPECT_EQ(dialog->Status()->text(), LangText(kNothingSelected));
    Select(*dialog, "long", 0, "long", 163);
    Use(*dialog);
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Status()->text(), PickProblemMessage(PickProblem::TooLong, 163));
    EXPECT_TRUE(dialog->Status()->text().contains(QStringLiteral("位元組")));

    // Selecting again and using it works.
    Select(*dialog, "gold", 0, "gold", 9);
    Use(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(FilterPickerDlgTest, AGbkPageShowsAndIsPickedOnAsTheEngineReadsIt) {
    auto dialog = Open(server.Url("/gbk"));
    WaitReady(*dialog);
    const QString shown = Run(*dialog, QStringLiteral("document.body.innerText")).toString();
    EXPECT_TRUE(shown.contains(QStringLiteral("今日金价"))) << shown.toStdString();
    Select(*dialog, "price", 0, "price", 8);
    EXPECT_EQ(dialog->Status()->text(), QStringLiteral("Selected: “412 元 每克”"));
    Use(*dialog);
    ASSERT_TRUE(dialog->Chosen().has_value());
    EXPECT_EQ(dialog->Chosen()->extraction.result, "412 元 每克 ");
}

TEST_F(FilterPickerDlgTest, WhatCannotBeShownIsSaid) {
    const std::string dead = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x";
    auto dialog = Open(dead);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return dialog->Status()->text() != LangText(kFetching); }, 10000));
    EXPECT_EQ(dialog->Status()->text(), LangText(kNotFetched).arg(QString::fromStdString(dead)));
    EXPECT_FALSE(dialog->UseButton()->isEnabled());
    EXPECT_EQ(dialog->Page(), nullptr);

    // A page the editor holds already is shown without a download.
    auto held = std::make_shared<const PickedPage>(server.Url("/board"), kBoard);
    FilterPickerDlg again(server.Url("/board"), held);
    again.show();
    WaitReady(again);
    EXPECT_EQ(Requests("/board"), 0);
    EXPECT_EQ(again.Page(), held);
}

TEST_F(FilterPickerDlgTest, CaptionsFitAndTheButtonsKeepToTheCornerWhenResized) {
    for (const int language : {kLanguageEnglish, kLanguageSimplified, kLanguageTraditional}) {
        UiLanguage = language;
        FilterPickerDlg dialog("ftp://127.0.0.1/x", nullptr);
        EXPECT_EQ(dialog.Status()->text(), LangText(kNotBrowsable).arg("ftp://127.0.0.1/x"));
        for (QWidget* control : dialog.findChildren<QWidget*>()) {
            QString caption;
            int frame = 8;
            if (auto* button = qobject_cast<QAbstractButton*>(control)) caption = button->text();
            if (auto* label = qobject_cast<QLabel*>(control)) {
                caption = label->text();
                frame = 0;
                // A label that wraps must have room for its lines.
                if (label->wordWrap()) {
                    EXPECT_LE(label->heightForWidth(label->width()), label->height())
                        << caption.toStdString();
                    continue;
                }
            }
            if (caption.isEmpty() || control == dialog.Status()) continue;
            // A check box's text follows its box.
            if (qobject_cast<QCheckBox*>(control)) frame = 24;
            EXPECT_LE(control->fontMetrics().horizontalAdvance(caption) + frame, control->width())
                << caption.toStdString();
        }
        dialog.show();
        const QSize before = dialog.size();
        const QRect use = dialog.UseButton()->geometry();
        const QRect page = dialog.Browser()->geometry();
        dialog.resize(before + QSize(200, 100));
        EXPECT_EQ(dialog.UseButton()->geometry(), use.translated(200, 100));
        EXPECT_EQ(dialog.Browser()->geometry(), page.adjusted(0, 0, 200, 100));
        // At its smallest the hint still has room for its lines.
        dialog.resize(dialog.minimumSize());
        auto* hint = qobject_cast<QLabel*>(GetDlgItem(&dialog, FilterPickerDlg::IDC_HINT));
        ASSERT_NE(hint, nullptr);
        EXPECT_LE(hint->heightForWidth(hint->width()), hint->height()) << language;
    }
}

}  // namespace
}  // namespace pagelark
