#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/ReportItemInfo.h"
#include "report/model/ColorTable.h"
#include "report/model/DisplayOrder.h"
#include "report/model/ItemCache.h"
#include "report/model/ItemEntry.h"
#include "report/model/ReportColumns.h"
#include "report/model/ReportConstants.h"
#include "report/model/ReportNotify.h"
#include "report/model/ReportParent.h"
#include "report/model/ReportTree.h"
#include "report/model/ReportView.h"
#include "report/model/RowArray.h"
#include "report/model/SelectionList.h"
#include "report/model/SubItemDef.h"

namespace pagelark {

// Everything the report control knows apart from painting and input: columns,
// rows, display order, selection and focus, colours, virtual and tree modes,
// sorting and the notifications to the parent. Operations take item indexes
// unless they say display rows.
class ReportModel {
  public:
    static constexpr int kTextLimit = 255;  // bytes kept of a subitem text
    static constexpr int kCellMargin = 6;

    // Caller comparison: item A, subitem A, item B, subitem B, caller value.
    using CompareFunction = std::function<int(int, int, int, int, intptr_t)>;
    // Width in pixels of a text in the normal or the bold font.
    using TextWidthFunction = std::function<int(const std::string&, bool bold)>;

    // Told the first disagreement between the state bits, the SelectionList, the
    // focus row and the display order, found after a public operation.
    using FaultFunction = std::function<void(const std::string&)>;

    ReportModel();
    // The model points at its own null view, so a copy would point into the original.
    ReportModel(const ReportModel&) = delete;
    ReportModel& operator=(const ReportModel&) = delete;

    void SetHeader(ReportHeader* header) { m_columns.SetHeader(header); }
    void SetParent(ReportParent* parent, const void* window = nullptr, int controlId = 0);
    void SetView(ReportView* view);

    uint32_t GetStyle() const { return m_style; }
    // A change between flat, tree and virtual mode resets the model: the display
    // order and the tree are rebuilt from the stored rows (none is lost). Between
    // flat and tree the selection and focus stay on their items; into or out of
    // virtual mode only the pseudo item keeps its marks.
    int ModifyReportStyle(uint32_t remove, uint32_t add);

    // The self-check: after every public operation that changes rows, selection or
    // focus, a disagreement is reported to onFault (none: no check). Debug builds
    // start with one that aborts.
    void SetConsistencyCheck(FaultFunction onFault) { m_onFault = std::move(onFault); }
    // The first disagreement, empty when all agree.
    std::string FindInconsistency() const;

    // Columns.
    int DefineSubItem(int n, const SubItemDef& def, bool refresh = false);
    int RedefineSubItem(int n, const SubItemDef& def, bool refresh = false);
    int ActivateSubItem(int n, int position);
    int DeactivateSubItem(int n);
    int DeactivateAllSubItems();
    bool IsActiveSubItem(int n) const { return m_columns.IsActive(n); }
    int GetSubItemWidth(int n) const { return m_columns.GetWidth(n); }
    int SetSubItemWidth(int n, int width = -1);
    const ReportColumns& Columns() const { return m_columns; }
    // Inactive columns (caption, subitem) for a column chooser list.
    std::vector<std::pair<std::string, int>> GetChooserColumns() const;

    // Many row changes as one: while a batch lasts the view hears nothing, and
    // at its end it hears once that every row may have changed (one layout,
    // one repaint), as a model reset does. Batches may nest.
    void BeginBatch();
    void EndBatch();

    // Rows. RCN_ITEMDELETED is sent once the item is gone, so a parent that
    // changes the rows while it is told finds the model whole.
    int InsertItem(const ReportItemInfo& info);
    int DeleteItem(int item);
    int DeleteAllItems();
    int GetItem(ReportItemInfo& info);
    int SetItem(const ReportItemInfo& info);
    std::string GetItemText(int item, int subItem);
    int SetItemText(int item, int subItem, const std::string& text);
    int SetItemImage(int item, int subItem, int image);
    int32_t GetItemData(int item);
    int SetItemData(int item, int32_t data);
    int GetItemCount() const;
    std::string GetItemRowString(int item, char separator);

    // Virtual mode. A smaller count drops the selection, focus and cached rows past it.
    void SetItemCount(int count);
    void InvalidateItemCache(int item = -2) { m_cache.Invalidate(item); }
    void EnableItemCache(bool on) { m_cache.Enable(on); }

    // Display rows.
    int GetRowCount() const;
    int GetItemFromRow(int row) const;
    int GetRowFromItem(int item) const;

    // Selection and focus. The range is clipped to the rows (-1 is the pseudo
    // row); a first row that is no row leaves no row focused.
    void SelectItems(int first, int last, bool select, bool keepOthers, bool toggle, bool notify);
    int GetFirstSelectedItem();
    int GetNextSelectedItem(int item);
    const SelectionList& Selection() const { return m_selection; }
    int GetFocusRow() const { return m_focusRow; }
    int GetFocusColumn() const { return m_focusColumn; }
    void SetFocusColumn(int position) { m_focusColumn = position; }
    int GetAnchor() const { return m_anchor; }
    void SetAnchor(int row) { m_anchor = row; }
    bool HasFocus() const { return m_hasFocus; }
    void SetHasFocus(bool on) { m_hasFocus = on; }

