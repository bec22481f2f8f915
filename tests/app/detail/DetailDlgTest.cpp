// The detail window with its real browser against pages on 127.0.0.1: which
// addresses it opens, from the list and from inside a page, and which it
// refuses. Runs under xvfb-run: the browser needs a display.

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include "app/detail/DetailDlg.h"
#include "tests/support/LocalServer.h"

namespace pagelark {
namespace {

constexpr char kTwoEntries[] = "__A7;<++<1. News\n<++<__A9;<++<2. Archive\n<++<";

class DetailDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* path : {"/news", "/archive", "/reached"}) {
            server.Routes().Get(path, [path](const httplib::Request&, httplib::Response& response) {
                response.set_content(std::string("<html><body>") + path + "</body></html>",
                                     "text/html");
            });
        }
        // Every way a page may ask for another address: links to refused
        // schemes, and a new window that must stay in this view.
        server.Routes().Get("/links", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(
                "<html><body><a id='file' href='file:///etc/hostname'>f</a>"
                "<a id='data' href='data:text/html,<b>x</b>'>d</a>"
                "<a id='mail' href='mailto:desk@news.example.org'>m</a>"
                "<a id='popup' href='/reached' target='_blank'>p</a>"
                "<a id='ftp' href='ftp://127.0.0.1/pub/x.txt'>t</a>"
                "<a id='hop' href='/to-ftp'>h</a></body></html>",
                "text/html");
        });
        server.Routes().Get("/hop", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("/reached");
        });
        server.Routes().Get("/to-ftp", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("ftp://127.0.0.1/pub/x.txt");
        });
        server.Start();
        InstallFakeOpener();
    }

    // The desktop's opener is a script on PATH that notes each call, so a test
    // sees whether anything a page did was handed to the desktop.
    static QString OpenerFolder() {
        return QDir::tempPath() + "/pagelark-opener-" +
               QString::number(QCoreApplication::applicationPid());
    }
    void InstallFakeOpener() {
        // Once: the desktop services look for their opener only once.
        static const bool onPath = [] {
            qputenv("PATH", OpenerFolder().toUtf8() + ":" + qgetenv("PATH"));
            qputenv("PAGELARK_OPENER_LOG", (OpenerFolder() + "/calls").toUtf8());
            return true;
        }();
        ASSERT_TRUE(onPath && QDir().mkpath(OpenerFolder()));
        QFile script(OpenerFolder() + "/xdg-open");
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >>\"$PAGELARK_OPENER_LOG\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        openerLog = OpenerFolder() + "/calls";
        QFile::remove(openerLog);
    }
    static void TearDownTestSuite() { QDir(OpenerFolder()).removeRecursively(); }

    std::string OpenerCalls() const {
        QFile log(openerLog);
        return log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string();
    }

    bool Requested(const std::string& path) const {
        for (const auto& request : server.Requests())
            if (request.path == path) return true;
        return false;
    }

    std::unique_ptr<CDetailDlg> Open(const std::string& entries, const LinkMap& links,
                                     CDetailDlg::NewEntryTest isNew = {}) {
        auto dialog =
            std::make_unique<CDetailDlg>(3, EntryMap{{"3", entries}}, links, nullptr, isNew);
        dialog->showMaximized();
        return dialog;
    }

    static QUrl Shown(const CDetailDlg& dialog) { return dialog.Browser()->page()->url(); }

    // A real mouse click on the element, so the page sees a user's gesture.
    static void Click(CDetailDlg& dialog, const char* id) {
        QPoint centre(-1, -1);
        dialog.Browser()->page()->runJavaScript(
            QStringLiteral(
                "(function(){var r=document.getElementById('%1')"
                ".getBoundingClientRect();return [r.left+r.width/2,r.top+r.height/2];})()")
                .arg(QLatin1String(id)),
            [&](const QVariant& at) {
                const QVariantList xy = at.toList();
                if (xy.size() == 2) centre = QPoint(xy[0].toInt(), xy[1].toInt());
            });
        ASSERT_TRUE(QTest::qWaitFor([&] { return centre.x() >= 0; }));
        QWidget* surface = dialog.Browser()->focusProxy();
        QTest::mouseClick(surface, Qt::LeftButton, {}, centre);
    }

    LocalServer server;
    QString openerLog;
};

