// CMainDlg: the commands that change the list (New, Add, Edit, Delete,
// Enable, Disable), Detail and always on top.

#include <QApplication>
#include <QWindow>

#include "app/detail/DetailDlg.h"
#include "app/editors/ItemEditorDlg.h"
#include "app/language/LangString.h"
#include "app/window/MainDlg.h"
#include "controls/HoverButton.h"
#include "controls/platform/MessageBox.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemState.h"
#include "files/ItemStore.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {
namespace {

constexpr int kNewQuestion = 130;

}  // namespace

int CMainDlg::SelectedItemNumber(int row) const {
    return ItemNumberFromData(static_cast<int>(m_list->GetItemData(row)));
}

void CMainDlg::OnNew() {
    if (m_list->GetItemCount() == 0) return;
    if (ShowMessageBox(this, LangText(kNewQuestion), QMessageBox::Warning,
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    m_list->DeleteAllItems();
    m_items.Empty(true);
    m_filePath.clear();
    m_captionFile.clear();
    m_live.Load("");
    OpenState();
    Relabel();
}

void CMainDlg::OnAdd() {
    // The number space ends at 9999: nothing is added after that.
    if (m_items.nextItemNumber >= kMaxItemNumber) {
        QApplication::beep();
        return;
    }
    const std::optional<ItemFields> fields = RunAddItemDialog(this);
    if (!fields) return;
    const int number = m_items.TakeItemNumber();
    if (number == 0 || !AddStoreItem(m_live, number, *fields)) return;
    AppendRow(number, fields->name);
}

void CMainDlg::OnEdit() {
    const int row = m_list->GetFirstSelectedItem();
    if (row < 0) return;
    const int data = static_cast<int>(m_list->GetItemData(row));
    const int number = ItemNumberFromData(data);
    const std::optional<ItemFields> fields = RunEditItemDialog(this, ReadStoreItem(m_live, number));
    if (!fields) return;
    m_items.RemoveResults(ItemKey(number));
    ReportItemInfo info;
    info.mask = RIF_IMAGE | RIF_PREVIEW | RIF_STATE | RIF_PARAM;
    info.item = row;
    // A disabled item stays disabled and keeps showing it.
    info.image = static_cast<int>(IsDisabledData(data) ? ItemState::Disabled : ItemState::Ready);
    info.previewHeight = 0;
    info.state = 0;
    info.param = data;
    m_list->SetItem(info);
    WriteStoreItem(m_live, number, *fields);
    m_list->SetItemText(row, 1, fields->name);
    m_list->SetItemText(row, 2, "");
    m_list->SetItemText(row, 3, "");
}

void CMainDlg::OnDelete() {
    const int row = m_list->GetFirstSelectedItem();
    if (row < 0) return;
    const int number = SelectedItemNumber(row);
    RemoveStoreItem(m_live, number);
    m_items.RemoveResults(ItemKey(number));
    m_list->DeleteItem(row);
}

void CMainDlg::OnDisable() {
    for (int row = m_list->GetFirstSelectedItem(); row >= 0;
         row = m_list->GetNextSelectedItem(row)) {
        const int data = static_cast<int>(m_list->GetItemData(row));
        if (IsDisabledData(data)) continue;
        m_list->SetItemData(row, RowDataFor(data, false));
        ReportItemInfo info;
        info.mask = RIF_IMAGE | RIF_PREVIEW | RIF_STATE;
        info.item = row;
        info.image = static_cast<int>(ItemState::Disabled);
        info.previewHeight = 0;
        info.state = 0;
        m_list->SetItem(info);
    }
}

void CMainDlg::OnEnable() {
    for (int row = m_list->GetFirstSelectedItem(); row >= 0;
         row = m_list->GetNextSelectedItem(row)) {
        const int data = static_cast<int>(m_list->GetItemData(row));
        if (!IsDisabledData(data)) continue;
        const int number = ItemNumberFromData(data);
        const std::optional<std::string> preview = m_items.results.Preview(ItemKey(number));
        if (preview) {
            ReportItemInfo info;
            info.mask = RIF_IMAGE | RIF_PREVIEW | RIF_STATE | RIF_PARAM;
            info.item = row;
            info.image = static_cast<int>(ItemState::Ready);
            info.previewHeight = m_list->GetTextHeight(m_list->NormalFont(), *preview) + 4;
            info.state = 0;
            info.param = number;
            m_list->SetItem(info);
        } else {
            m_list->SetItemData(row, number);
            m_list->SetItemImage(row, 0, static_cast<int>(ItemState::Ready));
        }
    }
}

void CMainDlg::RefitPreviewBands() {
    for (int row = 0; row < m_list->GetItemCount(); ++row) {
        ReportItemInfo info;
        info.mask = RIF_PREVIEW | RIF_PARAM;
        info.item = row;
        m_list->GetItem(info);
        if (info.previewHeight <= 0) continue;
        const std::optional<std::string> preview = m_items.results.Preview(ItemKey(info.param));
        if (!preview) continue;
        info.mask = RIF_PREVIEW;
        info.previewHeight = m_list->GetTextHeight(m_list->NormalFont(), *preview) + 4;
        m_list->SetItem(info);
    }
}

void CMainDlg::OnDetail() {
    const int row = m_list->GetFirstSelectedItem();
    if (row < 0) return;
    // Entries are looked up under the item number, so a disabled item's can be viewed too.
    const int number = SelectedItemNumber(row);
    DetailHistory history = HistoryOf(number);
    if (!m_items.results.Entries(ItemKey(number)) && history.history.empty() &&
        history.reason.Good() && !history.attention)
        return;                  // nothing gathered, nothing known
    OnRowSelected(row, number);  // seen: its change mark goes
    OpenDetail(number, std::move(history));
}

void CMainDlg::OpenDetail(int number, DetailHistory history) {
    // Copies taken under the maps' locks: a run may still be writing them.
    RunDetailDialog(
        this, number, m_items.results.EntriesSnapshot(), m_items.links.Snapshot(),
        [this, number](const std::string& url) { return m_changes.IsNewEntry(number, url); },
        std::move(history));
}

void CMainDlg::OnAlwaysOnTop() {
    m_alwaysOnTop = !m_alwaysOnTop;
    // setWindowFlag would hide the window to change it, and hiding a dialog
    // ends its exec(), the program's loop. The widget takes the flag without
    // being told and its platform window is changed in place, where it stays.
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, m_alwaysOnTop);
    overrideWindowFlags(flags);
    if (QWindow* handle = windowHandle()) handle->setFlags(flags);
    Button(IDC_ON_TOP)->SetCheck(m_alwaysOnTop);
}

}  // namespace pagelark
