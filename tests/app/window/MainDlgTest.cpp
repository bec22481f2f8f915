// The main window driven through its buttons, with the message boxes and the
// file choosers replaced and the pages served on 127.0.0.1.

#include <sys/resource.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>
#include <tuple>

#include "app/SplashWindow.h"
#include "app/editors/ItemEditorDlg.h"
#include "app/help/HelpWindow.h"
#include "app/language/InterfaceFont.h"
#include "app/language/UiLanguage.h"
#include "app/window/FileChooser.h"
#include "app/window/MainDlg.h"
#include "app/window/MainListLook.h"
#include "app/window/RepeatDlg.h"
#include "controls/FlatHeaderCtrl.h"
#include "controls/HoverButton.h"
#include "controls/platform/MessageBox.h"
#include "files/ScriptFile.h"
#include "report/widgets/ReportCtrl.h"
#include "report/widgets/ReportTipWindow.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/LocalServer.h"
#include "tests/support/ReadFile.h"

namespace pagelark {
namespace {

using namespace std::chrono_literals;
using D = CMainDlg;

constexpr char kPage[] =
    "<html><body><p>Price: 12.50 USD</p><h2>Latest</h2>"
    "<a href='/one'>First story</a> <a href='/two'>Second story</a>"
    "<p>end</p></body></html>";

class MainDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SplashWindow::SetEnabled(false);
        m_oldBox = SetMessageBoxHandler(
            [this](QWidget*, const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                messages.push_back(text);
                return answer;
            });
        m_oldChooser = SetFileChooser([this](QWidget*, const FileChoice& choice) {
            choices.push_back(choice);
            return chosen;
        });
        server.Routes().Get("/page", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(kPage, "text/html");
        });
        // A page that changes once the test says so: a new price, another link.
        for (const char* path : {"/moving", "/moving2"}) {
            server.Routes().Get(path, [this](const httplib::Request&, httplib::Response& response) {
                response.set_content(changed
                                         ? "<html><body><p>Price: 13.00 USD</p><h2>Latest</h2>"
                                           "<a href='/one'>First story</a> <a "
                                           "href='/three'>Third story</a><p>end</p></body></html>"
                                         : kPage,
                                     "text/html");
            });
        }
        // Answers only once released: a page that never comes while the test looks.
        server.Routes().Get("/gate", [this](const httplib::Request&, httplib::Response& response) {
            ++gateRequests;
            for (int i = 0; i < 1000 && !released; ++i)
                std::this_thread::sleep_for(10ms);
            response.set_content(kPage, "text/html");
        });
        server.Start();
        window = std::make_unique<CMainDlg>();
        window->show();
    }
    void TearDown() override {
        released = true;
        window.reset();
        server.Stop();
        ApplyLanguageCommand(ID_LANGUAGE_ENGLISH);
        QApplication::setFont(InterfaceFont(UiLanguage));
        SetMessageBoxHandler(m_oldBox);
        SetFileChooser(m_oldChooser);
    }

    void Click(int id) { QTest::mouseClick(window->Button(id), Qt::LeftButton); }
    QString Text(int id) { return window->Button(id)->text(); }
    CReportCtrl& List() { return *window->List(); }
    std::string Temp(const char* name) { return m_dir.filePath(name).toStdString(); }

    // Loads the items (name, url) with the given filter through the Load button.
    void LoadItems(const std::vector<std::pair<std::string, std::string>>& items,
                   const std::string& filter = "Price:#DATA,1#") {
        std::string text = "<xml version=1.0>\r\n";
        for (const auto& [name, url] : items)
            text += "<item><name>" + name + "</name><format>" + filter + "</format><url>" + url +
                    "</url></item>\r\n";
        text += "</xml>";
        const std::string path = Temp("list.xml");
        std::ofstream(path, std::ios::binary) << text;
        chosen = QString::fromStdString(path);
        Click(D::IDC_LOAD);
    }
    ReportItemInfo Row(int row) {
        ReportItemInfo info;
        info.mask = RIF_IMAGE | RIF_PARAM | RIF_PREVIEW;
        info.item = row;
        List().GetItem(info);
        return info;
    }
    void Select(std::initializer_list<int> rows) {
        List().SelectItems(0, List().GetItemCount() - 1, false, false, false, false);
        for (const int row : rows)
            List().SelectItems(row, row, true, true, false, false);
    }
    // Runs the next modal editor with these fields and OK.
    void AnswerEditor(const ItemFields& fields) {
        QTimer::singleShot(0, [fields] {
            auto* dialog = qobject_cast<ItemEditorDlg*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            dialog->SetFields(fields);
            dialog->accept();
        });
    }
    // The Yes and No of the message box the New question shows, unreplaced.
    QStringList BoxButtons() {
        const MessageBoxHandler replaced = SetMessageBoxHandler(nullptr);
        QStringList texts;
        QTimer::singleShot(0, [&texts] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            texts << box->button(QMessageBox::Yes)->text() << box->button(QMessageBox::No)->text();
            box->button(QMessageBox::No)->click();
        });
        ShowMessageBox(window.get(), "?", QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No);
        SetMessageBoxHandler(replaced);
        return texts;
    }
    bool WaitIdle() {
        return QTest::qWaitFor([this] { return window->Worker().Idle(); }, 5000);
    }
    std::string Url(const char* path) { return server.Url(path); }

    std::vector<QString> messages;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    std::vector<FileChoice> choices;
    QString chosen;
    LocalServer server;
    std::atomic<bool> released{false};
    std::atomic<bool> changed{false};
    std::atomic<int> gateRequests{0};
    std::unique_ptr<CMainDlg> window;

  private:
    QTemporaryDir m_dir;
    MessageBoxHandler m_oldBox;
    FileChooser m_oldChooser;
};

