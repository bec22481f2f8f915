#include "report/widgets/ReportOptionsCtrl.h"

#include <QFontMetrics>
#include <QMouseEvent>

#include "report/widgets/ReportOptionsCombo.h"
#include "report/widgets/ReportOptionsEdit.h"

namespace pagelark {

namespace {

constexpr uint32_t kSpace = 0x20;
constexpr int kEscape = 27;

}  // namespace

CReportOptionsCtrl::CReportOptionsCtrl(QWidget* parent, int controlId)
    : CReportCtrl(parent, controlId) {
    ModifyReportStyle(0, RCS_SINGLESELECT | RCS_NOHEADER | RCS_NOSORT);
    SubItemDef def;
    def.format = HDF_STRING;
    def.width = viewport()->width();
    DefineSubItem(0, def);
    ActivateSubItem(0, 0);
}

int CReportOptionsCtrl::AddOption(int parent, const std::string& name, const std::string& value,
                                  int check, Editor editor, const QStringList& choices) {
    const std::string text = name + ": " + value;
    ReportItemInfo info;
    info.mask = RIF_TEXT | RIF_PARAM | RIF_INDENT | (check >= 0 ? RIF_CHECK : 0);
    info.item = GetItemCount();
    info.text = const_cast<char*>(text.c_str());
    info.param = static_cast<int32_t>(editor);
    info.check = check;
    info.indent = 0;
    if (parent >= 0 && m_options.contains(parent)) {
        ReportItemInfo up;
        up.item = parent;
        GetItem(up);
        info.indent = std::max(0, up.indent) + 1;
    }
    const int item = InsertItem(info);
    if (item >= 0) m_options[item] = {name, value, parent, choices};
    return item;
}

std::string CReportOptionsCtrl::GetOptionValue(int item) const {
    const auto found = m_options.find(item);
    return found == m_options.end() ? std::string() : found->second.value;
}

int CReportOptionsCtrl::GetOptionParent(int item) const {
    const auto found = m_options.find(item);
    return found == m_options.end() ? -2 : found->second.parent;
}

int CReportOptionsCtrl::OptionCheck(int item) {
    ReportItemInfo info;
    info.item = item;
    if (!GetItem(info) || !(info.mask & RIF_CHECK)) return -1;
    return info.check;
}

void CReportOptionsCtrl::SetOptionCheck(int item, int check) {
    ReportItemInfo info;
    info.mask = RIF_CHECK;
    info.item = item;
    info.check = check;
    SetItem(info);
}

int CReportOptionsCtrl::SendOption(int code, int item, int value) {
    OptionNotify record;
    record.parentOption = GetOptionParent(item);
    record.option = item;
    record.value = value;
    return Notify(record.header, code);
}

// A check box flips; a radio option becomes the one checked among its siblings.
// Crossed states (bit 1) do not change.
void CReportOptionsCtrl::Toggle(int item) {
    const int check = OptionCheck(item);
    if (check < 0 || check > 7 || (check & 2)) return;
    if (check < 4) {
        SetOptionCheck(item, check ^ 1);
        SendOption(RCN_OPTIONCHECKED, item, (check ^ 1) & 1);
        return;
    }
    const int parent = GetOptionParent(item);
    int position = 0;
    int index = 0;
    for (const auto& [other, option] : m_options) {
        if (option.parent != parent) continue;
        if (other == item) position = index;
        ++index;
        const int state = OptionCheck(other);
        if (other != item && state >= 4 && state <= 7 && !(state & 2) && (state & 1))
            SetOptionCheck(other, state & ~1);
    }
    SetOptionCheck(item, check | 1);
    SendOption(RCN_OPTIONSELECTED, item, position);
}

bool CReportOptionsCtrl::OpenEditor(int item) {
    const auto found = m_options.find(item);
    const auto kind = static_cast<Editor>(GetItemData(item));
    if (found == m_options.end() || kind == Editor::None) return false;
    CloseEditor(0);
    EnsureVisible(item, false);
    QRect rect;
    if (!GetItemRect(item, 0, rect, CellPart::Text)) return false;
    const int nameWidth = QFontMetrics(NormalFont())
                              .horizontalAdvance(QString::fromStdString(found->second.name + ": "));
    rect.setLeft(std::min(rect.right(), rect.left() + nameWidth));
    const QString value = QString::fromUtf8(found->second.value);
    if (kind == Editor::Edit) {
        auto* edit = new CReportOptionsEdit(*this, viewport());
        edit->setText(value);
        edit->selectAll();
        m_valueEditor = edit;
    } else {
        auto* combo = new CReportOptionsCombo(*this, viewport());
        combo->addItems(found->second.choices);
        combo->setCurrentText(value);
        rect.setHeight(std::max(rect.height(), combo->sizeHint().height()));
        m_valueEditor = combo;
    }
    m_editing = item;
    m_valueEditor->setFont(NormalFont());
    m_valueEditor->setGeometry(rect);
    m_valueEditor->show();
    m_valueEditor->setFocus(Qt::OtherFocusReason);
    return true;
}

bool CReportOptionsCtrl::EditorKey(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
        CloseEditor(13);
    } else if (event.key() == Qt::Key_Escape) {
        CloseEditor(kEscape);
    } else {
        return false;
    }
    return true;
}

void CReportOptionsCtrl::CloseEditor(int key) {
    QWidget* editor = m_valueEditor;
    if (!editor) return;
    m_valueEditor = nullptr;
    const int item = m_editing;
    m_editing = -2;
    if (key != kEscape && m_options.contains(item)) {
        QString value;
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) value = edit->text();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) value = combo->currentText();
        Option& option = m_options[item];
        option.value = value.toStdString();
        SetItemText(item, 0, option.name + ": " + option.value);
        SendOption(RCN_OPTIONCHANGED, item, -1);
    }
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    editor->deleteLater();
    if (hadFocus) setFocus(Qt::OtherFocusReason);
}

// The one column stays as wide as the list.
void CReportOptionsCtrl::resizeEvent(QResizeEvent* event) {
    CReportCtrl::resizeEvent(event);
    SetSubItemWidth(0, viewport()->width());
}

void CReportOptionsCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        CloseEditor(0);
        HitTestInfo hit;
        hit.point = {event->position().toPoint().x(), event->position().toPoint().y()};
        if (HitTest(hit) >= 0) Toggle(hit.item);
    }
    CReportCtrl::mousePressEvent(event);
}

void CReportOptionsCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    CReportCtrl::mouseDoubleClickEvent(event);
    HitTestInfo hit;
    hit.point = {event->position().toPoint().x(), event->position().toPoint().y()};
    if (event->button() == Qt::LeftButton && HitTest(hit) >= 0) OpenEditor(hit.item);
}

bool CReportOptionsCtrl::HandleKey(uint32_t key, Qt::KeyboardModifiers modifiers) {
    if (key == kSpace) {
        const int item = Model().GetItemFromRow(Model().GetFocusRow());
        if (item >= 0) {
            Toggle(item);
            OpenEditor(item);
        }
    }
    return CReportCtrl::HandleKey(key, modifiers);
}

}  // namespace pagelark
