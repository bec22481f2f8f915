// CReportCtrl: creation, fonts, styles, colours, the model's operations on the
// control's thread, and the view hooks that keep scroll bars and header in step.
#include "report/widgets/ReportCtrl.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QListWidget>
#include <QScrollBar>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "controls/FlatHeaderCtrl.h"
#include "controls/platform/ImageList.h"
#include "controls/platform/Resources.h"
#include "report/widgets/ReportAccessible.h"
#include "report/widgets/ReportEdit.h"
#include "report/widgets/ReportTipWindow.h"

namespace pagelark {

CReportCtrl::CReportCtrl(QWidget* parent, int controlId)
    : QAbstractScrollArea(parent), m_controlId(controlId) {
#ifndef NDEBUG
    m_threadFault = [](const char* entry) {
        std::fprintf(stderr, "CReportCtrl::%s called from a thread that does not own it\n", entry);
        std::abort();
    };
#endif
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::ArrowCursor);
    m_model.SetView(this);
    m_model.SetParent(nullptr, this, controlId);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(Qt::Vertical, action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(Qt::Horizontal, action); });
    ReadWheelSetting();
    ReportAccessible::InstallFactory();
    Initialize();
}

CReportCtrl::~CReportCtrl() {
    // The parent hears of every row as the window goes.
    if (m_parent && !(m_model.GetStyle() & RCS_VIRTUAL)) m_model.DeleteAllItems();
    m_model.SetView(nullptr);
    m_model.SetHeader(nullptr);
}

bool CReportCtrl::Initialize() {
    if (m_initialized) return true;
    m_initialized = true;
    m_header = new CFlatHeaderCtrl(viewport());
    m_header->SetOwner(this);
    m_header->SetDragDrop(true);
    m_model.SetHeader(m_header);
    m_tip = std::make_unique<ReportTipWindow>(*this);
    ApplyFont(parentWidget() ? parentWidget()->font() : font());
    ReloadColors();
    Layout();
    return true;
}

void CReportCtrl::SetReportParent(ReportParent* parent) {
    m_parent = parent;
    m_model.SetParent(parent, this, m_controlId);
}

void CReportCtrl::CheckThread(const char* entry) const {
    if (m_threadFault && QThread::currentThread() != thread()) m_threadFault(entry);
}

// ---- Fonts, row height, colours, wheel

void CReportCtrl::ApplyFont(const QFont& font) {
    m_font = font;
    m_boldFont = font;
    m_boldFont.setWeight(QFont::Bold);
    setFont(font);
    if (m_header) m_header->setFont(font);
    UpdateRowHeight();
}

void CReportCtrl::UpdateRowHeight() {
    const QFontMetrics metrics(m_font);
    int height = metrics.height() + metrics.leading() + 2;
    if (m_model.GetStyle() & RCS_HGRID) ++height;
    if (m_images) height = std::max(height, m_images->ImageSize().height() + 1);
    m_layout.SetRowHeight(height);
    m_layout.SetCheckWidth(m_checks ? m_checks->ImageSize().width() : -1);
}

void CReportCtrl::ReloadColors() {
    const QPalette& p = palette();
    m_colors.window = p.color(QPalette::Base);
    m_colors.highlight = p.color(QPalette::Highlight);
    m_colors.highlightUnfocused = p.color(QPalette::Button);
    m_colors.text = p.color(QPalette::Text);
    m_colors.highlightText = p.color(QPalette::HighlightedText);
    m_colors.highlightTextUnfocused = p.color(QPalette::Text);
    m_colors.grid = p.color(QPalette::Button);
    m_colors.disabled = p.color(QPalette::Button);
    m_colors.treeFrame = p.color(QPalette::Dark);
    m_colors.bandLight = p.color(QPalette::Light);
    m_colors.bandDark = p.color(QPalette::Shadow);
    viewport()->update();
}

void CReportCtrl::ReadWheelSetting() {
    m_wheelLines = QApplication::wheelScrollLines();
}

void CReportCtrl::changeEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::PaletteChange:
            ReloadColors();
            break;
        case QEvent::FontChange:
            if (font() != m_font) {
                ApplyFont(font());
                Layout();
            }
            break;
        case QEvent::ApplicationFontChange:
        case QEvent::ThemeChange:
            ReadWheelSetting();
            break;
        default:
            break;
    }
    QAbstractScrollArea::changeEvent(event);
}

