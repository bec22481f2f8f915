#include "app/editors/FilterPickerDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWebEngineView>
#include <algorithm>

#include "app/editors/PickTexts.h"
#include "app/editors/PickedPage.h"
#include "app/language/DialogTemplates.h"
#include "app/language/InterfaceFont.h"
#include "app/language/LangString.h"
#include "app/language/UiLanguage.h"
#include "controls/platform/DialogUnits.h"
#include "controls/platform/DlgItem.h"

namespace pagelark {
namespace {

// A problem is told in a colour of its own, so that it is not read as the
// selection's state.
const QColor kProblemColour(0xA0, 0x10, 0x10);

// The item's URL as the browser takes it; blanks typed around it are the
// item's (the run fetches them so) but no part of the address.
QUrl ShownUrl(const std::string& url) { return QUrl(QString::fromStdString(url).trimmed()); }

}  // namespace

FilterPickerDlg::FilterPickerDlg(const std::string& url, std::shared_ptr<const PickedPage> page,
                                 QWidget* parent)
    : QDialog(parent) {
    setFont(InterfaceFont(UiLanguage));
    setWindowTitle(LangText(kPickerTitle));
    m_jobs = new OffThread(this);
    CreateControls();
    if (page && page->url == url) {
        ShowPage(std::move(page));
    } else if (!IsBrowsableUrl(ShownUrl(url))) {
        SetStatus(LangText(kNotBrowsable).arg(QString::fromStdString(url)), true);
    } else {
        Fetch(url);
    }
}

FilterPickerDlg::~FilterPickerDlg() {
    // The page's pending answers come back while it goes, and a job's while
    // it is told to stop: neither may reach a window half taken down.
    m_closing = true;
    delete m_jobs;
    delete m_browser;
}

void FilterPickerDlg::CreateControls() {
    const DialogTemplate* dialog = FindDialogTemplate(IDD_PICK_FILTER);
    for (const DialogControl& control : dialog->controls) {
        QWidget* widget = nullptr;
        switch (control.id) {
            case IDC_HINT: {
                auto* hint = new QLabel(LangText(control.textId), this);
                hint->setTextFormat(Qt::PlainText);
                // Two lines where the window is narrow, one line centred otherwise.
                hint->setWordWrap(true);
                hint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                widget = hint;
                break;
            }
            case IDC_BROWSER:
                m_browser = new QWebEngineView(this);
                m_webPage = new PickerPage(m_browser);
                m_browser->setPage(m_webPage);
                connect(m_webPage, &QWebEnginePage::selectionChanged, this,
                        &FilterPickerDlg::OnSelectionChanged);
                widget = m_browser;
                break;
            case IDC_STATUS:
                m_status = new QLabel(this);
                // Page text: never read as markup.
                m_status->setTextFormat(Qt::PlainText);
                m_status->setWordWrap(true);
                m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                widget = m_status;
                break;
            case IDC_LINKS:
                m_links = new QCheckBox(LangText(control.textId), this);
                m_links->setEnabled(false);
                widget = m_links;
                break;
            case IDC_USE:
                m_use = new QPushButton(LangText(control.textId), this);
                m_use->setDefault(true);
                m_use->setEnabled(false);
                connect(m_use, &QPushButton::clicked, this, &FilterPickerDlg::OnUse);
                widget = m_use;
                break;
            case IDC_CANCEL: {
                auto* cancel = new QPushButton(LangText(control.textId), this);
                connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
                widget = cancel;
                break;
            }
            default:
                break;
        }
        if (widget != nullptr) SetDlgCtrlID(widget, control.id);
    }
    const DialogUnits units(font());
    dialog->ApplyFrame(this, units);
    dialog->PlaceControls(this, units);
    m_designed = size();
    for (const DialogControl& control : dialog->controls)
        m_placed[control.id] = GetDlgItem(this, control.id)->geometry();
    setMinimumSize(m_designed * 3 / 5);
}

void FilterPickerDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_placed.empty() || isMinimized()) return;
    // The page takes what the window gains; the lines under it keep to the
    // bottom edge and the buttons to the corner.
    const int dx = width() - m_designed.width();
    const int dy = height() - m_designed.height();
    for (const auto& [id, placed] : m_placed) {
        QRect rect = placed;
        switch (id) {
            case IDC_HINT:
                rect.setWidth(placed.width() + dx);
                break;
            case IDC_BROWSER:
                rect.setSize(placed.size() + QSize(dx, dy));
                break;
            case IDC_STATUS:
                rect.translate(0, dy);
                rect.setWidth(placed.width() + dx);
                break;
            case IDC_LINKS:
                rect.translate(0, dy);
                break;
            default:
                rect.translate(dx, dy);
                break;
        }
        GetDlgItem(this, id)->setGeometry(rect);
    }
}