TEST_F(MainDlgTest, CaptionFollowsLoadAndNewAndNewAsksOnlyWithRows) {
    EXPECT_EQ(window->windowTitle(), "Pagelark V1.05");
    Click(D::IDC_NEW);
    EXPECT_TRUE(messages.empty());

    LoadItems({{"A", Url("/page")}, {"B", Url("/page")}});
    EXPECT_EQ(window->windowTitle(), "Pagelark V1.05 - list.xml");
    ASSERT_EQ(List().GetItemCount(), 2);

    answer = QMessageBox::No;
    Click(D::IDC_NEW);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Do you want to create new list?");
    EXPECT_EQ(List().GetItemCount(), 2);

    answer = QMessageBox::Yes;
    Click(D::IDC_NEW);
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_EQ(window->windowTitle(), "Pagelark V1.05");
}

TEST_F(MainDlgTest, DeleteTakesOnlyTheFirstSelectedAndEnableBringsTheBandBack) {
    LoadItems({{"A", Url("/page")}, {"B", Url("/page")}, {"C", Url("/page")}});
    Select({1, 2});
    Click(D::IDC_DELETE);
    ASSERT_EQ(List().GetItemCount(), 2);
    EXPECT_EQ(List().GetItemText(0, 1), "A");
    EXPECT_EQ(List().GetItemText(1, 1), "C");

    // C has gathered links shown in its band.
    const std::string preview = "http://x/1\nhttp://x/2";
    window->Items().results.SetPreview("3", preview);
    ReportItemInfo band;
    band.mask = RIF_PREVIEW;
    band.item = 1;
    band.previewHeight = 50;
    List().SetItem(band);

    Select({1});
    Click(D::IDC_DISABLE);
    EXPECT_EQ(Row(1).image, 4);
    EXPECT_EQ(Row(1).param, 10003);
    EXPECT_EQ(Row(1).previewHeight, 0);

    Select({0, 1});  // A enabled, C disabled
    Click(D::IDC_ENABLE);
    EXPECT_EQ(Row(0).param, 1);
    EXPECT_EQ(Row(1).param, 3);
    EXPECT_EQ(Row(1).image, 1);
    EXPECT_EQ(Row(1).previewHeight, List().GetTextHeight(List().NormalFont(), preview) + 4);

    Select({1});
    Click(D::IDC_DISABLE);
    Select({0, 1});  // A enabled, C disabled: C is not disabled twice
    Click(D::IDC_DISABLE);
    EXPECT_EQ(Row(0).param, 10001);
    EXPECT_EQ(Row(1).param, 10003);
    EXPECT_EQ(Row(0).image, 4);
}

TEST_F(MainDlgTest, AddNumbersItemsEditKeepsADisabledItemDisabledAndAddStopsAt9999) {
    AnswerEditor({"P", "Price:#DATA,1#", Url("/page")});
    Click(D::IDC_ADD);
    AnswerEditor({" Q ", "Price:#DATA,1#", Url("/page")});
    Click(D::IDC_ADD);
    ASSERT_EQ(List().GetItemCount(), 2);
    EXPECT_EQ(List().GetItemText(1, 1), " Q ");
    EXPECT_EQ(Row(1).param, 2);

    List().SetItemText(1, 2, "old result");
    Select({1});
    Click(D::IDC_DISABLE);
    AnswerEditor({"R", "f", "http://r"});
    Click(D::IDC_EDIT);
    EXPECT_EQ(List().GetItemText(1, 1), "R");
    EXPECT_EQ(List().GetItemText(1, 2), "");
    EXPECT_EQ(Row(1).image, 4);
    EXPECT_EQ(Row(1).param, 10002);
    EXPECT_EQ(window->ReadItem(2).url, "http://r");

    window->Items().nextItemNumber = 9999;
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    Click(D::IDC_ADD);
    QTest::qWait(20);
    EXPECT_FALSE(opened);
    EXPECT_EQ(List().GetItemCount(), 2);
}

