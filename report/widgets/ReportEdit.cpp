#include "report/widgets/ReportEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <cstring>

#include "report/widgets/ReportCtrl.h"

namespace pagelark {

namespace {

constexpr uint32_t kTab = 0x09, kEnter = 0x0D, kEscape = 0x1B;
constexpr int kBrowseRoom = 10;

}  // namespace

CReportEdit::CReportEdit(CReportCtrl& owner, QWidget* parent, const QRect& rect, int item,
                         int subItem, uint32_t flags)
    : QLineEdit(parent), m_owner(owner), m_item(item), m_subItem(subItem), m_flags(flags) {
    setFrame(false);
    QRect place = rect;
    if (flags != 0 && place.width() > place.height() + kBrowseRoom) {
        place.setWidth(place.width() - place.height());
        m_browse = new QPushButton(QStringLiteral("..."), parent);
        m_browse->setFont(owner.NormalFont());
        m_browse->setGeometry(place.right() + 1, place.top(), place.height(), place.height());
        m_browse->show();
    }
    setGeometry(place);
}

CReportEdit::~CReportEdit() {
    delete m_browse;
}

void CReportEdit::ApplyStart(uint32_t character) {
    if (character == 1 || character == kEnter) {
        end(false);
    } else if (character == 8) {
        end(false);
        backspace();
    } else if (character == kTab || (character >= 32 && character <= 40)) {
        selectAll();
    } else {
        selectAll();
        const char32_t typed = character;
        insert(QString::fromUcs4(&typed, 1));
    }
}

bool CReportEdit::event(QEvent* event) {
    // Every key is the editor's; Tab, Enter and Esc end it and are remembered.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        uint32_t ending = 0;
        switch (key->key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
                ending = kTab;
                break;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                ending = kEnter;
                break;
            case Qt::Key_Escape:
                ending = kEscape;
                break;
            default:
                break;
        }
        if (ending != 0) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                m_endKey = ending;
                m_owner.setFocus(Qt::OtherFocusReason);
                if (!m_ended && hasFocus()) clearFocus();
            }
            return true;
        }
        if (key->modifiers() & Qt::AltModifier) return true;  // no menu keys while editing
    }
    return QLineEdit::event(event);
}

void CReportEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (m_ended) return;
    if (m_browse && QApplication::focusWidget() == m_browse.data()) {
        Browse();
        return;
    }
    m_ended = true;
    std::string copy = text().toStdString();
    EditNotify record = Record();
    record.key = m_endKey;
    record.text = copy.data();
    m_owner.OnEditorEnded(record);
}

EditNotify CReportEdit::Record() {
    EditNotify record;
    record.item = m_item;
    record.subItem = m_subItem;
    record.flags = m_flags;
    record.editor = this;
    return record;
}

void CReportEdit::Browse() {
    char buffer[256] = {};
    const QByteArray text = this->text().toUtf8();
    std::strncpy(buffer, text.constData(), sizeof buffer - 1);
    EditNotify record = Record();
    record.text = buffer;
    if (m_owner.OnEditorBrowse(record) == 1) setText(QString::fromUtf8(buffer));
    setFocus(Qt::OtherFocusReason);
}

}  // namespace pagelark
