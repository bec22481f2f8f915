#include "files/ElementOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

namespace pagelark {
namespace {

// Random inserts, moves and removals against a plain list of (element, shift):
// a list grown to thousands (blocks split) and emptied again (blocks merge
// and go), with edits near both ends and in the middle.
TEST(ElementOrder, AgreesWithAPlainList) {
    std::mt19937 random(7);
    ElementOrder order;
    std::vector<std::pair<int, int32_t>> list;
    int next = 1;
    size_t longest = 0;
    for (int step = 0; step < 16000; ++step) {
        const bool growing = step < 8000;
        const unsigned op = random() % 10;
        if (list.empty() || op < (growing ? 7u : 1u)) {
            const size_t at = op % 2 == 0 ? 0 : random() % (list.size() + 1);
            order.InsertAfter(at == 0 ? 0 : list[at - 1].first, next);
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), {next, order.Shift(next)});
            ++next;
        } else if (op < (growing ? 8u : 5u)) {
            const size_t at = random() % list.size();
            const size_t count = 1 + random() % std::min<size_t>(growing ? 4 : 9, list.size() - at);
            order.Remove(list[at].first, static_cast<int>(count));
            for (size_t i = at; i < at + count; ++i)
                EXPECT_FALSE(order.Contains(list[i].first));
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(at),
                       list.begin() + static_cast<std::ptrdiff_t>(at + count));
        } else {
            const size_t at = op == 9 ? list.size() - 1 : random() % list.size();
            const int32_t delta = static_cast<int32_t>(random() % 200) - 100;
            order.ShiftAfter(list[at].first, delta);
            for (size_t i = at + 1; i < list.size(); ++i)
                list[i].second += delta;
        }
        std::vector<int> elements;
        for (const auto& [element, shift] : list) {
            elements.push_back(element);
            ASSERT_EQ(order.Shift(element), shift) << "step " << step;
        }
        ASSERT_EQ(order.Elements(), elements) << "step " << step;
        longest = std::max(longest, list.size());
    }
    EXPECT_GT(longest, 8 * ElementOrder::kBlock);
    EXPECT_LT(list.size(), ElementOrder::kBlock / 4);
    if (!list.empty()) order.Remove(list.front().first, static_cast<int>(list.size()));
    EXPECT_TRUE(order.Elements().empty());
}

}  // namespace
}  // namespace pagelark