TEST_F(MainDlgTest, ARunFillsTheRowsAndEndsIdle) {
    LoadItems(
        {{"gated", Url("/gate")}, {"plain", Url("/page")}, {"refused", "http://127.0.0.1:1/"}});
    Click(D::IDC_START);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Row(0).image == 3; }, 3000));
    EXPECT_EQ(Text(D::IDC_START), "Stop");
    EXPECT_FALSE(window->Button(D::IDC_ADD)->isEnabled());
    EXPECT_TRUE(window->Progress()->isVisible());
    released = true;
    ASSERT_TRUE(QTest::qWaitFor([this] { return Text(D::IDC_START) == "Start"; }, 5000));
    EXPECT_EQ(Row(0).image, 2);
    EXPECT_EQ(List().GetItemText(0, 2), "12.50 ");
    EXPECT_TRUE(QString::fromStdString(List().GetItemText(0, 3))
                    .contains(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d [AP]M$")));
    EXPECT_EQ(Row(1).image, 2);
    EXPECT_EQ(Row(2).image, 5);
    // Resting on a row without a good Result says why; a good row has no tip.
    EXPECT_TRUE(window->RowTipText(2).contains("The connection was refused"))
        << window->RowTipText(2).toStdString();
    EXPECT_EQ(window->RowTipText(1), "");
    EXPECT_TRUE(window->Button(D::IDC_ADD)->isEnabled());
    EXPECT_FALSE(window->Progress()->isVisible());
    // The finished run's thread is joined without another Start.
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->JoinFinishedRuns() == 0; }, 2000));
}

TEST_F(MainDlgTest, StopLeavesTheRowWorkingAndTheButtonsBack) {
    LoadItems({{"gated", Url("/gate")}, {"plain", Url("/page")}});
    QTest::keyClick(window.get(), Qt::Key_Return);  // Enter starts
    ASSERT_TRUE(QTest::qWaitFor([this] { return Row(0).image == 3; }, 3000));
    Click(D::IDC_START);
    EXPECT_EQ(Text(D::IDC_START), "Start");
    EXPECT_TRUE(window->Button(D::IDC_START)->isEnabled());
    EXPECT_TRUE(window->Button(D::IDC_LOAD)->isEnabled());
    released = true;
    ASSERT_TRUE(WaitIdle());
    QTest::qWait(50);
    EXPECT_EQ(Row(0).image, 3);
    EXPECT_EQ(Row(1).image, 1);
    EXPECT_EQ(List().GetItemText(0, 2), "");
}

TEST_F(MainDlgTest, ClosingDuringARunWithAPageThatNeverComesEndsAtOnce) {
    LoadItems({{"gated", Url("/gate")}});
    Click(D::IDC_START);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Row(0).image == 3; }, 3000));
    QElapsedTimer clock;
    clock.start();
    window->close();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), 2);
    EXPECT_TRUE(window->Worker().Idle());
}

TEST_F(MainDlgTest, EscapeDoesNotCloseAndWideningMovesTheRightSide) {
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());

    const QPoint load = window->Button(D::IDC_LOAD)->pos();
    const QPoint start = window->Button(D::IDC_START)->pos();
    const QPoint add = window->Button(D::IDC_ADD)->pos();
    const int result = List().GetSubItemWidth(2);
    const QSize first = window->size();
    window->resize(first + QSize(100, 40));
    EXPECT_EQ(window->Button(D::IDC_LOAD)->pos(), load + QPoint(100, 0));
    EXPECT_EQ(window->Button(D::IDC_START)->pos(), start + QPoint(100, 40));
    EXPECT_EQ(window->Button(D::IDC_ADD)->pos(), add);
    EXPECT_EQ(List().GetSubItemWidth(2), result + 100);

    window->resize(first - QSize(50, 50));
    EXPECT_EQ(window->size(), first);
}