TEST_F(DetailDlgTest, TwoEntriesOpenTheFirstAndADoubleClickOpensTheSecond) {
    const std::string news = server.Url("/news");
    const std::string archive = server.Url("/archive");
    // Only the archive link is new since the last run: it alone is bold.
    auto dialog = Open(kTwoEntries, {{"__A7;", news}, {"__A9;", archive}, {"__A8;", "x"}},
                       [&](const std::string& url) { return url == archive; });
    QTreeWidget* list = dialog->List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_FALSE(list->topLevelItem(0)->font(0).bold());
    EXPECT_TRUE(list->topLevelItem(1)->font(0).bold());
    EXPECT_TRUE(list->topLevelItem(1)->font(1).bold());
    EXPECT_EQ(list->topLevelItem(0)->data(0, Qt::UserRole).toString(), "1. News\n");
    EXPECT_EQ(list->topLevelItem(1)->text(1).toStdString(), archive);
    EXPECT_EQ(dialog->AddressEdit()->text().toStdString(), news);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shown(*dialog).toString().toStdString() == news; }));
    EXPECT_TRUE(Requested("/news"));
    EXPECT_EQ(list->currentItem(), nullptr);

    const int height = dialog->contentsRect().height();
    EXPECT_EQ(list->height(), height / 5);
    dialog->ToggleButton()->click();
    EXPECT_EQ(list->height(), height / 2);
    EXPECT_EQ(dialog->ToggleButton()->text(), "<<");
    dialog->ToggleButton()->click();
    EXPECT_EQ(list->height(), height / 5);
    EXPECT_EQ(dialog->ToggleButton()->text(), ">>");

    const QRect row = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(dialog->AddressEdit()->text().toStdString(), archive);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return Shown(*dialog).toString().toStdString() == archive; }));

    // Enter in the address edit closes the window; it does not navigate.
    dialog->AddressEdit()->setFocus();
    QTest::keyClick(dialog->AddressEdit(), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(DetailDlgTest, GatheredScriptAndDataLinksAreListedButNotLoaded) {
    const std::vector<std::string> urls = {"javascript:location='" + server.Url("/reached") + "'",
                                           "data:text/html,<b>x</b>", "file:///etc/hostname",
                                           "ftp://127.0.0.1/pub/x.txt"};
    for (const std::string& url : urls) {
        auto dialog = Open("__A1;<++<1. Odd\n<++<", {{"__A1;", url}});
        ASSERT_EQ(dialog->List()->topLevelItemCount(), 1) << url;
        QTest::qWait(300);
        EXPECT_TRUE(dialog->AddressEdit()->text().startsWith("Refused")) << url;
        EXPECT_TRUE(Shown(*dialog).isEmpty() || Shown(*dialog).toString() == "about:blank")
            << url << " " << Shown(*dialog).toString().toStdString();
    }
    EXPECT_FALSE(Requested("/reached"));
}

// The engine drops a click on a link it cannot load (the page and the box stay
// as they were); nothing reaches the desktop's opener, not even an ftp link or
// an http link that redirects to ftp.
TEST_F(DetailDlgTest, LinksInsideAPageToOtherSchemesGoNowhereAndNewWindowsStayInTheView) {
    const std::string links = server.Url("/links");
    auto dialog = Open("__A1;<++<1. Links\n<++<", {{"__A1;", links}});
    QSignalSpy loaded(dialog->Browser(), &QWebEngineView::loadFinished);
    ASSERT_TRUE(loaded.wait(10000));
    for (const char* id : {"file", "data", "mail", "ftp", "hop"}) {
        Click(*dialog, id);
        QTest::qWait(300);
        EXPECT_EQ(Shown(*dialog).toString().toStdString(), links) << id;
        EXPECT_EQ(dialog->AddressEdit()->text().toStdString(), links) << id;
    }
    EXPECT_TRUE(Requested("/to-ftp"));
    QTest::qWait(700);  // the opener, had it been started, has written by now
    EXPECT_EQ(OpenerCalls(), "");

    Click(*dialog, "popup");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Shown(*dialog).toString().toStdString() == server.Url("/reached"); }));
    EXPECT_EQ(dialog->AddressEdit()->text().toStdString(), server.Url("/reached"));

    // The fake is the opener the desktop services would have started.
    QDesktopServices::openUrl(QUrl(QStringLiteral("ftp://127.0.0.1/check")));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return OpenerCalls().find("ftp://127.0.0.1/check") != std::string::npos; }));
}

