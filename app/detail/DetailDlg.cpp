#include "app/detail/DetailDlg.h"

#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWebEngineView>

#include "app/detail/SafeWebPage.h"
#include "app/language/DialogTemplates.h"
#include "app/language/InterfaceFont.h"
#include "app/language/LangString.h"
#include "app/language/UiLanguage.h"
#include "controls/platform/ColorRef.h"
#include "controls/platform/DialogUnits.h"
#include "controls/platform/DlgItem.h"
#include "engine/page/EntryText.h"

namespace pagelark {
namespace {

constexpr int kTitle = 152;
constexpr int kNameColumn = 110;
constexpr int kUrlColumn = 111;
constexpr int kRefused = 195;
constexpr int kHistory = 286;
// The History button sits left of ">>" and takes this much of the address box.
constexpr int kHistoryButtonWidth = 80;
constexpr std::uint32_t kListBack = 0xEEFFFF;
constexpr std::uint32_t kListText = 0x0000FF;
const QString kExpand = QStringLiteral(">>");
const QString kCollapse = QStringLiteral("<<");

}  // namespace

CDetailDlg::CDetailDlg(int number, const EntryMap& entries, const LinkMap& links, QWidget* parent,
                       NewEntryTest isNew, DetailHistory history)
    : QDialog(parent) {
    setFont(InterfaceFont(UiLanguage));
    CreateControls();
    setWindowTitle(LangText(kTitle));
    FillList(number, entries, links, isNew);
    HistoryPage page = HistoryHtml(history);
    m_history->setHtml(page.html);
    m_historyLinks = std::move(page.links);
    // The first link opens at once; its row is not selected.
    if (m_list->topLevelItemCount() > 0) Navigate(m_list->topLevelItem(0)->text(1));
    m_hasLinks = m_list->topLevelItemCount() > 0;
    for (QWidget* part : {static_cast<QWidget*>(m_list), GetDlgItem(this, IDC_ADDRESS_LABEL),
                          static_cast<QWidget*>(m_edit), static_cast<QWidget*>(m_toggle),
                          static_cast<QWidget*>(m_historyButton)})
        part->setVisible(m_hasLinks);
    // Without links, or without a good Result now, the history says more.
    ShowHistory(!m_hasLinks || !history.reason.Good() || history.attention);
}

void CDetailDlg::CreateControls() {
    const DialogTemplate* dialog = FindDialogTemplate(IDD_DETAIL);
    for (const DialogControl& control : dialog->controls) {
        QWidget* widget = nullptr;
        switch (control.id) {
            case IDC_ENTRIES: {
                m_list = new QTreeWidget(this);
                m_list->setRootIsDecorated(false);
                m_list->setUniformRowHeights(true);
                m_list->setSelectionMode(QAbstractItemView::SingleSelection);
                m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
                m_list->setHeaderLabels({LangText(kNameColumn), LangText(kUrlColumn)});
                m_list->header()->setStretchLastSection(false);
                m_list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                QPalette colours = m_list->palette();
                colours.setColor(QPalette::Base, FromColorRef(kListBack));
                colours.setColor(QPalette::Text, FromColorRef(kListText));
                // The selection stays visible while the browser has the focus.
                for (const QPalette::ColorRole role :
                     {QPalette::Highlight, QPalette::HighlightedText})
                    colours.setColor(QPalette::Inactive, role,
                                     colours.color(QPalette::Active, role));
                m_list->setPalette(colours);
                connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CDetailDlg::OnDoubleClick);
                widget = m_list;
                break;
            }
            case IDC_ADDRESS_LABEL:
                widget = new QLabel(LangText(control.textId), this);
                break;
            case IDC_ADDRESS:
                m_edit = new QLineEdit(this);
                widget = m_edit;
                break;
            case IDC_TOGGLE:
                m_toggle = new QPushButton(kExpand, this);
                m_toggle->setAutoDefault(false);
                connect(m_toggle, &QPushButton::clicked, this, &CDetailDlg::OnToggle);
                widget = m_toggle;
                break;
            case IDC_BROWSER: {
                m_browser = new QWebEngineView(this);
                m_page = new SafeWebPage(m_browser);
                m_page->SetRefusedHandler([this](const QUrl& url) { ShowRefused(url); });
                m_browser->setPage(m_page);
                // Redirects and a page's own jumps change what is shown: the
                // box never keeps an address the view has left.
                connect(m_browser, &QWebEngineView::urlChanged, this, &CDetailDlg::ShowReached);
                widget = m_browser;
                break;
            }
            case IDC_OK:
                m_ok = new QPushButton(LangText(control.textId), this);
                m_ok->setDefault(true);
                m_ok->setVisible(!control.hidden);
                connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
                widget = m_ok;
                break;
            default:
                break;
        }
        if (widget != nullptr) SetDlgCtrlID(widget, control.id);
    }
    m_historyButton = new QPushButton(LangText(kHistory), this);
    m_historyButton->setCheckable(true);
    m_historyButton->setAutoDefault(false);
    SetDlgCtrlID(m_historyButton, IDC_HISTORY_BUTTON);
    connect(m_historyButton, &QPushButton::toggled, this, &CDetailDlg::ShowHistory);
    m_history = new QTextBrowser(this);
    m_history->setAccessibleName(LangText(kHistory));
    // Nothing in it is followed or loaded: its links only choose a page for
    // the browser, which checks them as it checks every address.
    m_history->setOpenLinks(false);
    m_history->setOpenExternalLinks(false);
    m_history->setFrameShape(QFrame::NoFrame);
    m_history->document()->setDocumentMargin(12);
    QPalette paper = m_history->palette();
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, QColor(0x20, 0x20, 0x20));
    m_history->setPalette(paper);
    m_history->hide();
    SetDlgCtrlID(m_history, IDC_HISTORY);
    connect(m_history, &QTextBrowser::anchorClicked, this, &CDetailDlg::OnHistoryLink);
    qobject_cast<QLabel*>(GetDlgItem(this, IDC_ADDRESS_LABEL))->setBuddy(m_edit);
    const DialogUnits units(font());
    dialog->ApplyFrame(this, units);
    dialog->PlaceControls(this, units);
    // The window never gets smaller than its template.
    setMinimumSize(size());
}

