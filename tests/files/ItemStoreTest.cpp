#include "files/ItemStore.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "files/XmlDocument.h"

namespace pagelark {
namespace {

using namespace std::string_literals;

// The exact text of one item in the live store.
std::string ItemText(int number, const ItemFields& fields) {
    std::string text = "<item id=\"" + std::to_string(number) + "\">\r\n";
    const std::pair<const char*, const std::string*> children[] = {
        {"name", &fields.name}, {"format", &fields.filter}, {"url", &fields.url}};
    for (const auto& [name, value] : children) {
        const std::string escaped =
            XmlDocument::EscapeText(*value, XmlDocument::EscapeMode::Element);
        text += escaped.empty() ? "<"s + name + "/>\r\n"
                                : "<"s + name + ">" + escaped + "</" + name + ">\r\n";
    }
    if (fields.render) text += "<render>yes</render>\r\n";
    return text + "</item>\r\n";
}

// Items 1 to 3 added in order: the store holds them newest first, so item 3
// is the first in the text, item 2 the middle and item 1 the last.
class ItemStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { Fill(); }
    void Fill() {
        store.Load(nullptr);
        items = {{1, {"One", "f1#DATA#", "http://one/"}},
                 {2, {"Two & Co", "", "http://two/?a=1&b=2"}},
                 {3, {"Three", "f3#HREF#", "http://three/"}}};
        for (const auto& [number, fields] : items)
            ASSERT_TRUE(AddStoreItem(store, number, fields));
    }
    // The whole text, and every item read back through its mark.
    void ExpectItems() {
        std::string text;
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            text += ItemText(it->first, it->second);
        EXPECT_EQ(store.GetText(), text);
        for (const auto& [number, fields] : items) {
            const ItemFields read = ReadStoreItem(store, number);
            EXPECT_EQ(read.name, fields.name) << number;
            EXPECT_EQ(read.filter, fields.filter) << number;
            EXPECT_EQ(read.url, fields.url) << number;
            EXPECT_EQ(read.render, fields.render) << number;
        }
    }

    XmlDocument store;
    std::map<int, ItemFields> items;
};

TEST_F(ItemStoreTest, EditFirstMiddleAndLastItem) {
    for (const int number : {3, 2, 1}) {
        SCOPED_TRACE(number);
        Fill();
        items[number] = {" Edited <" + std::to_string(number) + "> ", "new#PARA#", "https://x/"};
        ASSERT_TRUE(WriteStoreItem(store, number, items[number]));
        ExpectItems();
        // The render mark comes as a fourth child and goes again without a trace.
        items[number].render = true;
        ASSERT_TRUE(WriteStoreItem(store, number, items[number]));
        ExpectItems();
        items[number].render = false;
        ASSERT_TRUE(WriteStoreItem(store, number, items[number]));
        ExpectItems();
        items[number].render = true;
        ASSERT_TRUE(WriteStoreItem(store, number, items[number]));
        // A shorter value after a longer one, on another item.
        const int other = number == 1 ? 2 : 1;
        items[other] = {"o", "f", "u"};
        ASSERT_TRUE(WriteStoreItem(store, other, items[other]));
        ExpectItems();
    }
}

TEST_F(ItemStoreTest, DeleteFirstMiddleAndLastItem) {
    for (const int number : {3, 2, 1}) {
        SCOPED_TRACE(number);
        Fill();
        ASSERT_TRUE(RemoveStoreItem(store, number));
        items.erase(number);
        ExpectItems();
        const std::string text = store.GetText();
        EXPECT_FALSE(RemoveStoreItem(store, number));  // its mark is stale now
        EXPECT_FALSE(WriteStoreItem(store, number, {"x", "y", "z"}));
        EXPECT_EQ(store.GetText(), text);
        // The others can still be edited and deleted.
        const int other = items.begin()->first;
        items[other] = {"o", "f", "http://edited/"};
        ASSERT_TRUE(WriteStoreItem(store, other, items[other]));
        ExpectItems();
        ASSERT_TRUE(RemoveStoreItem(store, other));
        items.erase(other);
        ExpectItems();
    }
}

TEST_F(ItemStoreTest, ZeroBytesAndUnknownNumbersChangeNothing) {
    const std::string text = store.GetText();
    const ItemFields zero = {"a", "b\0c"s, "d"};
    EXPECT_FALSE(AddStoreItem(store, 4, zero));
    EXPECT_FALSE(WriteStoreItem(store, 2, zero));
    EXPECT_FALSE(WriteStoreItem(store, 9, {"a", "b", "c"}));
    EXPECT_FALSE(RemoveStoreItem(store, 9));
    EXPECT_EQ(store.GetText(), text);
    ExpectItems();
}

TEST(ItemFieldsCheck, FirstBlankOrZeroFieldInOrder) {
    const std::pair<ItemFields, int> cases[] = {
        {{" A ", "f", "u"}, 0},
        {{" \t\v\f\r\n", "f", "u"}, 131},
        {{"", "", ""}, 131},  // only the first is reported
        {{"n", " ", ""}, 132},
        {{"n", "f", "  "}, 133},
        {{"a\0b"s, "f", "u"}, 131},
        {{"n", "\0"s, "u"}, 132},
        {{"n", "f", "http://x/\0"s}, 133},
        {{"\xe4\xb8\xad", "f", "u"}, 0},
    };
    for (const auto& [fields, message] : cases)
        EXPECT_EQ(CheckItemFields(fields), message) << fields.name << "|" << fields.filter;
}

}  // namespace
}  // namespace pagelark
