#pragma once

#include <string>
#include <vector>

#include "common/ReportHeader.h"
#include "report/model/SubItemDef.h"

namespace pagelark {

// The column definitions and the active columns mirrored into the header: each
// header item carries its column's subitem number as item data.
class ReportColumns {
  public:
    static constexpr int kDefaultWidth = 200;

    void SetHeader(ReportHeader* header);
    ReportHeader* Header() const { return m_header; }

    int Count() const { return static_cast<int>(m_defs.size()); }
    bool IsDefined(int n) const { return n >= 0 && n < Count(); }
    const SubItemDef& Def(int n) const { return m_defs[static_cast<size_t>(n)]; }

    // Inserts the definition at n and renumbers header items at n or later; false when refused.
    bool Define(int n, const SubItemDef& def);
    // Replaces definition n, then applies its width; SetWidth's result, 0 when refused.
    int Redefine(int n, const SubItemDef& def);
    int Activate(int n, int position);
    int Deactivate(int n);
    int DeactivateAll();
    bool IsActive(int n) const { return HeaderIndexOf(n) >= 0; }

    int GetWidth(int n) const { return IsDefined(n) ? Def(n).width : 0; }
    int SetWidth(int n, int width);
    // A header item's width or format changed (header event); returns its subitem or -1.
    int OnHeaderItemChanged(int index, bool format, bool width);

    int HeaderIndexOf(int n) const;
    int SubItemOfHeader(int index) const;
    // Subitems of the active columns in display order.
    const std::vector<int>& Active() const { return m_active; }
    // Sum of the active columns' widths: the rows' horizontal extent.
    int Extent() const { return m_extent; }
    // Re-reads the header's order and widths.
    void Reload();

    void SetSortTipFormat(std::string format) { m_sortTipFormat = std::move(format); }

  private:
    std::string SortTip(const SubItemDef& def) const;

    ReportHeader* m_header = nullptr;
    std::vector<SubItemDef> m_defs;
    std::vector<int> m_active;
    int m_extent = 0;
    std::string m_sortTipFormat = "Sort by: %s";
};

}  // namespace pagelark