    // Sorting.
    int SortItems(int subItem, bool ascending);
    int CompareItems(int itemA, int subItemA, int itemB, int subItemB);
    void SetCompareFunction(CompareFunction compare, intptr_t value);
    // A caption was clicked: RCN_COLUMNCLICK, then the sort unless vetoed. 1 when sorted.
    int OnColumnClick(int headerIndex);
    // A divider was double-clicked: RCN_DIVIDERDBLCLICK, then the width fit. 1 when fitted.
    int OnDividerDblClick(int headerIndex, const TextWidthFunction& textWidth, int imageWidth,
                          int checkWidth);
    // The header's order changed (a caption was dragged): re-read it.
    void ReloadColumns();
    // A header item's width or format changed: copy it, RCN_COLUMNCHANGED.
    void OnHeaderItemChanged(int headerIndex, bool format, bool width);

    // Tree mode.
    int Expand(int item, bool notify);
    int Collapse(int item, bool notify);
    int GetItemDepth(int item) const;
    bool ItemHasChildren(int item) const;

    // Colours.
    int InsertColor(int position, uint32_t color) { return m_colors.Insert(position, color); }
    ColorTable& Colors() { return m_colors; }

    // Notifications.
    int Notify(NotifyHeader& header, int code);
    int NotifyItem(int code, int item, int subItem, uint32_t state);
    uint32_t GetNotificationMask() const { return m_notifyMask; }
    void SetNotificationMask(uint32_t mask) { m_notifyMask = mask; }

    const std::string& GetEmptyText() const { return m_emptyText; }
    void SetEmptyText(std::string text) { m_emptyText = std::move(text); }
    bool PreviewEnabled() const { return m_previewEnabled; }
    void EnablePreview(bool on) { m_previewEnabled = on; }

  private:
    enum class Mode { Flat, Tree, Virtual };
    class CheckOnExit;

    static Mode ModeOf(uint32_t style);
    // The view goes back to the first row, at once or when the batch ends.
    void ScrollToTop();
    bool IsVirtual() const { return ModeOf(m_style) == Mode::Virtual; }
    bool IsTree() const { return ModeOf(m_style) == Mode::Tree; }
    void ChangeMode(uint32_t style);
    ItemEntry DefaultRow() const;
    // The stored row of item (-1: the pseudo item), null when out of range.
    ItemEntry* Stored(int item);
    const ItemEntry* Stored(int item) const;
    // The row as the control sees it; in virtual mode fetched from the parent.
    const ItemEntry* Read(int item, int subItem);
    void FetchVirtual(int item, int subItem, ItemEntry& entry);
    uint32_t StateOf(int item) const;
    bool IsSelectedRow(int row) const { return StateOf(GetItemFromRow(row)) & RIS_SELECTED; }
    void ApplyRecord(ItemEntry& entry, const ReportItemInfo& info);
    // The one place that selects and focuses: the state bits, the SelectionList
    // and the focus row change together. row -1 is the pseudo item; no row, no change.
    void SetRowMarks(int row, bool selected, bool focused);
    bool ChangeSelection(int row, bool select, bool toggle, bool notify);
    void MoveFocusTo(int row);
    void RemovedRows(int row, int count);
    void SendDeleted(std::vector<ReportNotify>& records);
    void ReportInconsistency() const;
    void InsertTree(ItemEntry entry, int position, int indent, int& row);
    int ItemPrefixDepth(int item) const;

    uint32_t m_style = 0;
    ReportColumns m_columns;
    RowArray m_rows;
    ItemEntry m_pseudo;
    DisplayOrder m_order;
    SelectionList m_selection;
    int m_focusRow = -2;
    int m_focusColumn = -1;
    int m_anchor = 0;
    bool m_hasFocus = false;
    ColorTable m_colors;
    ItemCache m_cache;
    int m_virtualCount = 0;
    ReportTree m_tree;
    ReportParent* m_parent = nullptr;
    const void* m_window = nullptr;
    int m_controlId = 0;
    uint32_t m_notifyMask = 0xFFFFFFFF;
    ReportView m_noView;
    ReportView* m_view = &m_noView;
    ReportView* m_batchedView = nullptr;  // the view, while a batch keeps it waiting
    int m_batchDepth = 0;
    bool m_batchScrollsToTop = false;
    CompareFunction m_compare;
    intptr_t m_compareValue = 0;
    bool m_sortAscending = true;
    bool m_previewEnabled = true;
    std::string m_emptyText = "There are no items to show in this view.";
    FaultFunction m_onFault;
};

// Runs the self-check when a public operation returns, whichever way it returns.
class ReportModel::CheckOnExit {
  public:
    explicit CheckOnExit(const ReportModel& model) : m_model(model) {}
    CheckOnExit(const CheckOnExit&) = delete;
    CheckOnExit& operator=(const CheckOnExit&) = delete;
    ~CheckOnExit() {
        if (m_model.m_onFault) m_model.ReportInconsistency();
    }

  private:
    const ReportModel& m_model;
};

}  // namespace pagelark