void FilterPickerDlg::SetStatus(const QString& text, bool problem) {
    QPalette colours = palette();
    if (problem) colours.setColor(QPalette::WindowText, kProblemColour);
    m_status->setPalette(colours);
    m_status->setText(text);
}

void FilterPickerDlg::Fetch(const std::string& url) {
    SetStatus(LangText(kFetching));
    m_jobs->Start<std::shared_ptr<const PickedPage>>(
        [url](const OffThread::Cancelled& cancelled) { return FetchPickedPage(url, cancelled); },
        [this, url](std::shared_ptr<const PickedPage> page) {
            if (!page) {
                SetStatus(LangText(kNotFetched).arg(QString::fromStdString(url)), true);
                return;
            }
            ShowPage(std::move(page));
        });
}

void FilterPickerDlg::ShowPage(std::shared_ptr<const PickedPage> page) {
    m_page = std::move(page);
    connect(m_webPage, &QWebEnginePage::loadFinished, this, [this] {
        if (m_ready) return;
        m_ready = true;
        m_use->setEnabled(true);
        SetStatus(LangText(kNothingSelected));
    });
    m_webPage->ShowBytes(m_page->bytes, ShownUrl(m_page->url));
}

void FilterPickerDlg::OnSelectionChanged() {
    if (!m_ready || m_proposing) return;
    m_webPage->ReadSelection(false, [this](std::optional<PageSelection> selection) {
        if (m_closing || m_proposing) return;
        m_links->setEnabled(selection && selection->links > 0);
        // Two links or more are most likely a list to gather.
        m_links->setChecked(selection && selection->links >= 2);
        if (!selection) {
            SetStatus(LangText(kNothingSelected));
            return;
        }
        QString text = LangText(kSelected);
        QString links;
        if (selection->links > 0)
            links = QLatin1Char(' ') + LangText(kSelectedLinks).arg(selection->links);
        const int room = m_status->width() -
                         m_status->fontMetrics().horizontalAdvance(text.arg(QString()) + links);
        const QString words = m_status->fontMetrics().elidedText(
            selection->words.simplified(), Qt::ElideMiddle, std::max(room, 40));
        SetStatus(text.arg(words) + links);
    });
}

void FilterPickerDlg::OnUse() {
    if (!m_ready || m_proposing) return;
    m_proposing = true;
    m_use->setEnabled(false);
    SetStatus(LangText(kProposing));
    m_webPage->ReadSelection(true, [this](std::optional<PageSelection> selection) {
        if (m_closing) return;
        if (!selection) {
            m_proposing = false;
            m_use->setEnabled(true);
            SetStatus(LangText(kNothingSelected), true);
            return;
        }
        Propose(*selection);
    });
}

void FilterPickerDlg::Propose(const PageSelection& picked) {
    const std::string words = picked.words.toStdString();
    const std::optional<std::string> before =
        picked.shownBefore ? std::optional(picked.shownBefore->toStdString()) : std::nullopt;
    const bool links = m_links->isEnabled() && m_links->isChecked();
    m_jobs->Start<Suggestion>(
        [page = m_page, words, before, links](const OffThread::Cancelled&) {
            Selection selection;
            selection.words = words;
            if (before) selection.shownBefore = *before;
            selection.links = links;
            return SuggestFilters(page->page, selection);
        },
        [this](Suggestion suggestion) { OnProposed(suggestion); });
}

void FilterPickerDlg::OnProposed(const Suggestion& suggestion) {
    m_proposing = false;
    if (!suggestion.candidates.empty()) {
        m_chosen = suggestion.candidates.front();
        accept();
        return;
    }
    m_use->setEnabled(true);
    SetStatus(PickProblemMessage(suggestion.problem, suggestion.count), true);
}

PickOutcome RunFilterPicker(QWidget* parent, const std::string& url,
                            std::shared_ptr<const PickedPage> page) {
    FilterPickerDlg dialog(url, std::move(page), parent);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (const QScreen* screen = dialog.screen()) {
        // Over the middle of the window it was opened from, on the screen;
        // a smaller screen gets the window at its size.
        const QRect room = screen->availableGeometry();
        dialog.resize(dialog.size().boundedTo(room.size()));
        QRect placed(QPoint(), dialog.size());
        placed.moveCenter(parent != nullptr ? parent->window()->geometry().center()
                                            : room.center());
        placed.moveLeft(std::clamp(placed.left(), room.left(), room.right() - placed.width()));
        placed.moveTop(std::clamp(placed.top(), room.top(), room.bottom() - placed.height()));
        dialog.move(placed.topLeft());
    }
    const bool chosen = dialog.exec() == QDialog::Accepted;
    return {chosen ? dialog.Chosen() : std::nullopt, dialog.Page()};
}

}  // namespace pagelark
