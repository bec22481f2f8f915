#include "report/model/ReportColumns.h"

#include <algorithm>
#include <new>

#include "report/model/ReportConstants.h"

namespace pagelark {

void ReportColumns::SetHeader(ReportHeader* header) {
    m_header = header;
    Reload();
}

bool ReportColumns::Define(int n, const SubItemDef& def) {
    if (n < 0 || n > Count()) return false;
    SubItemDef stored = def;
    if (stored.width < 0) stored.width = kDefaultWidth;
    if (!(stored.format & HDF_IMAGE)) stored.image = 0;
    try {
        m_defs.insert(m_defs.begin() + n, stored);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (m_header)
        for (int i = 0; i < m_header->GetItemCount(); ++i) {
            const int sub = SubItemOfHeader(i);
            if (sub >= n) m_header->SetItemData(i, sub + 1);
        }
    Reload();
    return true;
}

int ReportColumns::Redefine(int n, const SubItemDef& def) {
    if (!IsDefined(n)) return 0;
    SubItemDef& stored = m_defs[static_cast<size_t>(n)];
    const int width = stored.width;  // kept until SetWidth has the header's consent
    stored = def;
    stored.width = width;
    if (!(stored.format & HDF_IMAGE)) stored.image = 0;
    return SetWidth(n, def.width);
}

std::string ReportColumns::SortTip(const SubItemDef& def) const {
    if (!(def.format & RCF_SORTTIP)) return {};
    std::string tip = m_sortTipFormat;
    const size_t at = tip.find("%s");
    if (at != std::string::npos) tip.replace(at, 2, def.text);
    return tip;
}

int ReportColumns::Activate(int n, int position) {
    if (!m_header || !IsDefined(n) || IsActive(n)) return -1;
    const SubItemDef& def = Def(n);
    HeaderItem item;
    item.width = def.width;
    item.format = def.format & 0xFFFF;
    item.order = position;
    if (def.format & HDF_IMAGE) item.image = def.image;
    if (def.format & HDF_STRING) item.text = def.text;
    item.data = n;
    const int index = m_header->InsertItem(position, item);
    if (index < 0) return -1;
    HeaderItemExtra extra;
    extra.flags = (def.format >> 16) & 0xFF;
    extra.minWidth = def.minWidth;
    extra.maxWidth = def.maxWidth;
    extra.tipText = SortTip(def);
    if (!m_header->SetItemExtra(index, extra)) {
        m_header->DeleteItem(index);
        Reload();
        return -1;
    }
    Reload();  // the header may have corrected the width
    return index;
}

int ReportColumns::Deactivate(int n) {
    const int index = HeaderIndexOf(n);
    if (index < 0) return 0;
    bool ascending = false;
    const int sort = m_header->GetSortColumn(&ascending);
    const bool deleted = m_header->DeleteItem(index);
    if (deleted) {
        // The sort mark stays on its column, whose index moves down by one.
        if (sort == index) m_header->SetSortColumn(-1, true);
        if (sort > index) m_header->SetSortColumn(sort - 1, ascending);
    }
    Reload();
    return deleted ? 1 : 0;
}

int ReportColumns::DeactivateAll() {
    while (!m_active.empty())
        if (!Deactivate(m_active.back())) return 0;
    return 1;
}

int ReportColumns::SetWidth(int n, int width) {
    if (!IsDefined(n)) return 0;
    SubItemDef& def = m_defs[static_cast<size_t>(n)];
    if (width < 0) width = kDefaultWidth;
    width = std::max(width, def.minWidth);
    if (def.maxWidth > 0) width = std::min(width, def.maxWidth);
    const int index = HeaderIndexOf(n);
    if (index >= 0 && !m_header->SetItemWidth(index, width)) return 0;
    def.width = width;
    Reload();
    return 1;
}

int ReportColumns::OnHeaderItemChanged(int index, bool format, bool width) {
    HeaderItem item;
    if (!m_header || !m_header->GetItem(index, item) || !IsDefined(item.data)) return -1;
    SubItemDef& def = m_defs[static_cast<size_t>(item.data)];
    if (format) def.format = (def.format & ~HDF_JUSTIFYMASK) | (item.format & HDF_JUSTIFYMASK);
    if (width) def.width = item.width;
    Reload();
    return item.data;
}

int ReportColumns::HeaderIndexOf(int n) const {
    if (!m_header || !IsDefined(n)) return -1;
    for (int i = 0; i < m_header->GetItemCount(); ++i)
        if (SubItemOfHeader(i) == n) return i;
    return -1;
}

int ReportColumns::SubItemOfHeader(int index) const {
    HeaderItem item;
    return m_header && m_header->GetItem(index, item) ? item.data : -1;
}

void ReportColumns::Reload() {
    m_active.clear();
    m_extent = 0;
    if (!m_header) return;
    for (const int index : m_header->GetOrderArray()) {
        HeaderItem item;
        if (!m_header->GetItem(index, item) || !IsDefined(item.data)) continue;
        m_defs[static_cast<size_t>(item.data)].width = item.width;
        m_active.push_back(item.data);
        m_extent += item.width;
    }
}

}  // namespace pagelark
