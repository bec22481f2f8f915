#include "report/SelectionList.h"

#include <algorithm>

namespace pagelark {

bool SelectionList::Contains(int item) const {
    return std::find(m_items.begin(), m_items.end(), item) != m_items.end();
}

void SelectionList::Remap(const std::function<int(int)>& newIndex) {
    for (int& i : m_items)
        i = newIndex(i);
}

void SelectionList::Remove(int item) {
    m_items.remove(item);
}

void SelectionList::Retain(const std::function<bool(int)>& keep) {
    m_items.remove_if([&](int item) { return !keep(item); });
}

void SelectionList::OnInsert(int item, int count) {
    for (int& i : m_items)
        if (i >= item) i += count;
}

void SelectionList::OnRemove(int item, int count) {
    m_items.remove_if([&](int i) { return i >= item && i < item + count; });
    for (int& i : m_items)
        if (i >= item + count) i -= count;
}

}  // namespace pagelark
