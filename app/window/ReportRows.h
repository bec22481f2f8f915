#pragma once

#include "engine/collect/ItemRows.h"

// The engine's row operations carried out on the window's report control.
// Called on the window thread only (the worker reaches them through the
// window's RunOnListThread).
namespace pagelark {

class CReportCtrl;

class ReportRows : public ItemRows {
  public:
    void Attach(CReportCtrl* list) { m_list = list; }

    int GetItemData(int row) override;
    int GetLineHeight(int lines) override;
    int SetItem(const ReportItemInfo& info) override;
    int GetItemCount() override;
    int InsertItem(const ReportItemInfo& info) override;
    bool DeleteAllItems() override;
    std::string GetItemText(int item, int subItem) override;
    int GetItemImage(int row) override;
    void BeginBatch() override;
    void EndBatch() override;

  private:
    CReportCtrl* m_list = nullptr;
};

}  // namespace pagelark