void CDetailDlg::FillList(int number, const EntryMap& entries, const LinkMap& links,
                          const NewEntryTest& isNew) {
    QFont bold = m_list->font();
    bold.setBold(true);
    const auto found = entries.find(std::to_string(number));
    if (found == entries.end()) return;
    for (const EntryPiece& piece : SplitEntries(found->second)) {
        const auto link = links.find(piece.marker);
        if (link == links.end()) continue;
        const QString text = QString::fromStdString(piece.text);
        const QString url = QString::fromStdString(link->second);
        auto* row = new QTreeWidgetItem(m_list);
        // The stored text keeps its line feed; the row shows one line.
        row->setData(0, Qt::UserRole, text);
        row->setText(0, text.trimmed());
        row->setText(1, url);
        row->setToolTip(0, text.trimmed());
        row->setToolTip(1, url);
        if (isNew && isNew(link->second)) {
            row->setFont(0, bold);
            row->setFont(1, bold);
        }
    }
}

void CDetailDlg::Navigate(const QString& url) {
    m_address = url;
    m_edit->setText(url);
    m_edit->setCursorPosition(0);
    const QUrl target(url);
    if (!IsBrowsableUrl(target)) {
        ShowRefused(target);
        return;
    }
    m_browser->load(target);
}

void CDetailDlg::ShowReached(const QUrl& url) {
    if (url.isEmpty() || url.scheme() == QLatin1String("about")) return;
    m_address = url.toString();
    m_edit->setText(m_address);
    m_edit->setCursorPosition(0);
}

