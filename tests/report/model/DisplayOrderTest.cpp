#include "report/model/DisplayOrder.h"

#include <gtest/gtest.h>

#include "report/model/SelectionList.h"

namespace pagelark {
namespace {

TEST(DisplayOrder, InsertAndRemoveRenumberAfterAPermutation) {
    DisplayOrder order;
    for (int i = 0; i < 4; ++i)
        order.Insert(i);
    order.Items() = {3, 1, 0, 2};  // as a sort leaves it
    order.MarkStale();
    EXPECT_EQ(order.RowOf(0), 2);
    order.Insert(1);  // new item 1 shows at row 1; old 1..3 become 2..4
    EXPECT_EQ(order.Items(), (std::vector<int>{4, 1, 2, 0, 3}));
    EXPECT_EQ(order.RowOf(2), 2);
    EXPECT_EQ(order.RowOf(0), 3);
    order.Remove(4);
    EXPECT_EQ(order.Items(), (std::vector<int>{1, 2, 0, 3}));
    order.Remove(0);
    EXPECT_EQ(order.Items(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(order.RowOf(2), 2);
    EXPECT_EQ(order.RowOf(7), -2);
    EXPECT_EQ(order.ItemAt(3), -2);
}

TEST(SelectionList, KeepsSelectionOrderThroughInsertAndRemove) {
    SelectionList list;
    for (int item : {5, 1, 3})
        list.Add(item);
    list.OnInsert(3);  // 5 -> 6, 3 -> 4
    EXPECT_EQ(std::vector<int>(list.Items().begin(), list.Items().end()),
              (std::vector<int>{6, 1, 4}));
    list.OnRemove(1);  // 1 goes, the others move down
    EXPECT_EQ(std::vector<int>(list.Items().begin(), list.Items().end()), (std::vector<int>{5, 3}));
}

}  // namespace
}  // namespace pagelark
