#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/FlatHeaderOwner.h"
#include "report/model/ReportModel.h"
#include "report/model/ReportView.h"
#include "report/widgets/ReportLayout.h"
#include "report/widgets/ReportTipOwner.h"

class QListWidget;
class QPainter;

// The multi-column list: it owns its rows (ReportModel), its column header
// and its tip, paints the rows in the exposed area from ReportLayout, and
// turns mouse, keyboard and header events into calls on the model. Every
// public entry point belongs to the thread that created the control.
namespace pagelark {

class CFlatHeaderCtrl;
class CReportEdit;
class ImageList;
class ReportTipWindow;

class CReportCtrl : public QAbstractScrollArea,
                    public ReportView,
                    public FlatHeaderOwner,
                    public ReportTipOwner {
    Q_OBJECT

  public:
    struct Colors {
        QColor window, highlight, highlightUnfocused, text, highlightText, highlightTextUnfocused;
        QColor grid, disabled, treeFrame, bandLight, bandDark;
    };

    // Called with the name of an entry point reached from a thread that does
    // not own the control. Debug builds start with one that aborts.
    using ThreadFault = std::function<void(const char* entry)>;

    explicit CReportCtrl(QWidget* parent = nullptr, int controlId = 0);
    ~CReportCtrl() override;

    // Creates the header and the tip, copies the parent's font, lays out and
    // reads the colours. Runs once; the constructor calls it.
    virtual bool Initialize();
    void SetReportParent(ReportParent* parent);
    int ControlId() const { return m_controlId; }
    void SetThreadCheck(ThreadFault onFault) { m_threadFault = std::move(onFault); }

    // --- the model's operations, on the control's thread ---
    int DefineSubItem(int n, const SubItemDef& def, bool refresh = false);
    int RedefineSubItem(int n, const SubItemDef& def, bool refresh = false);
    int ActivateSubItem(int n, int position);
    int DeactivateSubItem(int n);
    int DeactivateAllSubItems();
    bool IsActiveSubItem(int n) const;
    int GetSubItemWidth(int n) const;
    int SetSubItemWidth(int n, int width = -1);
    // Row changes between these two lay out and repaint once, at the end.
    void BeginBatch();
    void EndBatch();
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
    void SetItemCount(int count);
    std::string GetItemRowString(int item, char separator);
    int GetFirstSelectedItem();
    int GetNextSelectedItem(int item);
    virtual void SelectItems(int first, int last, bool select, bool keepOthers, bool toggle,
                             bool notify);
    int SortItems(int subItem, bool ascending);
    int InsertColor(int position, uint32_t color);
    bool HasFocus() const { return m_model.HasFocus(); }
    const ReportModel& Model() const { return m_model; }

    // What each item image means, read out by assistive technology ("Done", "Failed").
    void SetImageMeanings(std::vector<QString> meanings) { m_imageMeanings = std::move(meanings); }
    QString ImageMeaning(int image) const;

    // --- look ---
    uint32_t GetReportStyle() const { return m_model.GetStyle(); }
    int ModifyReportStyle(uint32_t remove, uint32_t add);
    // Either may be null; the lists must outlive the control. False when a list has no image 0.
    bool SetImageList(const ImageList* items, const ImageList* checks = nullptr);
    // 0 when the bitmap does not load, else 1.
    int SetBkImage(int bitmapId);
    int SetBkImage(const QPixmap& picture);
    void ReloadColors();
    const Colors& GetColors() const { return m_colors; }
    // Lines per wheel notch, -1 for a page; read from the platform.
    void ReadWheelSetting();
    void SetWheelSetting(int lines) { m_wheelLines = lines; }
    int GetLineHeight(const QFont& font, int lines) const;
    int GetTextHeight(const QFont& font, const std::string& text) const;
    const QFont& NormalFont() const { return m_font; }
    const QFont& BoldFont() const { return m_boldFont; }
    CFlatHeaderCtrl* GetHeaderCtrl() const { return m_header; }
    ReportTipWindow* GetTipWindow() const { return m_tip.get(); }

    // --- geometry, in the coordinates of viewport() ---
    void Layout();
    const ReportLayout& Geometry() const { return m_layout; }
    int GetItemRect(int item, int subItem, QRect& rect, CellPart part) const;
    int HitTest(HitTestInfo& info) const;
    void EnsureVisible(int item, bool partial);
    void InvalidateItem(int item);
    // The top row and the horizontal position, as the scroll bars show them.
    void ScrollVertically(ScrollCommand command, int track = 0);
    void ScrollHorizontally(ScrollCommand command, int track = 0);

    // --- editing ---
    virtual int BeginEdit(int row, int position, uint32_t character);
    virtual void EndEdit(bool store, const EditNotify* record = nullptr);
    QWidget* Editor() const { return m_editor; }
    // The default editor tells the control its edit ended (RCN_ENDEDIT from the editor).
    void OnEditorEnded(EditNotify& record);
    // The editor's browse button was pressed: RCN_EDITBROWSE; 1 puts text back into it.
    int OnEditorBrowse(EditNotify& record);
    // A list that offers the inactive columns; null for none. Must outlive the control.
    void SetColumnChooser(QListWidget* list);

    // --- drawing, for subclasses ---
    virtual int Notify(NotifyHeader& header, int code);
    virtual void DrawItem(QPainter& painter, const QRect& rowRect, int item, int row,
                          const ReportItemInfo& rowInfo, bool odd);
    virtual void DrawSubItem(QPainter& painter, const QRect& rect, ReportItemInfo& info);
    virtual int DrawBackground(QPainter& painter, const QRect& rect, const QColor& color);
    virtual int DrawImage(QPainter& painter, const QRect& rect, const ReportItemInfo& info);
    virtual int DrawCheck(QPainter& painter, const QRect& rect, const ReportItemInfo& info);
    virtual int DrawText(QPainter& painter, const QRect& rect, const ReportItemInfo& info);
    virtual void DrawTreeButton(QPainter& painter, const QRect& rect, bool expanded);
    // Called before a tip is shown; does nothing here.
    virtual void PreTip(int /*item*/, int /*subItem*/) {}

    // ReportTipOwner
    QWidget* TipOwnerWidget() override;

  protected:
    // ReportView
    void InvalidateRow(int row) override;
    void InvalidateAll() override;
    void RowsChanged() override;
    void ColumnsChanged() override;
    void ScrollToTop() override;
    void EnsureVisible(int row) override { EnsureRowVisible(row); }
    void HideTip() override;
    void RefillColumnChooser() override;

    // FlatHeaderOwner
    bool OnHeaderBeginDrag(int item, const HeaderItem& pressed) override;
    bool OnHeaderEndDrag(int item, const HeaderItem& pressed) override;
    void OnHeaderItemChanged(int item, bool format, bool width) override;
    void OnHeaderItemClick(int item) override;
    void OnHeaderDividerDblClick(int item) override;
    bool OnHeaderRightClick(int item) override;

    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

    // A key as the platform's virtual key code (0 for keys without one).
    static uint32_t VirtualKey(const QKeyEvent& event);
    // The character a key types that may start an edit, 0 for none.
    static uint32_t TypedCharacter(const QKeyEvent& event);
    // RCN_KEYDOWN, then the list's own handling unless the parent vetoes; false
    // for keys the list leaves to the window (and to typing).
    virtual bool HandleKey(uint32_t key, Qt::KeyboardModifiers modifiers);
    void HandleLeftPress(const QPoint& at, Qt::KeyboardModifiers modifiers);
    ReportModel& MutableModel() { return m_model; }
    // Whether the focus cell of the focus row may edit (pseudo item or cell focus).
    bool CellFocusApplies() const;

  private:
    void CheckThread(const char* entry) const;
    void ApplyFont(const QFont& font);
    void UpdateRowHeight();
    void UpdateScrollBars();
    // Places the header at the horizontal position; returns its height.
    int PlaceHeader();
    void EnsureRowVisible(int row);
    void AfterScroll();
    void OnScrollAction(Qt::Orientation orientation, int action);
    void DriveTip(const QPoint& at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void PaintRows(QPainter& painter, const QRect& clip);
    void PaintBand(QPainter& painter);
    void PaintGrid(QPainter& painter, const QRect& clip, int lastBottom);
    void PaintEmptyText(QPainter& painter);
    void DrawFocusRect(QPainter& painter, const QRect& rect) const;
    void ScrollToFocusColumn();
    void MoveFocusColumn(int step);
    ReportNotify MouseRecord(const QPoint& at, Qt::KeyboardModifiers modifiers, HitTestInfo& hit);
    void ReadOrder();

    ReportModel m_model;
    ReportLayout m_layout{m_model};
    const int m_controlId;
    ReportParent* m_parent = nullptr;
    CFlatHeaderCtrl* m_header = nullptr;
    std::unique_ptr<ReportTipWindow> m_tip;
    QPointer<QWidget> m_editor;
    QPointer<QListWidget> m_chooser;
    int m_editItem = -2;
    int m_editSubItem = -1;
    bool m_typing = false;
    bool m_orderStale = false;
    bool m_initialized = false;
    bool m_syncingBars = false;
    QFont m_font;
    QFont m_boldFont;
    Colors m_colors;
    const ImageList* m_images = nullptr;
    const ImageList* m_checks = nullptr;
    QPixmap m_background;
    int m_wheelLines = 3;
    int m_wheelRest = 0;  // rotation units not yet worth a line
    ThreadFault m_threadFault;
    std::vector<QString> m_imageMeanings;
};

}  // namespace pagelark
