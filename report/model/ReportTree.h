#pragma once

#include <functional>
#include <vector>

#include "report/model/ItemEntry.h"
#include "report/model/RowArray.h"

namespace pagelark {

// The item tree of tree mode. The row array holds only the shown items (item
// index = display row); a collapsed node keeps its descendants' rows in their
// nodes until it is expanded again. A hidden root stands above the top level.
class ReportTree {
  public:
    using Rows = RowArray;

    ReportTree() { Clear(); }
    void Clear();

    // Where an item with this indent, asked for at row `position`, goes: under the
    // nearest shown row above with a smaller indent that is expanded or has no
    // children, before the first of that parent's children at or below `position`.
    int Place(const Rows& rows, int position, int indent, int& parent, int& childIndex) const;
    // Creates the node for rows[row], just inserted at a row from Place.
    void Attach(Rows& rows, int row, int parent, int childIndex);

    // Hides the descendants of `row`; returns how many rows went away.
    int Collapse(Rows& rows, int row);
    // Shows them again below `row`, depth first; returns how many rows came back.
    int Expand(Rows& rows, int row);
    // Removes `row` and its subtree; visit sees every removed entry, depth first,
    // with its row (-1 when hidden). Returns how many shown rows went away.
    int Remove(Rows& rows, int row, const std::function<void(const ItemEntry&, int)>& visit);
    // Every entry, depth first, with its row (-1 when hidden).
    void ForEach(const Rows& rows, const std::function<void(const ItemEntry&, int)>& visit) const;

    // Builds the tree from rows in index order, each under the nearest row above
    // with a smaller indent; every branch starts expanded, so the rows stay in place.
    void Build(Rows& rows);
    // Puts every item, the hidden ones too, back into rows depth first and
    // empties the tree. Returns the new index of each old row.
    std::vector<int> Flatten(Rows& rows);

    // Every hidden entry, for changes that touch all rows.
    void ForEachHidden(const std::function<void(ItemEntry&)>& change);

    // Re-sorts each shown parent's children by insertion with compare(rowA, rowB) and
    // rebuilds the rows; returns the old row of each new row.
    std::vector<int> Sort(Rows& rows, const std::function<int(int, int)>& compare);

    int Depth(const Rows& rows, int row) const;
    // How many rows below `row` belong to its shown subtree.
    int ShownBelow(const Rows& rows, int row) const;
    bool HasChildren(const Rows& rows, int row) const;
    bool IsExpanded(const Rows& rows, int row) const;

  private:
    struct Node {
        int parent = -1;
        std::vector<int> children;
        bool expanded = false;
        int row = -1;  // -1 while hidden
        ItemEntry stash;
    };

    int NodeOf(const Rows& rows, int row) const;
    int ShownDescendants(int node) const;
    int SubtreeEnd(int node) const;
    void ShiftRows(int from, int by);
    void CollectShown(int node, std::vector<int>& out) const;
    void Visit(const Rows& rows, int node,
               const std::function<void(const ItemEntry&, int)>& visit) const;
    void SetBranchState(Rows& rows, int node);

    std::vector<Node> m_nodes;  // node 0 is the root; removed nodes are left unlinked
};

}  // namespace pagelark