int CReportCtrl::GetLineHeight(const QFont& font, int lines) const {
    const QFontMetrics metrics(font);
    return lines * (metrics.height() + metrics.leading());
}

int CReportCtrl::GetTextHeight(const QFont& font, const std::string& text) const {
    int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    if (text.empty() || text.back() != '\n') ++lines;
    return GetLineHeight(font, lines);
}

bool CReportCtrl::SetImageList(const ImageList* items, const ImageList* checks) {
    CheckThread("SetImageList");
    if ((items && items->GetImageCount() == 0) || (checks && checks->GetImageCount() == 0))
        return false;
    m_images = items;
    m_checks = checks;
    m_layout.SetImageSize(items ? items->ImageSize() : QSize());
    m_header->SetImageList(items);
    UpdateRowHeight();
    Layout();
    return true;
}

int CReportCtrl::SetBkImage(int bitmapId) {
    CheckThread("SetBkImage");
    const QPixmap picture = LoadBitmap(bitmapId);
    return picture.isNull() ? 0 : SetBkImage(picture);
}

int CReportCtrl::SetBkImage(const QPixmap& picture) {
    m_background = picture;
    viewport()->update();
    return picture.isNull() ? 0 : 1;
}

int CReportCtrl::ModifyReportStyle(uint32_t remove, uint32_t add) {
    CheckThread("ModifyReportStyle");
    if (m_editor) EndEdit(true);
    m_model.ModifyReportStyle(remove, add);
    UpdateRowHeight();
    Layout();
    return 1;
}

// ---- Layout and scrolling

void CReportCtrl::Layout() {
    HideTip();
    m_layout.Place(viewport()->rect(), PlaceHeader());
    PlaceHeader();  // again at the position the new area allows
    UpdateScrollBars();
    viewport()->update();
}

int CReportCtrl::PlaceHeader() {
    int height = 0;
    if (m_model.GetStyle() & RCS_NOHEADER) {
        m_header->hide();
    } else {
        const int width = std::max(m_layout.Extent(), viewport()->width());
        const QRect area(-m_layout.HorizontalPosition(), 0, width, viewport()->height());
        height = m_header->Layout(area).top();
        m_header->show();
    }
    return height;
}

void CReportCtrl::UpdateScrollBars() {
    m_syncingBars = true;
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, m_layout.MaxTopRow());
    vertical->setPageStep(std::max(1, m_layout.FittingRows()));
    vertical->setValue(m_layout.TopRow());
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, m_layout.MaxHorizontalPosition());
    horizontal->setPageStep(std::max(1, m_layout.RowsRect().width()));
    horizontal->setSingleStep(std::max(1, m_layout.RowsRect().width() / 8));
    horizontal->setValue(m_layout.HorizontalPosition());
    m_syncingBars = false;
}

void CReportCtrl::resizeEvent(QResizeEvent* event) {
    if (m_editor) EndEdit(true);
    QAbstractScrollArea::resizeEvent(event);
    Layout();
}

void CReportCtrl::AfterScroll() {
    if (m_editor) EndEdit(true);
    HideTip();
    PlaceHeader();
    UpdateScrollBars();
    viewport()->update();
}

void CReportCtrl::ScrollVertically(ScrollCommand command, int track) {
    if (m_layout.ScrollVertically(command, track)) AfterScroll();
}

void CReportCtrl::ScrollHorizontally(ScrollCommand command, int track) {
    if (m_layout.ScrollHorizontally(command, track)) AfterScroll();
}

// The bars' own steps are replaced by the list's: rows of unequal height and
// the page rules of the layout.
void CReportCtrl::OnScrollAction(Qt::Orientation orientation, int action) {
    ScrollCommand command;
    QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            command = ScrollCommand::LineBack;
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            command = ScrollCommand::LineForward;
            break;
        case QAbstractSlider::SliderPageStepSub:
            command = ScrollCommand::PageBack;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            command = ScrollCommand::PageForward;
            break;
        case QAbstractSlider::SliderToMinimum:
            command = ScrollCommand::Start;
            break;
        case QAbstractSlider::SliderToMaximum:
            command = ScrollCommand::End;
            break;
        default:
            return;  // the thumb: scrollContentsBy follows the value
    }
    if (orientation == Qt::Vertical)
        ScrollVertically(command);
    else
        ScrollHorizontally(command);
    bar->setSliderPosition(orientation == Qt::Vertical ? m_layout.TopRow()
                                                       : m_layout.HorizontalPosition());
}