// The tip over a clipped Name in the real list, driven as the window system
// drives it: every event goes to the window under the pointer.
TEST_F(MainDlgTest, TheTipGoesWithTheCellAndPassesTheWheelAndKeysToTheList) {
    std::vector<std::pair<std::string, std::string>> items;
    for (int i = 0; i < 40; ++i)
        items.emplace_back("Item " + std::to_string(i) + " with a name far too long for its column",
                           "http://127.0.0.1:1/");
    LoadItems(items);
    ASSERT_TRUE(testing::ShowActive(*window));
    List().setFocus();
    QWidget* rows = List().viewport();
    const ReportTipWindow& tip = *List().GetTipWindow();
    const auto nameOf = [&](int row) {  // in the Name cell's text, global
        return rows->mapToGlobal(QPoint(60, List().Geometry().RowTop(row) + 4));
    };
    const auto under = [&](const QPoint& global) {
        // Without a window system a hidden tip still counts as there.
        QWidget* target = QApplication::widgetAt(global);
        if (target == nullptr || !target->isVisible())
            target = window->childAt(window->mapFromGlobal(global));
        return target;
    };
    const auto moveTo = [&](const QPoint& global) {
        QWidget* target = under(global);
        testing::SendMove(*target, target->mapFromGlobal(global));
        QCoreApplication::sendPostedEvents();
    };

    moveTo(nameOf(1));
    ASSERT_TRUE(tip.isVisible());
    moveTo(rows->mapToGlobal(QPoint(rows->width() - 5, rows->height() - 5)));  // off the cell
    EXPECT_FALSE(tip.isVisible());

    moveTo(nameOf(2));
    ASSERT_TRUE(tip.isVisible());
    QWidget* target = under(nameOf(2));
    QWheelEvent wheel(QPointF(target->mapFromGlobal(nameOf(2))), QPointF(nameOf(2)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(List().Geometry().TopRow(), 3) << "a notch is three rows";
    EXPECT_FALSE(tip.isVisible());

    moveTo(nameOf(4));
    ASSERT_TRUE(tip.isVisible());
    List().ScrollVertically(ScrollCommand::LineForward);
    EXPECT_FALSE(tip.isVisible());

    moveTo(nameOf(6));  // not where the last tip stood
    ASSERT_TRUE(tip.isVisible());
    ASSERT_EQ(List().GetFirstSelectedItem(), -2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(List().GetFirstSelectedItem(), 0) << "the key still reaches the list";
}

// The window runs as the program runs it, in exec(): hiding a dialog ends
// its exec(), which ends the program.
TEST_F(MainDlgTest, ThePinKeepsTheWindowWhereItIsAndFlipsBack) {
    const QRect place = window->geometry();
    QObject scope;  // cancels the steps should exec() end early
    std::vector<std::tuple<bool, bool, bool, QRect>> seen;  // visible, flag, platform flag, place
    const auto look = [&] {
        seen.emplace_back(
            window->isVisible(), window->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
            window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), window->geometry());
    };
    QTimer::singleShot(0, &scope, [&] { Click(D::IDC_ON_TOP); });
    QTimer::singleShot(20, &scope, [&] {
        look();
        Click(D::IDC_ON_TOP);
    });
    QTimer::singleShot(40, &scope, [&] {
        look();
        window->done(7);
    });
    EXPECT_EQ(window->exec(), 7);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::tuple(true, true, true, place));
    EXPECT_EQ(seen[1], std::tuple(true, false, false, place));
    EXPECT_FALSE(window->IsAlwaysOnTop());
}

TEST_F(MainDlgTest, ALanguageSwitchRelabelsAtOnceAndRestoresTheColumns) {
    List().SetSubItemWidth(1, 60);
    List().DeactivateSubItem(3);
    window->Button(D::IDC_LANGUAGE)->SetMenuTracker([](QMenu& menu, const QPoint&) {
        menu.actions().at(1)->trigger();  // Simplified Chinese
    });
    Click(D::IDC_LANGUAGE);
    EXPECT_EQ(Text(D::IDC_ADD), QString::fromUtf8("添加"));
    EXPECT_EQ(Text(D::IDC_START), QString::fromUtf8("开始"));
    EXPECT_EQ(window->Button(D::IDC_LANGUAGE)->TooltipText(),
              QString::fromUtf8("选择语言和定时重复"));
    // Qt's own texts too: the buttons of a real message box.
    EXPECT_EQ(BoxButtons(),
              QStringList({QString::fromUtf8("是(&Y)"), QString::fromUtf8("否(&N)")}));
    window->OnCommand(ID_LANGUAGE_ENGLISH);
    EXPECT_EQ(BoxButtons(), QStringList({"&Yes", "&No"}));
    window->OnCommand(ID_LANGUAGE_SIMPLIFIED);
    EXPECT_EQ(window->Button(D::IDC_ON_TOP)->TooltipText(), QString::fromUtf8("总在最上面"));
    CFlatHeaderCtrl& header = *List().GetHeaderCtrl();
    ASSERT_EQ(header.GetItemCount(), 4);
    HeaderItem item;
    header.GetItem(1, item);
    EXPECT_EQ(item.text, "数据名称");
    EXPECT_EQ(item.width, 150);
    header.GetItem(3, item);
    EXPECT_EQ(item.text, "更新日期");
    EXPECT_EQ(QApplication::font().family(), CjkFamily(kLanguageSimplified));
}

TEST_F(MainDlgTest, SaveLoadSaveGivesTheSameBytesAndAFailedSaveKeepsTheOldFile) {
    LoadItems({{"A&amp;B", Url("/page")}, {"C", "http://c"}}, "x &lt; y");
    const std::string first = Temp("first.xml");
    chosen = QString::fromStdString(first);
    Click(D::IDC_SAVE);
    chosen = QString::fromStdString(first);
    Click(D::IDC_LOAD);
    const std::string second = Temp("second.xml");
    chosen = QString::fromStdString(second);
    Click(D::IDC_SAVE);
    EXPECT_EQ(choices.back().initialName, QString::fromStdString(first));
    const std::string saved = ReadFile(first);
    EXPECT_EQ(ReadFile(second), saved);
    EXPECT_NE(saved.find("<name>A&amp;B</name>"), std::string::npos);
    ASSERT_TRUE(messages.empty());

    // A disk that takes no more than a few bytes.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = old;
    tiny.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &tiny);
    chosen = QString::fromStdString(first);
    Click(D::IDC_SAVE);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Errors in I/O operation. ");
    EXPECT_EQ(ReadFile(first), saved);
}