TEST_F(DetailDlgTest, TheAddressBoxShowsWhereARedirectLed) {
    auto dialog = Open("__A1;<++<1. Hop\n<++<", {{"__A1;", server.Url("/hop")}});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Shown(*dialog).toString().toStdString() == server.Url("/reached"); }));
    EXPECT_EQ(dialog->AddressEdit()->text().toStdString(), server.Url("/reached"));
}

// Why the item has no good Result and what changed, with every text from a
// page shown as written; a link new at a step opens in the browser (which
// checks it as it checks every address).
TEST_F(DetailDlgTest, TheHistorySaysWhyAndMarksWhatChangedAndItsLinksOpenInTheBrowser) {
    DetailHistory history;
    history.name = "Shop <b>";
    history.reason = {RowReason::Kind::HttpStatus, 404, {}};
    history.attention = true;
    history.failures = 3;
    history.history = {{"12.99 <USD>", 1767225600, {{server.Url("/archive"), "<i>Archive</i>"}}},
                       {"12.50 <USD>", 0, {}}};
    const HistoryPage page = HistoryHtml(history);
    EXPECT_NE(page.html.indexOf("line-through;\">12.50</span> <span style=\"background-color:"
                                "#C9EFCB; color:#0B5A1D;\">12.99</span> &lt;USD&gt;"),
              -1)
        << page.html.toStdString();
    EXPECT_EQ(page.html.indexOf("<i>Archive"), -1);
    EXPECT_EQ(page.html.indexOf("Shop <b>"), -1);
    EXPECT_NE(page.html.indexOf("Shop &lt;b&gt;"), -1);
    EXPECT_EQ(page.links, std::vector<std::string>{server.Url("/archive")});
    // Chinese is written without blanks: a replacement adds none, and no
    // line turns the removed 二 into 三.
    DetailHistory chinese;
    chinese.history = {{"明日十度", 2, {}}, {"今日二十度", 1, {}}};
    const QString marked = HistoryHtml(chinese).html;
    EXPECT_NE(marked.indexOf(QString::fromUtf8("今</span><span")), -1) << marked.toStdString();
    EXPECT_NE(marked.indexOf(QString::fromUtf8("color:#8C1C13;\">二</span>")), -1)
        << marked.toStdString();

    // Nothing gathered: the History is the whole window.
    CDetailDlg dialog(3, {}, {}, nullptr, {}, history);
    dialog.showMaximized();
    EXPECT_TRUE(dialog.ShowsHistory());
    EXPECT_FALSE(dialog.List()->isVisible());
    const QString text = dialog.History()->toPlainText();
    for (const char* said : {"The server answered with HTTP status 404",
                             "Needs attention: no good Result for 3 runs in a row",
                             "Last good Result, since", "time not kept", "<i>Archive</i>"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(said))) << said << "\n" << text.toStdString();
    emit dialog.History()->anchorClicked(QUrl("link:0"));
    EXPECT_FALSE(dialog.ShowsHistory());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Shown(dialog).toString().toStdString() == server.Url("/archive"); }));
    emit dialog.History()->anchorClicked(QUrl("link:7"));  // no such link: nothing happens
    EXPECT_EQ(dialog.AddressEdit()->text().toStdString(), server.Url("/archive"));
    // The way back to the History shows with the page.
    ASSERT_TRUE(dialog.HistoryButton()->isVisible());
    dialog.HistoryButton()->click();
    EXPECT_TRUE(dialog.ShowsHistory());

    // With links and a good Result it opens on them; the button shows the History.
    auto withLinks = Open(kTwoEntries, {{"__A7;", server.Url("/news")}, {"__A9;", "x"}});
    EXPECT_FALSE(withLinks->ShowsHistory());
    withLinks->HistoryButton()->click();
    EXPECT_TRUE(withLinks->ShowsHistory());
    EXPECT_FALSE(withLinks->Browser()->isVisible());
}

}  // namespace
}  // namespace pagelark