void CReportCtrl::scrollContentsBy(int, int) {
    if (m_syncingBars) return;
    const bool v = m_layout.ScrollVertically(ScrollCommand::Thumb, verticalScrollBar()->value());
    const bool h =
        m_layout.ScrollHorizontally(ScrollCommand::Thumb, horizontalScrollBar()->value());
    if (v || h) AfterScroll();
}

void CReportCtrl::EnsureRowVisible(int row) {
    if (m_layout.EnsureRowVisible(row)) AfterScroll();
}

void CReportCtrl::EnsureVisible(int item, bool) {
    CheckThread("EnsureVisible");
    EnsureRowVisible(m_model.GetRowFromItem(item));
}

void CReportCtrl::InvalidateItem(int item) {
    CheckThread("InvalidateItem");
    InvalidateRow(item == -1 ? -1 : m_model.GetRowFromItem(item));
}

int CReportCtrl::GetItemRect(int item, int subItem, QRect& rect, CellPart part) const {
    CheckThread("GetItemRect");
    return m_layout.GetItemRect(item, subItem, rect, part);
}

int CReportCtrl::HitTest(HitTestInfo& info) const {
    CheckThread("HitTest");
    return m_layout.HitTest(info);
}

// ---- ReportView

void CReportCtrl::InvalidateRow(int row) {
    if (row == -1) {
        viewport()->update(m_layout.BandRect());
        return;
    }
    if (row < m_layout.TopRow()) return;
    const QRect rect = m_layout.RowRect(row);
    if (rect.top() > viewport()->height()) return;
    viewport()->update(QRect(0, rect.top(), viewport()->width(), rect.height()));
}

void CReportCtrl::InvalidateAll() {
    viewport()->update();
}

void CReportCtrl::RowsChanged() {
    m_layout.SetTopRow(m_layout.TopRow());
    UpdateScrollBars();
    viewport()->update();
}

void CReportCtrl::ColumnsChanged() {
    // An auto fit writes every width in turn; the range follows once it is done.
    if (!m_header || m_header->IsAutoFitting()) return;
    m_layout.SetHorizontalPosition(m_layout.HorizontalPosition());
    PlaceHeader();
    UpdateScrollBars();
    viewport()->update();
}

void CReportCtrl::ScrollToTop() {
    if (m_layout.SetTopRow(0)) AfterScroll();
}

void CReportCtrl::HideTip() {
    if (m_tip) m_tip->Hide();
}

QWidget* CReportCtrl::TipOwnerWidget() {
    return viewport();
}

// ---- The model's operations

int CReportCtrl::Notify(NotifyHeader& header, int code) {
    return m_model.Notify(header, code);
}

int CReportCtrl::DefineSubItem(int n, const SubItemDef& def, bool refresh) {
    CheckThread("DefineSubItem");
    return m_model.DefineSubItem(n, def, refresh);
}

int CReportCtrl::RedefineSubItem(int n, const SubItemDef& def, bool refresh) {
    CheckThread("RedefineSubItem");
    return m_model.RedefineSubItem(n, def, refresh);
}

int CReportCtrl::ActivateSubItem(int n, int position) {
    CheckThread("ActivateSubItem");
    return m_model.ActivateSubItem(n, position);
}

int CReportCtrl::DeactivateSubItem(int n) {
    CheckThread("DeactivateSubItem");
    return m_model.DeactivateSubItem(n);
}

int CReportCtrl::DeactivateAllSubItems() {
    CheckThread("DeactivateAllSubItems");
    return m_model.DeactivateAllSubItems();
}

bool CReportCtrl::IsActiveSubItem(int n) const {
    CheckThread("IsActiveSubItem");
    return m_model.IsActiveSubItem(n);
}