// Run under ThreadSanitizer by scripts/tsan: the worker writes rows through
// the window while the list paints and the user selects rows.
TEST_F(MainDlgTest, PaintsAndSelectsWhileTheWorkerWrites) {
    std::vector<std::pair<std::string, std::string>> items;
    for (int i = 0; i < 24; ++i)
        items.emplace_back("item " + std::to_string(i), Url("/page"));
    items.emplace_back("refused", "http://127.0.0.1:1/");
    LoadItems(items, "Latest#HREF,5,4#end");
    for (int run = 0; run < 3; ++run) {
        Click(D::IDC_START);
        for (int step = 0; !window->Worker().Idle(); ++step) {
            Select({step % 25, (step * 7) % 25});
            List().repaint();
            QCoreApplication::processEvents();
        }
        ASSERT_TRUE(QTest::qWaitFor([this] { return Text(D::IDC_START) == "Start"; }, 5000));
        EXPECT_EQ(Row(0).image, 2);
        // The third failure in a row needs attention: its own picture.
        EXPECT_EQ(Row(24).image, run < 2 ? 5 : kAttentionImage);
        EXPECT_GT(Row(0).previewHeight, 0);
    }
}

TEST_F(MainDlgTest, AnHrefRowShowsItsLinksInTheBandUnderIt) {
    LoadItems({{"links", Url("/page")}}, "Latest#HREF,5,4#end");
    Click(D::IDC_START);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Text(D::IDC_START) == "Start"; }, 5000));
    const int band = Row(0).previewHeight;
    ASSERT_GT(band, 0);
    const ReportLayout& layout = List().Geometry();
    const QRect under(0, layout.RowTop(0) + layout.RowHeight(), layout.RowsRect().width(), band);
    const QImage shot = List().viewport()->grab().toImage().copy(under);
    // The text is drawn in the highlight colour, inset 40 pixels, one link a line.
    const QColor ink = List().palette().color(QPalette::Highlight);
    const QRect drawn = testing::PixelBounds(shot, [&](QRgb p) {
        return std::abs(qRed(p) - ink.red()) + std::abs(qGreen(p) - ink.green()) +
                   std::abs(qBlue(p) - ink.blue()) <
               60;
    });
    ASSERT_FALSE(drawn.isEmpty()) << "a blank preview";
    EXPECT_GE(drawn.left(), 40);
    EXPECT_LT(drawn.left(), 48);
    EXPECT_GT(drawn.height(), QFontMetrics(List().NormalFont()).height()) << "both links";
}

