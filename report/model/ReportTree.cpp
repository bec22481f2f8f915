#include "report/model/ReportTree.h"

#include <algorithm>
#include <utility>

#include "common/ReportItemInfo.h"

namespace pagelark {

void ReportTree::Clear() {
    m_nodes.assign(1, Node{});
    m_nodes[0].expanded = true;  // the root always shows its children
}

int ReportTree::NodeOf(const Rows& rows, int row) const {
    if (row < 0 || row >= static_cast<int>(rows.Size())) return -1;
    const int node = rows[static_cast<size_t>(row)].node;
    return node > 0 && node < static_cast<int>(m_nodes.size()) ? node : -1;
}

int ReportTree::ShownDescendants(int node) const {
    const Node& n = m_nodes[static_cast<size_t>(node)];
    if (!n.expanded) return 0;
    int count = 0;
    for (const int child : n.children)
        count += 1 + ShownDescendants(child);
    return count;
}

int ReportTree::SubtreeEnd(int node) const {
    const int first = node == 0 ? 0 : m_nodes[static_cast<size_t>(node)].row + 1;
    return first + ShownDescendants(node);
}

void ReportTree::ShiftRows(int from, int by) {
    for (Node& n : m_nodes)
        if (n.row >= from) n.row += by;
}

void ReportTree::CollectShown(int node, std::vector<int>& out) const {
    const Node& n = m_nodes[static_cast<size_t>(node)];
    if (!n.expanded) return;
    for (const int child : n.children) {
        out.push_back(child);
        CollectShown(child, out);
    }
}

void ReportTree::SetBranchState(Rows& rows, int node) {
    if (node <= 0) return;
    Node& n = m_nodes[static_cast<size_t>(node)];
    ItemEntry& entry = n.row >= 0 ? rows[static_cast<size_t>(n.row)] : n.stash;
    entry.state &= ~(RIS_COLLAPSED | RIS_EXPANDED);
    if (!n.children.empty()) entry.state |= n.expanded ? RIS_EXPANDED : RIS_COLLAPSED;
}

int ReportTree::Place(const Rows& rows, int position, int indent, int& parent,
                      int& childIndex) const {
    parent = 0;
    for (int row = position - 1; row >= 0 && indent > 0; --row) {
        const int node = NodeOf(rows, row);
        const Node& n = m_nodes[static_cast<size_t>(node)];
        if (std::max(rows[static_cast<size_t>(row)].indent, 0) < indent &&
            (n.expanded || n.children.empty())) {
            parent = node;
            break;
        }
    }
    const std::vector<int>& children = m_nodes[static_cast<size_t>(parent)].children;
    for (size_t i = 0; i < children.size(); ++i) {
        const int row = m_nodes[static_cast<size_t>(children[i])].row;
        if (row >= position) {
            childIndex = static_cast<int>(i);
            return row;
        }
    }
    childIndex = static_cast<int>(children.size());
    return SubtreeEnd(parent);
}

void ReportTree::Attach(Rows& rows, int row, int parent, int childIndex) {
    ShiftRows(row, 1);
    Node node;
    node.parent = parent;
    node.row = row;
    const int id = static_cast<int>(m_nodes.size());
    m_nodes.push_back(std::move(node));
    Node& p = m_nodes[static_cast<size_t>(parent)];
    if (p.children.empty()) p.expanded = true;
    p.children.insert(p.children.begin() + childIndex, id);
    rows[static_cast<size_t>(row)].node = id;
    SetBranchState(rows, parent);
}

int ReportTree::Collapse(Rows& rows, int row) {
    const int node = NodeOf(rows, row);
    if (node < 0) return 0;
    Node& n = m_nodes[static_cast<size_t>(node)];
    if (!n.expanded || n.children.empty()) return 0;
    std::vector<int> shown;
    CollectShown(node, shown);
    const int count = static_cast<int>(shown.size());
    for (int i = 0; i < count; ++i) {
        Node& hidden = m_nodes[static_cast<size_t>(shown[static_cast<size_t>(i)])];
        hidden.stash = std::move(rows[static_cast<size_t>(row + 1 + i)]);
        hidden.row = -1;
    }
    rows.Erase(static_cast<size_t>(row + 1), static_cast<size_t>(count));
    n.expanded = false;
    ShiftRows(row + 1 + count, -count);
    SetBranchState(rows, node);
    return count;
}

int ReportTree::Expand(Rows& rows, int row) {
    const int node = NodeOf(rows, row);
    if (node < 0) return 0;
    Node& n = m_nodes[static_cast<size_t>(node)];
    if (n.expanded || n.children.empty()) return 0;
    n.expanded = true;
    std::vector<int> shown;
    CollectShown(node, shown);
    const int count = static_cast<int>(shown.size());
    ShiftRows(row + 1, count);
    std::vector<ItemEntry> back;
    back.reserve(shown.size());
    for (int i = 0; i < count; ++i) {
        Node& s = m_nodes[static_cast<size_t>(shown[static_cast<size_t>(i)])];
        back.push_back(std::move(s.stash));
        s.row = row + 1 + i;
    }
    rows.Insert(static_cast<size_t>(row + 1), std::move(back));
    SetBranchState(rows, node);
    return count;
}

void ReportTree::Visit(const Rows& rows, int node,
                       const std::function<void(const ItemEntry&, int)>& visit) const {
    const Node& n = m_nodes[static_cast<size_t>(node)];
    visit(n.row >= 0 ? rows[static_cast<size_t>(n.row)] : n.stash, n.row);
    for (const int child : n.children)
        Visit(rows, child, visit);
}

void ReportTree::ForEach(const Rows& rows,
                         const std::function<void(const ItemEntry&, int)>& visit) const {
    for (const int child : m_nodes[0].children)
        Visit(rows, child, visit);
}

int ReportTree::Remove(Rows& rows, int row,
                       const std::function<void(const ItemEntry&, int)>& visit) {
    const int node = NodeOf(rows, row);
    if (node < 0) return 0;
    Visit(rows, node, visit);
    const int count = 1 + ShownDescendants(node);
    std::vector<int> gone{node};
    for (size_t i = 0; i < gone.size(); ++i)
        for (const int child : m_nodes[static_cast<size_t>(gone[i])].children)
            gone.push_back(child);
    const int parent = m_nodes[static_cast<size_t>(node)].parent;
    std::erase(m_nodes[static_cast<size_t>(parent)].children, node);
    for (const int id : gone) {
        Node& n = m_nodes[static_cast<size_t>(id)];
        n = Node{};
        n.parent = -1;
    }
    rows.Erase(static_cast<size_t>(row), static_cast<size_t>(count));
    ShiftRows(row + count, -count);
    SetBranchState(rows, parent);
    return count;
}

void ReportTree::Build(Rows& rows) {
    Clear();
    // The rows' ancestors so far, deepest last: each row above that is not on this
    // path has a later row with an indent no larger, which is the nearer candidate.
    std::vector<std::pair<int, int>> path;  // indent, node
    for (size_t row = 0; row < rows.Size(); ++row) {
        ItemEntry& entry = rows[row];
        const int indent = std::max(entry.indent, 0);
        while (!path.empty() && path.back().first >= indent)
            path.pop_back();
        const int parent = path.empty() ? 0 : path.back().second;
        const int id = static_cast<int>(m_nodes.size());
        Node node;
        node.parent = parent;
        node.row = static_cast<int>(row);
        m_nodes.push_back(std::move(node));
        Node& p = m_nodes[static_cast<size_t>(parent)];
        if (p.children.empty()) p.expanded = true;
        p.children.push_back(id);
        entry.node = id;
        entry.state &= ~(RIS_COLLAPSED | RIS_EXPANDED);
        SetBranchState(rows, parent);
        path.emplace_back(indent, id);
    }
}

std::vector<int> ReportTree::Flatten(Rows& rows) {
    std::vector<int> newIndex(rows.Size(), -2);
    std::vector<ItemEntry> flat;
    flat.reserve(m_nodes.size());
    std::vector<int> pending(m_nodes[0].children.rbegin(), m_nodes[0].children.rend());
    while (!pending.empty()) {
        Node& n = m_nodes[static_cast<size_t>(pending.back())];
        pending.pop_back();
        if (n.row >= 0) newIndex[static_cast<size_t>(n.row)] = static_cast<int>(flat.size());
        flat.push_back(std::move(n.row >= 0 ? rows[static_cast<size_t>(n.row)] : n.stash));
        flat.back().node = -1;
        flat.back().state &= ~(RIS_COLLAPSED | RIS_EXPANDED);
        pending.insert(pending.end(), n.children.rbegin(), n.children.rend());
    }
    rows.Assign(std::move(flat));
    Clear();
    return newIndex;
}

void ReportTree::ForEachHidden(const std::function<void(ItemEntry&)>& change) {
    for (size_t id = 1; id < m_nodes.size(); ++id)
        if (m_nodes[id].row < 0 && m_nodes[id].parent >= 0) change(m_nodes[id].stash);
}

std::vector<int> ReportTree::Sort(Rows& rows, const std::function<int(int, int)>& compare) {
    std::vector<int> pending{0};
    while (!pending.empty()) {
        Node& n = m_nodes[static_cast<size_t>(pending.back())];
        pending.pop_back();
        std::vector<int>& c = n.children;
        for (size_t i = 1; i < c.size(); ++i)
            for (size_t j = i; j > 0; --j) {
                const int a = m_nodes[static_cast<size_t>(c[j - 1])].row;
                const int b = m_nodes[static_cast<size_t>(c[j])].row;
                if (compare(a, b) <= 0) break;
                std::swap(c[j - 1], c[j]);
            }
        for (const int child : c)
            if (m_nodes[static_cast<size_t>(child)].expanded) pending.push_back(child);
    }
    std::vector<int> shown;
    CollectShown(0, shown);
    std::vector<int> oldRows(shown.size());
    for (size_t row = 0; row < shown.size(); ++row) {
        Node& n = m_nodes[static_cast<size_t>(shown[row])];
        oldRows[row] = n.row;
        n.row = static_cast<int>(row);
    }
    rows.Permute(oldRows);
    return oldRows;
}

int ReportTree::Depth(const Rows& rows, int row) const {
    int node = NodeOf(rows, row);
    int depth = 0;
    while (node > 0 && m_nodes[static_cast<size_t>(node)].parent > 0) {
        node = m_nodes[static_cast<size_t>(node)].parent;
        ++depth;
    }
    return depth;
}

int ReportTree::ShownBelow(const Rows& rows, int row) const {
    const int node = NodeOf(rows, row);
    return node > 0 ? ShownDescendants(node) : 0;
}

bool ReportTree::HasChildren(const Rows& rows, int row) const {
    const int node = NodeOf(rows, row);
    return node > 0 && !m_nodes[static_cast<size_t>(node)].children.empty();
}

bool ReportTree::IsExpanded(const Rows& rows, int row) const {
    const int node = NodeOf(rows, row);
    return node > 0 && m_nodes[static_cast<size_t>(node)].expanded;
}

}  // namespace pagelark
