#include "app/SplashWindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "app/StartupRules.h"
#include "tests/support/GuiTestSupport.h"

namespace pagelark {
namespace {

TEST(StartupRulesTest, EmbeddingOrAutomationFlagsSuppressTheSplash) {
    const std::pair<QStringList, bool> cases[] = {
        {{"pagelark"}, true},
        {{"pagelark", "/Embedding"}, false},
        {{"pagelark", "-automation"}, false},
        {{"pagelark", "list.xml", "/AUTOMATION"}, false},
        {{"pagelark", "Embedding"}, true},
        {{"pagelark", "--Embedding"}, true},
        {{"pagelark", "/Embeddings"}, true},
        {{"/Embedding"}, true},
    };
    for (const auto& [args, allowed] : cases) {
        EXPECT_EQ(SplashAllowed(args), allowed) << args.join(u' ').toStdString();
    }
    NameSettingsRoot();
    EXPECT_EQ(QCoreApplication::organizationName(), QStringLiteral("Quillmoor Software"));
}

class SplashWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner.setGeometry(100, 80, 640, 480);
        auto* layout = new QVBoxLayout(&owner);
        edit = new QLineEdit(&owner);
        button = new QPushButton(QStringLiteral("Start"), &owner);
        layout->addWidget(edit);
        layout->addWidget(button);
        ASSERT_TRUE(testing::ShowActive(owner));
        edit->setFocus();
    }
    void TearDown() override {
        if (SplashWindow* splash = SplashWindow::Current()) splash->HideSplashScreen();
        SplashWindow::SetEnabled(true);
    }

    QWidget owner;
    QLineEdit* edit = nullptr;
    QPushButton* button = nullptr;
};

TEST_F(SplashWindowTest, ShowsThePictureCentredOverItsOwnerOnce) {
    SplashWindow* splash = SplashWindow::ShowSplashScreen(&owner);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(SplashWindow::Current(), splash);
    EXPECT_EQ(splash->size(), QSize(300, 160));
    EXPECT_LE((splash->geometry().center() - owner.frameGeometry().center()).manhattanLength(), 1);
    EXPECT_TRUE(splash->IsTimerActive());
    EXPECT_EQ(SplashWindow::ShowSplashScreen(&owner), nullptr);
    splash->HideSplashScreen();
    EXPECT_EQ(SplashWindow::Current(), nullptr);

    SplashWindow::SetEnabled(false);
    EXPECT_EQ(SplashWindow::ShowSplashScreen(&owner), nullptr);
}

TEST_F(SplashWindowTest, FirstKeyOrClickOnlyHidesTheSplash) {
    ASSERT_NE(SplashWindow::ShowSplashScreen(&owner), nullptr);
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(SplashWindow::Current(), nullptr);
    EXPECT_TRUE(edit->text().isEmpty());
    QTest::keyClick(edit, Qt::Key_B);
    EXPECT_EQ(edit->text(), QStringLiteral("b"));

    QSignalSpy clicks(button, &QPushButton::clicked);
    ASSERT_NE(SplashWindow::ShowSplashScreen(&owner), nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(SplashWindow::Current(), nullptr);
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace pagelark
