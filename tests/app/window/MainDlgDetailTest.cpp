// The Detail button and a double click on a row open the detail window on
// that row's links. Runs under xvfb-run: the detail window's browser needs a
// display.

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>

#include "app/SplashWindow.h"
#include "app/detail/DetailDlg.h"
#include "app/window/FileChooser.h"
#include "app/window/MainDlg.h"
#include "controls/HoverButton.h"
#include "report/widgets/ReportCtrl.h"
#include "tests/support/LocalServer.h"

namespace pagelark {
namespace {

using D = CMainDlg;

TEST(MainDlgDetailTest, DetailAndADoubleClickOpenTheRowsLinks) {
    SplashWindow::SetEnabled(false);
    LocalServer server;
    for (const char* path : {"/a", "/b"}) {
        server.Routes().Get(path, [path](const httplib::Request&, httplib::Response& response) {
            response.set_content(std::string("<html><body>Latest <a href='") + path +
                                     "1'>First of " + path + "</a> <a href='" + path +
                                     "2'>Second of " + path + "</a> end</body></html>",
                                 "text/html");
        });
    }
    server.Start();
    const QTemporaryDir dir;
    const QString list = dir.filePath("list.xml");
    std::ofstream(list.toStdString(), std::ios::binary)
        << "<xml version=1.0>\r\n<item><name>A</name><format>Latest#HREF,5,4#end</format><url>" +
               server.Url("/a") +
               "</url></item>\r\n<item><name>B</name><format>Latest#HREF,5,4#end</format><url>" +
               server.Url("/b") + "</url></item>\r\n</xml>";
    const FileChooser oldChooser =
        SetFileChooser([&list](QWidget*, const FileChoice&) { return list; });

    CMainDlg window;
    window.show();
    QTest::mouseClick(window.Button(D::IDC_LOAD), Qt::LeftButton);
    QTest::mouseClick(window.Button(D::IDC_START), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.Button(D::IDC_START)->text() == "Start" && window.Worker().Idle(); },
        10000));

    // The rows of the detail window that opens next, which is then closed.
    // Looked for until it is up: the browser's start runs events before exec().
    // It is modal: the list must not change under it.
    const auto opened = [](const std::function<void()>& action) {
        QStringList rows;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&rows, &poll] {
            CDetailDlg* detail = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* found = qobject_cast<CDetailDlg*>(top); found && found->isVisible())
                    detail = found;
            if (detail == nullptr) return;
            poll.stop();
            EXPECT_EQ(QApplication::activeModalWidget(), detail);
            for (int row = 0; row < detail->List()->topLevelItemCount(); ++row)
                rows << detail->List()->topLevelItem(row)->text(0);
            detail->close();
        });
        poll.start(20);
        action();
        return rows;
    };
    CReportCtrl& rows = *window.List();
    rows.SelectItems(1, 1, true, false, false, true);
    EXPECT_EQ(opened([&] { QTest::mouseClick(window.Button(D::IDC_DETAIL), Qt::LeftButton); }),
              QStringList({"1. First of /b", "2. Second of /b"}));
    const QPoint first(60, rows.Geometry().RowTop(0) + 4);
    const auto doubleClick = [&] {  // as the window system sends it
        QTest::mouseClick(rows.viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(rows.viewport(), Qt::LeftButton, {}, first);
    };
    EXPECT_EQ(opened(doubleClick), QStringList({"1. First of /a", "2. Second of /a"}));
    SetFileChooser(oldChooser);
}

}  // namespace
}  // namespace pagelark
