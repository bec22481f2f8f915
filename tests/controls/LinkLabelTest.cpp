#include "controls/LinkLabel.h"

#include <QCursor>
#include <QFontMetrics>
#include <QWidget>

#include <gtest/gtest.h>

#include "controls/platform/MessageBox.h"
#include "controls/platform/UrlOpener.h"
#include "tests/support/GuiTestSupport.h"

namespace pagelark {
namespace {

using testing::SendMove;
using testing::ShowActive;

// Puts fake desktop services and a recording message box in place.
class LinkLabelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(400, 200);
        UrlServices fake;
        fake.openerCommand = {QStringLiteral("opener")};
        fake.runProgram = [this](const QStringList& argv, int) {
            opened.push_back(argv.back());
            return ProgramOutcome{ProgramOutcome::Kind::Exited, openSucceeds ? 0 : 4};
        };
        fake.htmlHandlerCommand = [] { return std::optional<QString>(); };
        savedServices = SetUrlServices(fake);
        savedBox =
            SetMessageBoxHandler([this](QWidget*, const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons) {
                shown.push_back(text);
                shownIcon = icon;
                return QMessageBox::Ok;
            });
    }
    void TearDown() override {
        SetUrlServices(savedServices);
        SetMessageBoxHandler(savedBox);
    }

    QWidget window;
    bool openSucceeds = true;
    std::vector<QString> opened;
    std::vector<QString> shown;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    UrlServices savedServices;
    MessageBoxHandler savedBox;
};

TEST_F(LinkLabelTest, TextAndUrlStandInForEachOther) {
    LinkLabel textOnly(&window, QStringLiteral("https://a.example.org"));
    EXPECT_EQ(textOnly.GetURL(), QStringLiteral("https://a.example.org"));
    EXPECT_EQ(textOnly.toolTip(), QStringLiteral("https://a.example.org"));

    LinkLabel urlOnly(&window, QString(), QStringLiteral("mailto:x@example.com"));
    EXPECT_EQ(urlOnly.text(), QStringLiteral("mailto:x@example.com"));

    LinkLabel both(&window, QStringLiteral("x@example.com"),
                   QStringLiteral("mailto:x@example.com"));
    EXPECT_EQ(both.text(), QStringLiteral("x@example.com"));
    both.SetURL(QStringLiteral("mailto:y@example.com"));
    EXPECT_EQ(both.toolTip(), QStringLiteral("mailto:y@example.com"));
    EXPECT_EQ(both.cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(LinkLabelTest, ColoursFollowHoverAndVisited) {
    LinkLabel link(&window, QStringLiteral("link"));
    EXPECT_EQ(link.TextColour(), QColor(0, 0, 238));
    link.SetVisited(true);
    EXPECT_EQ(link.TextColour(), QColor(85, 26, 139));
    ASSERT_TRUE(ShowActive(window));
    SendMove(link, QPoint(1, 1));
    EXPECT_EQ(link.TextColour(), QColor(255, 0, 0));
    link.SetColours(Qt::gray, Qt::gray, QColor());
    EXPECT_EQ(link.TextColour(), link.palette().color(QPalette::Highlight));
}

TEST_F(LinkLabelTest, UnderlineModes) {
    LinkLabel link(&window, QStringLiteral("link"));
    link.move(10, 10);
    ASSERT_TRUE(ShowActive(window));
    const QPoint outside = window.mapToGlobal(QPoint(390, 190));

    // -1: only between entering and leaving.
    EXPECT_FALSE(link.IsUnderlined());
    SendMove(link, QPoint(1, 1));
    EXPECT_TRUE(link.IsUnderlined());
    link.CheckHover(outside);
    EXPECT_FALSE(link.IsUnderlined());
    EXPECT_FALSE(link.IsOver());

    link.SetUnderline(1);
    EXPECT_TRUE(link.IsUnderlined());
    SendMove(link, QPoint(1, 1));
    link.CheckHover(outside);
    EXPECT_TRUE(link.IsUnderlined());

    link.SetUnderline(0);
    SendMove(link, QPoint(1, 1));
    EXPECT_FALSE(link.IsUnderlined());
}

TEST_F(LinkLabelTest, LeavingIsNoticedWithoutAnotherMouseMessage) {
    LinkLabel link(&window, QStringLiteral("link"));
    link.move(10, 10);
    ASSERT_TRUE(ShowActive(window));
    QCursor::setPos(link.mapToGlobal(QPoint(2, 2)));
    SendMove(link, QPoint(2, 2));
    QTest::qWait(150);
    EXPECT_TRUE(link.IsOver());
    QCursor::setPos(window.mapToGlobal(QPoint(390, 190)));
    QTest::qWait(250);
    EXPECT_FALSE(link.IsOver());
}

TEST_F(LinkLabelTest, PositionWindowFitsTheTextKeepingTheAlignedEdge) {
    LinkLabel left(&window, QStringLiteral("https://pagelark.example.org"));
    const QFontMetrics metrics(left.font());
    const QSize text = metrics.size(0, left.text());
    EXPECT_EQ(left.width(), text.width());
    EXPECT_EQ(left.height(), text.height());

    LinkLabel right(&window, QStringLiteral("abc"));
    right.setAlignment(Qt::AlignRight | Qt::AlignTop);
    right.setGeometry(100, 20, 200, 30);
    right.PositionWindow();
    EXPECT_EQ(right.geometry().right(), 299);
    EXPECT_EQ(right.width(), metrics.horizontalAdvance(QStringLiteral("abc")));

    LinkLabel centre(&window, QStringLiteral("abc"));
    centre.setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    centre.setGeometry(100, 20, 200, 60);
    centre.PositionWindow();
    EXPECT_NEAR(centre.geometry().center().x(), 199, 1);
    EXPECT_NEAR(centre.geometry().center().y(), 49, 1);

    LinkLabel fixed(&window, QStringLiteral("abc"));
    fixed.SetAutoSize(false);
    fixed.setGeometry(0, 0, 200, 30);
    fixed.PositionWindow();
    EXPECT_EQ(fixed.width(), 200);
}

TEST_F(LinkLabelTest, SuccessfulOpenMarksTheLinkVisited) {
    LinkLabel link(&window, QStringLiteral("https://pagelark.example.org"));
    link.OpenLink();
    EXPECT_EQ(opened, std::vector<QString>{QStringLiteral("https://pagelark.example.org")});
    EXPECT_TRUE(link.GetVisited());
    EXPECT_TRUE(shown.empty());
}

TEST_F(LinkLabelTest, FailedOpenReportsAndStaysUnvisited) {
    openSucceeds = false;
    LinkLabel link(&window, QStringLiteral("https://pagelark.example.org"));
    link.OpenLink();
    EXPECT_FALSE(link.GetVisited());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], ReportErrorMessage(kErrorNoAssociation));
    EXPECT_EQ(shownIcon, QMessageBox::Warning);
}

}  // namespace
}  // namespace pagelark