bool Bold(CReportCtrl& list, int row) {
    ReportItemInfo info;
    info.mask = RIF_STATE;
    info.item = row;
    list.GetItem(info);
    return (info.state & RIS_BOLD) != 0;
}

TEST_F(MainDlgTest, ARunMarksTheChangedRowsBoldUntilSelectedAndTheMarksOutliveARestart) {
    const auto run = [this] {
        Click(D::IDC_START);
        return QTest::qWaitFor([this] { return Text(D::IDC_START) == "Start"; }, 5000);
    };
    std::string text = "<xml version=1.0>\r\n";
    for (const auto& [name, url, filter] : {std::tuple{"moves", "/moving", "Price:#DATA,1#"},
                                            {"moves too", "/moving2", "Price:#DATA,1#"},
                                            {"still", "/page", "Price:#DATA,1#"},
                                            {"links", "/moving", "Latest#HREF,5,4#end"}})
        text += std::string("<item><name>") + name + "</name><format>" + filter + "</format><url>" +
                Url(url) + "</url></item>\r\n";
    const std::string path = Temp("watched.xml");
    std::ofstream(path, std::ios::binary) << text + "</xml>";
    chosen = QString::fromStdString(path);

    Click(D::IDC_LOAD);
    ASSERT_TRUE(run());
    for (int row = 0; row < 4; ++row)
        EXPECT_FALSE(Bold(List(), row)) << "a first run marks nothing";
    changed = true;
    ASSERT_TRUE(run());
    EXPECT_TRUE(Bold(List(), 0));
    EXPECT_TRUE(Bold(List(), 1));
    EXPECT_FALSE(Bold(List(), 2));
    EXPECT_FALSE(Bold(List(), 3)) << "still two links";
    EXPECT_TRUE(window->windowTitle().endsWith("2 changed")) << window->windowTitle().toStdString();
    // The detail window's list shows the link that was not there before in bold.
    EXPECT_TRUE(window->Changes().IsNewEntry(4, Url("/three")));
    EXPECT_FALSE(window->Changes().IsNewEntry(4, Url("/one")));

    List().SelectItems(0, 0, true, false, false, true);
    EXPECT_FALSE(Bold(List(), 0));
    EXPECT_TRUE(window->WatchStatus()->text().startsWith("1 changed"));
    const std::string state = window->StatePath();
    EXPECT_EQ(ReadFile(path), text + "</xml>") << "the script file never changes";

    // A new window on the same file shows the mark that was not seen yet.
    window = std::make_unique<CMainDlg>();
    window->show();
    Click(D::IDC_LOAD);
    EXPECT_FALSE(Bold(List(), 0));
    EXPECT_TRUE(Bold(List(), 1));
    EXPECT_TRUE(window->Changes().IsNewEntry(4, Url("/three")));

    // A damaged state file is reported and the run goes on as a first run.
    std::ofstream(state, std::ios::binary | std::ios::trunc) << "{\"format\":1,\"items\":[{";
    Click(D::IDC_LOAD);
    EXPECT_FALSE(window->WatchStatus()->text().isEmpty());
    EXPECT_FALSE(Bold(List(), 1));
    ASSERT_TRUE(run());
    EXPECT_EQ(List().GetItemText(0, 2), "13.00 ");
    EXPECT_TRUE(window->WatchStatus()->text().isEmpty());
    window->FlushState();
    EXPECT_TRUE(ReadFile(state).starts_with("{\n \"format\": 1"));
}

TEST_F(MainDlgTest, SaveAsTakesTheChangeMarksToTheNewName) {
    const auto run = [this] {
        Click(D::IDC_START);
        return QTest::qWaitFor([this] { return Text(D::IDC_START) == "Start"; }, 5000);
    };
    LoadItems({{"moves", Url("/moving")}, {"still", Url("/page")}});
    ASSERT_TRUE(run());
    changed = true;
    ASSERT_TRUE(run());
    ASSERT_TRUE(Bold(List(), 0));
    chosen = QString::fromStdString(Temp("renamed.xml"));
    Click(D::IDC_SAVE);

    window = std::make_unique<CMainDlg>();
    window->show();
    Click(D::IDC_LOAD);
    EXPECT_TRUE(Bold(List(), 0));
    EXPECT_FALSE(Bold(List(), 1));
    EXPECT_TRUE(window->WatchStatus()->text().startsWith("1 changed"));
}

