#include "report/model/ReportModel.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "common/Utf8Prefix.h"
#include "report/model/SubItemSegments.h"

namespace pagelark {

namespace {

constexpr uint32_t kSegmentFields = RIF_TEXT | RIF_TEXTCOLOR | RIF_IMAGE | RIF_CHECK | RIF_OVERLAY;

std::string CutText(std::string_view text) {
    return std::string(text.substr(0, Utf8PrefixLength(text, ReportModel::kTextLimit)));
}

}  // namespace

ReportModel::ReportModel() {
#ifndef NDEBUG
    m_onFault = [](const std::string& fault) {
        std::fprintf(stderr, "ReportModel: %s\n", fault.c_str());
        std::abort();
    };
#endif
}

void ReportModel::SetParent(ReportParent* parent, const void* window, int controlId) {
    m_parent = parent;
    m_window = window;
    m_controlId = controlId;
}

void ReportModel::SetView(ReportView* view) {
    ReportView*& target = m_batchDepth > 0 ? m_batchedView : m_view;
    target = view ? view : &m_noView;
}

void ReportModel::BeginBatch() {
    if (m_batchDepth++ > 0) return;
    m_batchedView = m_view;
    m_view = &m_noView;
}

void ReportModel::EndBatch() {
    if (m_batchDepth == 0 || --m_batchDepth > 0) return;
    m_view = m_batchedView;
    m_batchedView = nullptr;
    m_view->HideTip();
    if (m_batchScrollsToTop) m_view->ScrollToTop();
    m_batchScrollsToTop = false;
    m_view->RowsChanged();
    m_view->InvalidateAll();
}

void ReportModel::ScrollToTop() {
    if (m_batchDepth > 0)
        m_batchScrollsToTop = true;
    else
        m_view->ScrollToTop();
}

ReportModel::Mode ReportModel::ModeOf(uint32_t style) {
    if (style & RCS_VIRTUAL) return Mode::Virtual;
    return style & (RCS_TREE | RCS_TREEFIXED) ? Mode::Tree : Mode::Flat;
}

int ReportModel::ModifyReportStyle(uint32_t remove, uint32_t add) {
    const CheckOnExit check(*this);
    const uint32_t style = (m_style & ~remove) | add;
    if (ModeOf(style) != ModeOf(m_style)) {
        ChangeMode(style);
    } else {
        m_style = style;
    }
    if (!(m_style & RCS_CELLFOCUS)) m_focusColumn = -1;
    m_view->RowsChanged();
    m_view->InvalidateAll();
    return 1;
}

// ---- Notifications

int ReportModel::Notify(NotifyHeader& header, int code) {
    header.window = m_window;
    header.controlId = m_controlId;
    header.code = code;
    if (!m_parent) return 0;
    const bool option = code <= RCN_OPTIONCHANGED && code >= RCN_OPTIONSELECTED;
    const int bit = RCN_FIRST - code;
    if (!option && bit >= 0 && bit < 32 && !(m_notifyMask & (1u << bit))) return 0;
    return m_parent->OnReportNotify(header);
}

int ReportModel::NotifyItem(int code, int item, int subItem, uint32_t state) {
    ReportNotify record;
    record.item = item;
    record.subItem = subItem;
    record.state = state;
    if (!IsVirtual())
        if (const ItemEntry* entry = Stored(item)) {
            record.param = entry->data;
            record.treeNode = IsTree() ? entry->node : -1;
        }
    return Notify(record.header, code);
}

// ---- Columns

int ReportModel::DefineSubItem(int n, const SubItemDef& def, bool refresh) {
    if (!m_columns.Define(n, def)) return -1;
    const auto insert = [n](ItemEntry& entry) { SubItemSegments::InsertEmpty(entry.subItems, n); };
    for (size_t item = 0; item < m_rows.Size(); ++item)
        insert(m_rows[item]);
    insert(m_pseudo);
    m_tree.ForEachHidden(insert);
    m_cache.Invalidate(-2);
    if (refresh) m_view->RefillColumnChooser();
    m_view->ColumnsChanged();
    return n;
}

int ReportModel::RedefineSubItem(int n, const SubItemDef& def, bool refresh) {
    if (!m_columns.IsDefined(n)) return 0;
    const int result = m_columns.Redefine(n, def);
    if (refresh) m_view->RefillColumnChooser();
    m_view->ColumnsChanged();
    return result;
}

int ReportModel::ActivateSubItem(int n, int position) {
    const int index = m_columns.Activate(n, position);
    m_view->ColumnsChanged();
    m_view->RefillColumnChooser();
    return index;
}

int ReportModel::DeactivateSubItem(int n) {
    const int result = m_columns.Deactivate(n);
    m_view->ColumnsChanged();
    m_view->RefillColumnChooser();
    return result;
}

int ReportModel::DeactivateAllSubItems() {
    const int result = m_columns.DeactivateAll();
    m_view->ColumnsChanged();
    m_view->RefillColumnChooser();
    return result;
}

int ReportModel::SetSubItemWidth(int n, int width) {
    const int result = m_columns.SetWidth(n, width);
    m_view->ColumnsChanged();
    return result;
}

std::vector<std::pair<std::string, int>> ReportModel::GetChooserColumns() const {
    std::vector<std::pair<std::string, int>> out;
    for (int n = 0; n < m_columns.Count(); ++n)
        if (!m_columns.IsActive(n)) out.emplace_back(m_columns.Def(n).text, n);
    return out;
}

// ---- Stored rows

ItemEntry ReportModel::DefaultRow() const {
    ItemEntry entry;
    for (int n = 0; n < m_columns.Count(); ++n)
        entry.subItems += SubItemSegments::EmptySegment();
    return entry;
}

ItemEntry* ReportModel::Stored(int item) {
    return const_cast<ItemEntry*>(std::as_const(*this).Stored(item));
}

const ItemEntry* ReportModel::Stored(int item) const {
    if (item == -1) return &m_pseudo;
    if (item < 0 || item >= static_cast<int>(m_rows.Size())) return nullptr;
    return &m_rows[static_cast<size_t>(item)];
}

int ReportModel::GetItemCount() const {
    return IsVirtual() ? m_virtualCount : static_cast<int>(m_rows.Size());
}

void ReportModel::SetItemCount(int count) {
    const CheckOnExit check(*this);
    count = std::max(count, 0);
    if (IsVirtual()) {
        // The rows past the new count are gone, and with them their marks and answers.
        if (m_focusRow >= count) SetRowMarks(m_focusRow, IsSelectedRow(m_focusRow), false);
        const std::vector<int> selected(m_selection.Items().begin(), m_selection.Items().end());
        for (const int item : selected)
            if (item >= count) SetRowMarks(item, false, false);
        m_cache.InvalidateFrom(count);
    }
    m_virtualCount = count;
    m_view->RowsChanged();
}

void ReportModel::ApplyRecord(ItemEntry& entry, const ReportItemInfo& info) {
    if ((info.mask & kSegmentFields) && m_columns.IsDefined(info.subItem)) {
        Segment segment = SubItemSegments::Read(entry.subItems, info.subItem);
        if (info.mask & RIF_TEXT) {
            segment.text = info.text ? CutText(info.text) : std::string();
            segment.length = info.text ? static_cast<int>(segment.text.size()) : -1;
        }
        if (info.mask & RIF_TEXTCOLOR) segment.textColor = info.textColor;
        if (info.mask & RIF_IMAGE) segment.image = info.image;
        if (info.mask & RIF_CHECK) segment.check = info.check;
        if (info.mask & RIF_OVERLAY) segment.overlay = info.overlay;
        // A row written before its columns existed gets the segments it lacks.
        while (SubItemSegments::Count(entry.subItems) <= info.subItem)
            entry.subItems += SubItemSegments::EmptySegment();
        SubItemSegments::Replace(entry.subItems, info.subItem, segment);
    }
    if (info.mask & RIF_BKCOLOR) entry.bkColor = info.bkColor;
    if (info.mask & RIF_PREVIEW) entry.previewHeight = info.previewHeight;
    if (info.mask & RIF_INDENT) entry.indent = info.indent;
    if (info.mask & RIF_PARAM) entry.data = info.param;
    if (info.mask & RIF_STATE)
        entry.state = (entry.state & RIS_CONTROL_OWNED) | (info.state & ~RIS_CONTROL_OWNED);
}

int ReportModel::GetItem(ReportItemInfo& info) {
    if (info.item < -1 || info.item >= GetItemCount() || !m_columns.IsDefined(info.subItem))
        return 0;
    const ItemEntry* entry = Read(info.item, info.subItem);
    if (!entry) return 0;
    const Segment segment = SubItemSegments::Read(entry->subItems, info.subItem);
    uint32_t mask = RIF_STATE | RIF_PARAM;
    if (info.text && info.textMax > 0) {
        size_t length = 0;
        if (segment.length >= 0) {
            length = Utf8PrefixLength(segment.text, static_cast<size_t>(info.textMax) - 1);
            std::memcpy(info.text, segment.text.data(), length);
            mask |= RIF_TEXT;
        }
        info.text[length] = '\0';
    }
    info.textColor = segment.textColor;
    info.image = segment.image;
    info.check = segment.check;
    info.overlay = segment.overlay;
    if (segment.textColor >= 0) mask |= RIF_TEXTCOLOR;
    if (segment.image >= 0) mask |= RIF_IMAGE;
    if (segment.check >= 0) mask |= RIF_CHECK;
    if (segment.overlay >= 0) mask |= RIF_OVERLAY;
    info.bkColor = entry->bkColor;
    info.previewHeight = entry->previewHeight;
    info.indent = entry->indent;
    if (entry->bkColor >= 0) mask |= RIF_BKCOLOR;
    if (entry->previewHeight != 0) mask |= RIF_PREVIEW;
    if (entry->indent >= 0) mask |= RIF_INDENT;
    // Selection and focus belong to the control even when the parent owns the rows.
    info.state = IsVirtual() && info.item >= 0
                     ? (entry->state & ~(RIS_SELECTED | RIS_FOCUSED)) | StateOf(info.item)
                     : entry->state;
    info.param = entry->data;
    info.mask = mask;
    return 1;
}

int ReportModel::SetItem(const ReportItemInfo& info) {
    if (IsVirtual()) return 0;
    if (info.item < -1 || info.item >= GetItemCount() || !m_columns.IsDefined(info.subItem))
        return 0;
    m_view->HideTip();
    ApplyRecord(*Stored(info.item), info);
    m_view->RowsChanged();
    // Finding the row costs a reverse-map rebuild after inserts; only a real view needs it.
    if (m_view != &m_noView) m_view->InvalidateRow(GetRowFromItem(info.item));
    return 1;
}

std::string ReportModel::GetItemText(int item, int subItem) {
    char buffer[kTextLimit + 1];
    ReportItemInfo info;
    info.item = item;
    info.subItem = subItem;
    info.mask = RIF_TEXT;
    info.text = buffer;
    info.textMax = sizeof buffer;
    return GetItem(info) && (info.mask & RIF_TEXT) ? std::string(buffer) : std::string();
}

int ReportModel::SetItemText(int item, int subItem, const std::string& text) {
    ReportItemInfo info;
    info.mask = RIF_TEXT;
    info.item = item;
    info.subItem = subItem;
    info.text = const_cast<char*>(text.c_str());  // only read
    return SetItem(info);
}

int ReportModel::SetItemImage(int item, int subItem, int image) {
    ReportItemInfo info;
    info.mask = RIF_IMAGE;
    info.item = item;
    info.subItem = subItem;
    info.image = image;
    return SetItem(info);
}

int32_t ReportModel::GetItemData(int item) {
    ReportItemInfo info;
    info.item = item;
    return GetItem(info) ? info.param : 0;
}

int ReportModel::SetItemData(int item, int32_t data) {
    ReportItemInfo info;
    info.mask = RIF_PARAM;
    info.item = item;
    info.param = data;
    return SetItem(info);
}

// ---- Virtual rows

const ItemEntry* ReportModel::Read(int item, int subItem) {
    if (!IsVirtual() || item == -1) return Stored(item);
    const ItemEntry* cached = m_cache.Find(item);
    if (cached && (subItem < 0 || !SubItemSegments::Read(cached->subItems, subItem).IsEmpty()))
        return cached;
    // The parent may read other rows while it answers, and one of them may take
    // this slot: the answer is gathered in a copy and stored afterwards.
    ItemEntry entry = cached ? *cached : DefaultRow();
    FetchVirtual(item, subItem, entry);
    return &m_cache.Store(item, std::move(entry));
}

void ReportModel::FetchVirtual(int item, int subItem, ItemEntry& entry) {
    char buffer[kTextLimit + 1] = {};
    DispInfoNotify record;
    record.info.item = item;
    record.info.subItem = subItem;
    record.info.mask = RIF_TEXTCOLOR | RIF_IMAGE | RIF_CHECK | RIF_OVERLAY | RIF_BKCOLOR |
                       RIF_PREVIEW | RIF_STATE | RIF_INDENT;
    if (subItem >= 0) {
        record.info.mask |= RIF_TEXT;
        record.info.text = buffer;
        record.info.textMax = sizeof buffer;
    }
    Notify(record.header, RCN_GETDISPINFO);
    buffer[kTextLimit] = '\0';  // a parent that filled the whole buffer
    const ReportItemInfo& answer = record.info;
    if (subItem >= 0 && m_columns.IsDefined(subItem)) {
        Segment segment;
        if ((answer.mask & RIF_TEXT) && answer.text) {
            segment.text = CutText(std::string_view(answer.text, strnlen(answer.text, kTextLimit)));
            segment.length = static_cast<int>(segment.text.size());
        }
        segment.image = answer.mask & RIF_IMAGE ? answer.image : -1;
        segment.overlay = answer.mask & RIF_OVERLAY ? answer.overlay : -1;
        segment.check = answer.mask & RIF_CHECK ? answer.check : -1;
        segment.textColor = answer.mask & RIF_TEXTCOLOR ? answer.textColor : -1;
        SubItemSegments::Replace(entry.subItems, subItem, segment);
    }
    entry.bkColor = answer.mask & RIF_BKCOLOR ? answer.bkColor : -1;
    entry.previewHeight = answer.mask & RIF_PREVIEW ? answer.previewHeight : 0;
    entry.state = answer.mask & RIF_STATE ? answer.state : 0;
    entry.indent = answer.mask & RIF_INDENT ? answer.indent : -1;
}

}  // namespace pagelark
