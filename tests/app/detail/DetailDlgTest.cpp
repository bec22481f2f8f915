// The detail window with its real browser against pages on 127.0.0.1: which
// addresses it opens, from the list and from inside a page, and which it
// refuses. Runs under xvfb-run: the browser needs a display.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
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
                "<a id='popup' href='/reached' target='_blank'>p</a></body></html>",
                "text/html");
        });
        server.Start();
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
                                           "data:text/html,<b>x</b>", "file:///etc/hostname"};
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

TEST_F(DetailDlgTest, LinksInsideAPageToOtherSchemesAreRefusedAndNewWindowsStayInTheView) {
    const std::string links = server.Url("/links");
    auto dialog = Open("__A1;<++<1. Links\n<++<", {{"__A1;", links}});
    QSignalSpy loaded(dialog->Browser(), &QWebEngineView::loadFinished);
    ASSERT_TRUE(loaded.wait(10000));
    for (const char* id : {"file", "data", "mail"}) {
        Click(*dialog, id);
        QTest::qWait(300);
        EXPECT_EQ(Shown(*dialog).toString().toStdString(), links) << id;
    }
    EXPECT_TRUE(dialog->AddressEdit()->text().startsWith("Refused"));

    Click(*dialog, "popup");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Shown(*dialog).toString().toStdString() == server.Url("/reached"); }));
}

// The main window stays blocked while the window is open: its close box
// must not hide it and leave this window alone on the screen.
TEST_F(DetailDlgTest, RunDetailDialogBlocksTheWindowBehindIt) {
    QWidget main;
    main.show();
    bool seen = false;
    bool modal = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<CDetailDlg*>(window);
            if (dialog == nullptr || !dialog->isVisible()) continue;
            seen = true;
            modal = QApplication::activeModalWidget() == dialog;
            dialog->reject();
            closer.stop();
        }
    });
    closer.start(50);
    RunDetailDialog(&main, 3, EntryMap{{"3", kTwoEntries}}, {{"__A7;", server.Url("/news")}});
    ASSERT_TRUE(seen);
    EXPECT_TRUE(modal);
}

}  // namespace
}  // namespace pagelark