TEST_F(MainDlgTest, TheChangeNoticeNamesFiveItemsAndCountsTheRest) {
    std::vector<std::pair<std::string, std::string>> items;
    for (const char* name : {"A", "B", "C", "D", "E", "F", "G"})
        items.emplace_back(name, Url("/page"));
    LoadItems(items);
    EXPECT_EQ(window->ChangeNotice({{2, 7}, {}}), "B\nG");
    EXPECT_EQ(window->ChangeNotice({{1, 2, 3, 4, 5, 6, 7}, {}}), "A\nB\nC\nD\nE\nand 2 more");
    EXPECT_EQ(window->ChangeNotice({{2}, {5, 6}}), "B\nNeeds attention:\nE\nF");
}

TEST_F(MainDlgTest, ALongListOpensInOneLayoutAtItsTopAndATooLargeFileIsRefused) {
    std::vector<std::pair<std::string, std::string>> items;
    for (int i = 0; i < 9999; ++i)
        items.emplace_back("Item " + std::to_string(i), "http://example.org/" + std::to_string(i));
    LoadItems(items);
    ASSERT_EQ(List().GetItemCount(), 9999);
    List().ScrollVertically(ScrollCommand::End);
    ASSERT_GT(List().verticalScrollBar()->value(), 0);

    // Loading again: the old rows go and the new ones come as one change,
    // and the view starts at the first row.
    QSignalSpy ranges(List().verticalScrollBar(), &QScrollBar::rangeChanged);
    items.pop_back();
    LoadItems(items);
    EXPECT_EQ(List().GetItemCount(), 9998);
    EXPECT_EQ(ranges.count(), 1);
    EXPECT_EQ(List().verticalScrollBar()->value(), 0);

    // A file too large to be a list: the I/O message, the list as it was,
    // the file as it was.
    const std::string big = Temp("big.xml");
    std::ofstream(big) << "<xml version=1.0>\r\n";
    std::filesystem::resize_file(big, kMaxScriptFileBytes + 1);
    chosen = QString::fromStdString(big);
    Click(D::IDC_LOAD);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Errors in I/O operation. ");
    EXPECT_EQ(List().GetItemCount(), 9998);
    EXPECT_EQ(std::filesystem::file_size(big), kMaxScriptFileBytes + 1);
}

TEST_F(MainDlgTest, TheRepeatDialogsCommandGetsTheChangedRowsAndItsFailureShows) {
    const auto run = [this] {
        Click(D::IDC_START);
        return QTest::qWaitFor([this] { return Text(D::IDC_START) == "Start"; }, 5000);
    };
    const std::string handed = Temp("handed.json");
    const QString command = QString::fromStdString("sh -c 'cat > \"" + handed + "\"'");
    QTimer::singleShot(0, [command] {
        auto* dialog = qobject_cast<RepeatDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        dialog->CommandBox()->setText("notify-send 'unclosed");
        EXPECT_FALSE(dialog->OkButton()->isEnabled());
        dialog->CommandBox()->setText(command);
        EXPECT_TRUE(dialog->OkButton()->isEnabled());
        dialog->OkButton()->click();
    });
    window->OnRepeatSetting();
    EXPECT_EQ(window->ChangeCommandText(), command);
    EXPECT_EQ(QSettings().value("ChangeCommand").toString(), command);

    LoadItems({{"moves", Url("/moving")}, {"still", Url("/page")}});
    ASSERT_TRUE(run());
    changed = true;
    ASSERT_TRUE(run());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReadFile(handed).ends_with("\n"); }, 5000));
    const std::string rows = ReadFile(handed);
    EXPECT_NE(rows.find(R"("number":1,"state":"Done","name":"moves","result":"13.00 ")"),
              std::string::npos)
        << rows;
    EXPECT_EQ(rows.find("still"), std::string::npos) << "only the changed row";

    window->SetChangeCommand("false");
    changed = false;
    ASSERT_TRUE(run());
    EXPECT_TRUE(QTest::qWaitFor(
        [this] {
            return window->WatchStatus()->text() ==
                   "The command on changes failed: false: exit status 1";
        },
        5000))
        << window->WatchStatus()->text().toStdString();
    window->SetChangeCommand("");
}

