#pragma once

namespace pagelark {

// What the model tells the widget that shows it. Every hook is optional; the
// model works without a view.
class ReportView {
  public:
    virtual ~ReportView() = default;

    virtual void InvalidateRow(int /*row*/) {}
    virtual void InvalidateAll() {}
    virtual void UpdateNow() {}
    // Row count or row heights changed: recompute the vertical range and keep the view filled.
    virtual void RowsChanged() {}
    // Column widths or order changed: recompute the horizontal range.
    virtual void ColumnsChanged() {}
    virtual void ScrollToTop() {}
    virtual void EnsureVisible(int /*row*/) {}
    virtual void HideTip() {}
    // Definitions or the active set changed: refill the column chooser list, if any.
    virtual void RefillColumnChooser() {}
};

}  // namespace pagelark
