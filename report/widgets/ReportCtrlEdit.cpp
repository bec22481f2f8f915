// CReportCtrl: in-place editing of the focus cell.
#include <QApplication>
#include <QLineEdit>

#include "report/widgets/ReportCtrl.h"
#include "report/widgets/ReportEdit.h"

namespace pagelark {

namespace {

constexpr uint32_t kEscape = 0x1B;

}  // namespace

int CReportCtrl::BeginEdit(int row, int position, uint32_t character) {
    CheckThread("BeginEdit");
    const uint32_t style = m_model.GetStyle();
    if (row == -2 || position < 0 || (row == -1 && !(style & RCS_NEWITEMROW))) return 0;
    const auto& active = m_model.Columns().Active();
    if (position >= static_cast<int>(active.size())) return 0;
    if (m_editor) EndEdit(true);
    const int item = m_model.GetItemFromRow(row);
    const int subItem = active[static_cast<size_t>(position)];
    char buffer[256] = {};
    ReportItemInfo info;
    info.item = item;
    info.subItem = subItem;
    info.text = buffer;
    info.textMax = sizeof buffer;
    if (!m_model.GetItem(info) || (info.state & RIS_READONLY)) return 0;
    const bool hasText = info.mask & RIF_TEXT;
    QRect cell;
    if (!m_layout.GetItemRect(item, subItem, cell, CellPart::Cell)) return 0;

    EditNotify record;
    record.item = item;
    record.subItem = subItem;
    record.rect = {cell.left(), cell.top(), cell.right() + 1, cell.bottom() + 1};
    record.key = character;
    record.text = hasText ? buffer : nullptr;
    record.param = info.param;
    HideTip();
    if (Notify(record.header, RCN_BEGINEDIT)) {
        // The parent opened an editor of its own.
        if (!record.editor) return 0;
        m_editor = static_cast<QWidget*>(record.editor);
    } else {
        QRect rect;
        if (!hasText || !m_layout.GetItemRect(item, subItem, rect, CellPart::Text)) return 0;
        rect.setBottom(rect.bottom() + 2);
        auto* edit = new CReportEdit(*this, viewport(), rect, item, subItem, record.flags);
        edit->setFont(info.state & RIS_BOLD ? m_boldFont : m_font);
        edit->setText(QString::fromUtf8(buffer));
        edit->ApplyStart(character);
        edit->show();
        m_editor = edit;
    }
    m_editItem = item;
    m_editSubItem = subItem;
    m_editor->setFocus(Qt::OtherFocusReason);
    InvalidateRow(row);
    return 1;
}

void CReportCtrl::OnEditorEnded(EditNotify& fromEditor) {
    EditNotify record = fromEditor;
    record.item = m_editItem;
    record.subItem = m_editSubItem;
    record.param = m_editItem >= -1 && !(m_model.GetStyle() & RCS_VIRTUAL)
                       ? m_model.GetItemData(m_editItem)
                       : 0;
    if (Notify(record.header, RCN_ENDEDIT))
        EndEdit(false, nullptr);
    else
        EndEdit(record.key != kEscape, &record);
}

int CReportCtrl::OnEditorBrowse(EditNotify& record) {
    record.item = m_editItem;
    record.subItem = m_editSubItem;
    return Notify(record.header, RCN_EDITBROWSE);
}

void CReportCtrl::EndEdit(bool store, const EditNotify* record) {
    CheckThread("EndEdit");
    QWidget* editor = m_editor;
    if (!editor) return;
    m_editor = nullptr;
    if (auto* edit = qobject_cast<CReportEdit*>(editor)) edit->MarkEnded();
    if (store && !(m_model.GetStyle() & RCS_VIRTUAL)) {
        std::string text;
        if (record && record->text) {
            text = record->text;
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            const QByteArray bytes = line->text().toUtf8();
            text.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
        }
        m_model.SetItemText(m_editItem, m_editSubItem, text);
    }
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    editor->deleteLater();
    if (hadFocus) setFocus(Qt::OtherFocusReason);
    QWidget* now = QApplication::focusWidget();
    if (!(now == this || (now && isAncestorOf(now)))) m_model.SetHasFocus(false);
    InvalidateRow(m_model.GetFocusRow());
}

}  // namespace pagelark
