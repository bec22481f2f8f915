#include "files/ScriptFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/collect/ItemList.h"
#include "engine/collect/MemoryRows.h"
#include "files/ItemStore.h"
#include "files/XmlDocument.h"

namespace pagelark {
namespace {

class ScriptFileTest : public ::testing::Test {
  protected:
    void Add(const ItemFields& fields) {
        const int number = list.TakeItemNumber();
        AddStoreItem(live, number, fields);
        AppendItemRow(rows, number, fields.name);
    }
    int Load(std::string_view text) { return LoadScriptText(std::string(text), live, list, rows); }
    std::string RowName(int row) { return rows.GetItemText(row, 1); }

    XmlDocument live;
    ItemList list;
    MemoryRows rows;
};

TEST_F(ScriptFileTest, WritesTheExactBytes) {
    Add({"A&B", "price", "http://"});
    EXPECT_EQ(BuildScriptText(live),
              "<xml version=1.0>\r\n<item>\r\n<name>A&amp;B</name>\r\n<format>price</format>\r\n"
              "<url>http://</url>\r\n</item>\r\n</xml>");
}

TEST_F(ScriptFileTest, OldestFirstAndLoadThenSaveGivesTheSameBytes) {
    Add({"P", "p#DATA,1#", "http://p/"});
    Add({"Q", "", "http://q/?a=1&b=<2>"});
    Add({"R", "r#HREF#", ""});
    const std::string saved = BuildScriptText(live);
    EXPECT_LT(saved.find("<name>P</name>"), saved.find("<name>Q</name>"));
    EXPECT_LT(saved.find("<name>Q</name>"), saved.find("<name>R</name>"));
    EXPECT_NE(saved.find("<format/>"), std::string::npos);
    EXPECT_NE(saved.find("<url>http://q/?a=1&amp;b=&lt;2&gt;</url>"), std::string::npos);
    EXPECT_TRUE(saved.ends_with("</item>\r\n</xml>"));

    XmlDocument other;
    ItemList otherList;
    MemoryRows otherRows;
    EXPECT_EQ(LoadScriptText(saved, other, otherList, otherRows), 3);
    EXPECT_EQ(BuildScriptText(other), saved);
    ASSERT_EQ(otherRows.GetItemCount(), 3);
    EXPECT_EQ(otherRows.GetItemText(2, 1), "R");
    EXPECT_EQ(otherRows.GetItemData(2), 3);
    EXPECT_EQ(otherRows.Rows()[2].image, 1);
    const ItemFields q = ReadStoreItem(other, 2);
    EXPECT_EQ(q.filter, "");
    EXPECT_EQ(q.url, "http://q/?a=1&b=<2>");
}

TEST_F(ScriptFileTest, TheRenderMarkIsAFourthChildWrittenOnlyWhenSet) {
    Add({"P", "p#DATA#", "http://p/"});
    Add({"R", "r#DATA#", "http://r/", true});
    const std::string saved = BuildScriptText(live);
    EXPECT_EQ(saved,
              "<xml version=1.0>\r\n<item>\r\n<name>P</name>\r\n<format>p#DATA#</format>\r\n"
              "<url>http://p/</url>\r\n</item>\r\n<item>\r\n<name>R</name>\r\n"
              "<format>r#DATA#</format>\r\n<url>http://r/</url>\r\n<render>yes</render>\r\n"
              "</item>\r\n</xml>");
    // Read back and saved again as it was; what stands before it is untouched.
    EXPECT_EQ(Load(saved), 2);
    EXPECT_FALSE(ReadStoreItem(live, 1).render);
    const ItemFields r = ReadStoreItem(live, 2);
    EXPECT_TRUE(r.render);
    EXPECT_EQ(r.url, "http://r/");
    EXPECT_EQ(BuildScriptText(live), saved);

    // Written by hand: blanks around "yes" count, anything else does not, and
    // other children between the URL and the mark are passed over.
    EXPECT_EQ(Load("<xml><item><name>a</name><format>f</format><url>u</url>"
                   "<render> yes </render></item>"
                   "<item><name>b</name><format>f</format><url>u</url><render>no</render></item>"
                   "<item><name>c</name><format>f</format><url>u</url><note/>"
                   "<render>yes</render></item></xml>"),
              3);
    EXPECT_TRUE(ReadStoreItem(live, 1).render);
    EXPECT_FALSE(ReadStoreItem(live, 2).render);
    EXPECT_TRUE(ReadStoreItem(live, 3).render);
    EXPECT_EQ(ReadStoreItem(live, 3).url, "u");
}

TEST_F(ScriptFileTest, SkippedItemsUseUpTheirNumbers) {
    const char* text =
        "<?xml version=\"1.0\"?>\r\n<xml version=1.0>\r\n"
        "<item><name> </name><format>f</format><url>u</url></item>\r\n"
        "<item><junk/><name>  Kept \t</name><format> f </format><url>u</url><more/></item>\r\n"
        "<item><format>no name</format></item>\r\n"
        "<item/>\r\n"
        "<item id=\"9\"><name>Only</name></item>\r\n"
        "</xml>";
    EXPECT_EQ(Load(text), 2);
    ASSERT_EQ(rows.GetItemCount(), 2);
    EXPECT_EQ(rows.GetItemData(0), 2);
    EXPECT_EQ(RowName(0), "Kept");
    EXPECT_EQ(rows.GetItemData(1), 5);
    EXPECT_EQ(list.nextItemNumber, 5);
    const ItemFields kept = ReadStoreItem(live, 2);
    EXPECT_EQ(kept.filter, "f");
    // A missing child leaves the cursor where it was: its text is read again.
    const ItemFields only = ReadStoreItem(live, 5);
    EXPECT_EQ(only.filter, "Only");
    EXPECT_EQ(only.url, "Only");
}

TEST_F(ScriptFileTest, BadFilesEmptyTheList) {
    for (const char* text : {"<list><item><name>x</name></item></list>",
                             "<xml version=1.0><item><name>x</name></xml>", "not xml at all", ""}) {
        Add({"old", "f", "u"});
        list.results.SetEntries("1", "e");
        const int linkCounter = list.links.LinkCounter();
        list.links.Record("http://x/");
        EXPECT_EQ(Load(text), 0) << text;
        EXPECT_EQ(rows.GetItemCount(), 0);
        EXPECT_EQ(list.nextItemNumber, 0);
        EXPECT_FALSE(list.results.Entries("1"));
        EXPECT_TRUE(list.links.Snapshot().empty());
        EXPECT_EQ(list.links.LinkCounter(), linkCounter + 1);  // Load keeps link numbering
        EXPECT_EQ(live.GetText(), "");
    }
}

TEST_F(ScriptFileTest, TextEndsAtTheFirstZeroByte) {
    const std::string text = std::string("<xml><item><name>a</name></item></xml>") + '\0' + "junk";
    EXPECT_EQ(Load(text), 1);
}

TEST_F(ScriptFileTest, LoadingStopsAtTheLastItemNumber) {
    std::string text = "<xml version=1.0>\r\n";
    for (int i = 0; i < 10001; ++i)
        text += "<item><name>n</name><format/><url/></item>\r\n";
    text += "</xml>";
    EXPECT_EQ(Load(text), 9999);
    EXPECT_EQ(list.nextItemNumber, 9999);
    EXPECT_EQ(list.TakeItemNumber(), 0);
}

TEST(ScriptFileRead, AFileOverTheLimitIsRefusedUnreadAndUntouched) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("pagelark-script-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string big = (folder / "big.xml").string();
    const std::string limit = (folder / "limit.xml").string();
    std::ofstream(big) << "<xml version=1.0>\r\n</xml>";
    std::filesystem::resize_file(big, kMaxScriptFileBytes + 1);  // sparse: no disk needed
    struct stat before {};
    stat(big.c_str(), &before);
    std::string text = "old";
    std::string error;
    EXPECT_FALSE(ReadScriptFile(big, text, &error));
    EXPECT_EQ(error, "the file is larger than 64 MB");
    EXPECT_TRUE(text.empty());
    struct stat after {};
    stat(big.c_str(), &after);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

    // A file of exactly the limit is read whole, and a missing one says why.
    std::ofstream(limit) << "<xml version=1.0>\r\n</xml>";
    std::filesystem::resize_file(limit, kMaxScriptFileBytes);
    ASSERT_TRUE(ReadScriptFile(limit, text, &error));
    EXPECT_EQ(text.size(), kMaxScriptFileBytes);
    EXPECT_TRUE(text.starts_with("<xml version=1.0>"));
    EXPECT_FALSE(ReadScriptFile((folder / "missing.xml").string(), text, &error));
    EXPECT_EQ(error, "No such file or directory");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace pagelark