TEST_F(MainDlgTest, RepeatStartsTheNextRunOnceItIsDueNeverDuringARunAndNotAfterStop) {
    auto now = std::chrono::steady_clock::time_point{};
    window->Repeat().SetClock([&] { return now; });
    window->SetRepeatMinutes(1);
    LoadItems({{"gated", Url("/gate")}});
    Click(D::IDC_START);
    ASSERT_TRUE(QTest::qWaitFor([this] { return gateRequests == 1; }, 3000));
    now += 5min;
    window->RepeatTick();
    EXPECT_EQ(Text(D::IDC_START), "Stop") << "the run goes on, not stopped by the repeat";
    released = true;
    ASSERT_TRUE(QTest::qWaitFor([this] { return Text(D::IDC_START) == "Start"; }, 5000));
    released = false;
    const int firstRun = gateRequests;  // a page is asked for twice on its connection

    now += 59s;
    window->RepeatTick();
    EXPECT_EQ(Text(D::IDC_START), "Start");
    EXPECT_TRUE(window->windowTitle().endsWith("next run in 0:01"))
        << window->windowTitle().toStdString();
    now += 1s;
    window->RepeatTick();
    window->RepeatTick();
    EXPECT_EQ(Text(D::IDC_START), "Stop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return gateRequests == firstRun + 1; }, 3000));
    now += 5min;
    window->RepeatTick();
    QTest::qWait(50);
    EXPECT_EQ(gateRequests, firstRun + 1) << "one repeat run, never doubled";

    Click(D::IDC_START);  // Stop: no more repeats until the next Start
    released = true;
    ASSERT_TRUE(WaitIdle());
    now += 5min;
    window->RepeatTick();
    EXPECT_EQ(Text(D::IDC_START), "Start");
    EXPECT_FALSE(window->Worker().IsRunning());
    window->SetRepeatMinutes(0);
}

// Through the language button's menu, as the user opens it.
TEST_F(MainDlgTest, TheRepeatDialogSetsTheIntervalAndTheCountdownShowsHours) {
    auto now = std::chrono::steady_clock::time_point{};
    window->Repeat().SetClock([&] { return now; });
    window->Button(D::IDC_LANGUAGE)->SetMenuTracker([](QMenu& menu, const QPoint&) {
        menu.actions().back()->trigger();  // Repeat...
    });
    bool confirmShown = false;
    const auto answer = [&](int minutes, bool ok) {
        int shown = -1;
        QTimer::singleShot(0, [&shown, &confirmShown, minutes, ok] {
            auto* dialog = qobject_cast<RepeatDlg*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            shown = dialog->MinutesBox()->value();
            confirmShown = dialog->ConfirmBox()->isChecked();
            dialog->MinutesBox()->setValue(minutes);
            dialog->ConfirmBox()->setChecked(true);
            dialog->AttentionBox()->setValue(5);
            ok ? dialog->accept() : dialog->reject();
        });
        Click(D::IDC_LANGUAGE);
        return shown;
    };
    EXPECT_EQ(answer(90, true), 0);
    EXPECT_EQ(window->Repeat().Minutes(), 90);
    EXPECT_EQ(QSettings().value("RepeatMinutes").toInt(), 90);
    EXPECT_TRUE(QSettings().value("ConfirmChanges").toBool());
    EXPECT_EQ(QSettings().value("AttentionRuns").toInt(), 5);
    EXPECT_EQ(answer(5, false), 90);
    EXPECT_TRUE(confirmShown) << "the dialog opens on the settings in force";
    EXPECT_EQ(window->Repeat().Minutes(), 90) << "Cancel keeps it";

    LoadItems({{"plain", Url("/page")}});
    Click(D::IDC_START);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Text(D::IDC_START) == "Start"; }, 5000));
    EXPECT_TRUE(window->windowTitle().endsWith("next run in 1:30:00"))
        << window->windowTitle().toStdString();
    now += std::chrono::minutes(31);
    window->RepeatTick();
    EXPECT_TRUE(window->windowTitle().endsWith("next run in 59:00"))
        << window->windowTitle().toStdString();
    window->SetRepeatMinutes(0);
    window->SetChangeRules({});
}

}  // namespace
}  // namespace pagelark

namespace pagelark {
namespace {

TEST_F(MainDlgTest, TheAboutBoxSpeaksTheChosenLanguageAndEscapeReportsAMissingHelpFile) {
    window->OnCommand(32773);
    QString title;
    QTimer::singleShot(0, [&] {
        QWidget* about = QApplication::activeModalWidget();
        if (about == nullptr) return;
        title = about->windowTitle();
        about->close();
    });
    window->OnAbout();
    window->OnCommand(32771);
    EXPECT_EQ(title.toStdString(), "關于 Pagelark");

    // The test program has no help.chm beside it.
    QTest::keyClick(window.get(), Qt::Key_Escape);
    HelpWindow* help = window->findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(help->IsLoaded());
    EXPECT_TRUE(help->Browser()->toPlainText().contains("help.chm"));
    help->close();
}

}  // namespace
}  // namespace pagelark