int CReportCtrl::GetSubItemWidth(int n) const {
    CheckThread("GetSubItemWidth");
    return m_model.GetSubItemWidth(n);
}

int CReportCtrl::SetSubItemWidth(int n, int width) {
    CheckThread("SetSubItemWidth");
    return m_model.SetSubItemWidth(n, width);
}

void CReportCtrl::BeginBatch() {
    CheckThread("BeginBatch");
    m_model.BeginBatch();
}

void CReportCtrl::EndBatch() {
    CheckThread("EndBatch");
    m_model.EndBatch();
}

int CReportCtrl::InsertItem(const ReportItemInfo& info) {
    CheckThread("InsertItem");
    return m_model.InsertItem(info);
}

int CReportCtrl::DeleteItem(int item) {
    CheckThread("DeleteItem");
    return m_model.DeleteItem(item);
}

int CReportCtrl::DeleteAllItems() {
    CheckThread("DeleteAllItems");
    return m_model.DeleteAllItems();
}

int CReportCtrl::GetItem(ReportItemInfo& info) {
    CheckThread("GetItem");
    return m_model.GetItem(info);
}

int CReportCtrl::SetItem(const ReportItemInfo& info) {
    CheckThread("SetItem");
    return m_model.SetItem(info);
}

std::string CReportCtrl::GetItemText(int item, int subItem) {
    CheckThread("GetItemText");
    return m_model.GetItemText(item, subItem);
}

int CReportCtrl::SetItemText(int item, int subItem, const std::string& text) {
    CheckThread("SetItemText");
    return m_model.SetItemText(item, subItem, text);
}

int CReportCtrl::SetItemImage(int item, int subItem, int image) {
    CheckThread("SetItemImage");
    return m_model.SetItemImage(item, subItem, image);
}

int32_t CReportCtrl::GetItemData(int item) {
    CheckThread("GetItemData");
    return m_model.GetItemData(item);
}

int CReportCtrl::SetItemData(int item, int32_t data) {
    CheckThread("SetItemData");
    return m_model.SetItemData(item, data);
}

int CReportCtrl::GetItemCount() const {
    CheckThread("GetItemCount");
    return m_model.GetItemCount();
}

void CReportCtrl::SetItemCount(int count) {
    CheckThread("SetItemCount");
    m_model.SetItemCount(count);
}

std::string CReportCtrl::GetItemRowString(int item, char separator) {
    CheckThread("GetItemRowString");
    return m_model.GetItemRowString(item, separator);
}

int CReportCtrl::GetFirstSelectedItem() {
    CheckThread("GetFirstSelectedItem");
    return m_model.GetFirstSelectedItem();
}

int CReportCtrl::GetNextSelectedItem(int item) {
    CheckThread("GetNextSelectedItem");
    return m_model.GetNextSelectedItem(item);
}

void CReportCtrl::SelectItems(int first, int last, bool select, bool keepOthers, bool toggle,
                              bool notify) {
    CheckThread("SelectItems");
    m_model.SelectItems(first, last, select, keepOthers, toggle, notify);
    if (QAccessible::isActive()) {
        QAccessibleEvent selection(this, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&selection);
    }
}

QString CReportCtrl::ImageMeaning(int image) const {
    if (image < 0 || image >= static_cast<int>(m_imageMeanings.size())) return {};
    return m_imageMeanings[static_cast<size_t>(image)];
}

int CReportCtrl::SortItems(int subItem, bool ascending) {
    CheckThread("SortItems");
    return m_model.SortItems(subItem, ascending);
}

int CReportCtrl::InsertColor(int position, uint32_t color) {
    CheckThread("InsertColor");
    const int result = m_model.InsertColor(position, color);
    viewport()->update();
    return result;
}

void CReportCtrl::SetColumnChooser(QListWidget* list) {
    CheckThread("SetColumnChooser");
    m_chooser = list;
    RefillColumnChooser();
}

void CReportCtrl::RefillColumnChooser() {
    if (!m_chooser) return;
    m_chooser->clear();
    for (const auto& [caption, subItem] : m_model.GetChooserColumns()) {
        auto* entry = new QListWidgetItem(QString::fromUtf8(caption), m_chooser);
        entry->setData(Qt::UserRole, subItem);
    }
}

}  // namespace pagelark
