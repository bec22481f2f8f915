// The help window on the help.chm the build compiles, and its contents reader.

#include <QImage>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "app/help/ChmFile.h"
#include "app/help/HelpSitemap.h"
#include "app/help/HelpWindow.h"

namespace pagelark {
namespace {

TEST(HelpWindowTest, TheBuiltFileOpensOnItsDefaultTopicWithContentsAndWorkingLinks) {
    HelpWindow window(QStringLiteral(PAGELARK_HELP_CHM));
    ASSERT_TRUE(window.IsLoaded());
    EXPECT_EQ(window.Browser()->source().path(), "/index.html");
    EXPECT_TRUE(window.Browser()->toPlainText().contains("What Pagelark does"));

    // The contents come from the file, nested as written.
    QTreeWidget* contents = window.Contents();
    ASSERT_GE(contents->topLevelItemCount(), 5);
    const QList<QTreeWidgetItem*> filters = contents->findItems("Filters", Qt::MatchExactly);
    ASSERT_EQ(filters.size(), 1);
    EXPECT_GE(filters[0]->childCount(), 3);

    // A relative link in a topic, as a click delivers it.
    emit window.Browser()->anchorClicked(QUrl("filter.html"));
    EXPECT_EQ(window.Browser()->source().path(), "/filter.html");
    EXPECT_TRUE(window.Browser()->toPlainText().contains("START#MODE,P0,P1,P2#END"));
}

// Every picture a topic shows is in the file and reads as an image there: a
// picture left out of the project's file list would show as a broken box.
TEST(HelpWindowTest, EveryTopicsPicturesAreInTheFile) {
    HelpWindow window(QStringLiteral(PAGELARK_HELP_CHM));
    ASSERT_TRUE(window.IsLoaded());
    ChmFile file;
    ASSERT_TRUE(file.Open(PAGELARK_HELP_CHM));
    const QRegularExpression picture(QStringLiteral("<img src=\"([^\"]+)\""));
    int pictures = 0;
    for (const std::string& path : file.Paths()) {
        if (!QString::fromStdString(path).endsWith(QLatin1String(".html"))) continue;
        window.ShowTopic(QString::fromStdString(path));
        const QString topic = QString::fromStdString(file.Read(path).value_or(""));
        for (const QRegularExpressionMatch& match : picture.globalMatch(topic)) {
            const QUrl url = window.Browser()->source().resolved(QUrl(match.captured(1)));
            const QVariant bytes =
                window.Browser()->loadResource(QTextDocument::ImageResource, url);
            EXPECT_FALSE(QImage::fromData(bytes.toByteArray()).isNull())
                << url.toString().toStdString();
            ++pictures;
        }
    }
    EXPECT_GE(pictures, 3);
}

TEST(HelpSitemapTest, NestingQuotesAndBrokenTextAreRead) {
    const auto entries = ParseSitemap(
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A &amp; B\">"
        "<param name='Local' value='a.html'></OBJECT><UL><LI><object><PARAM NAME=name "
        "VALUE=Inner></object></UL></UL><object><param name=\"Name\" value=\"unclosed");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "A & B");
    EXPECT_EQ(entries[0].local, "a.html");
    EXPECT_EQ(entries[0].depth, 0);
    EXPECT_EQ(entries[1].name, "Inner");
    EXPECT_EQ(entries[1].depth, 1);
}

}  // namespace
}  // namespace pagelark