void CDetailDlg::ShowRefused(const QUrl& url) {
    m_edit->setText(LangText(kRefused) + url.toDisplayString());
    m_edit->setCursorPosition(0);
}

void CDetailDlg::OnDoubleClick() {
    const QModelIndex mark = m_list->currentIndex();
    if (!mark.isValid()) return;
    Navigate(m_list->topLevelItem(mark.row())->text(1));
}

void CDetailDlg::OnToggle() {
    // The caption shows what the next click does.
    m_toggle->setText(m_expanded ? kExpand : kCollapse);
    m_expanded = !m_expanded;
    LayOut(contentsRect().size());
}

void CDetailDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (isMinimized()) return;
    LayOut(contentsRect().size());
}

void CDetailDlg::LayOut(const QSize& client) {
    const int w = client.width();
    const int h = client.height();
    if (w <= 0 || h <= 0) return;
    const int l = !m_hasLinks ? 0 : m_expanded ? h / 2 : h / 5;
    m_list->setGeometry(0, 0, w, l);
    GetDlgItem(this, IDC_ADDRESS_LABEL)->setGeometry(5, l + 8, 50, 15);
    m_edit->setGeometry(60, l + 5, w - 120 - kHistoryButtonWidth - 5, 20);
    m_historyButton->setGeometry(w - 55 - kHistoryButtonWidth, l + 4, kHistoryButtonWidth, 22);
    m_toggle->setGeometry(w - 50, l + 5, 45, 20);
    m_browser->setGeometry(0, l + 30, w, h - l - 30);
    if (m_hasLinks || m_browsed)
        m_history->setGeometry(0, l + 30, w, h - l - 30);
    else
        m_history->setGeometry(0, 0, w, h);
    if (!m_columnsFitted && isMaximized()) {
        m_columnsFitted = true;
        m_list->setColumnWidth(0, w - w / 4 - 50);
        m_list->setColumnWidth(1, w / 4);
    } else if (m_lastClient.width() > 0 && m_lastClient.height() > 0) {
        m_list->setColumnWidth(0, m_list->columnWidth(0) + w - m_lastClient.width());
    }
    m_lastClient = client;
}

bool CDetailDlg::ShowsHistory() const {
    return m_history->isVisibleTo(this);
}

void CDetailDlg::ShowHistory(bool show) {
    m_historyButton->setChecked(show);
    m_history->setVisible(show);
    m_browser->setVisible(!show);
}

void CDetailDlg::OnHistoryLink(const QUrl& link) {
    bool ok = false;
    const size_t index = link.path().toULongLong(&ok);
    if (link.scheme() != QLatin1String("link") || !ok || index >= m_historyLinks.size()) return;
    if (!m_hasLinks && !m_browsed) {
        m_browsed = true;
        for (QWidget* part : {GetDlgItem(this, IDC_ADDRESS_LABEL), static_cast<QWidget*>(m_edit),
                              static_cast<QWidget*>(m_historyButton)})
            part->show();
        LayOut(contentsRect().size());
    }
    ShowHistory(false);
    Navigate(QString::fromStdString(m_historyLinks[index]));
}

void CDetailDlg::keyPressEvent(QKeyEvent* event) {
    // Enter anywhere (the address edit too) goes to the hidden OK button;
    // typing an address never navigates.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        m_ok->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void RunDetailDialog(QWidget* parent, int number, const EntryMap& entries, const LinkMap& links,
                     CDetailDlg::NewEntryTest isNew, DetailHistory history) {
    CDetailDlg dialog(number, entries, links, parent, std::move(isNew), std::move(history));
    // Modal before it shows: exec() cannot make an already visible window modal,
    // and the list must not change under the window.
    dialog.setWindowModality(Qt::ApplicationModal);
    // The screen's size first: a desktop without a window manager does not
    // maximize windows itself.
    if (const QScreen* screen = dialog.screen()) dialog.setGeometry(screen->availableGeometry());
    dialog.showMaximized();
    dialog.exec();
}

}  // namespace pagelark
