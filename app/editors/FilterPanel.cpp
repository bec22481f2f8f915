#include "app/editors/FilterPanel.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

#include "app/detail/SafeWebPage.h"
#include "app/editors/ItemEditorDlg.h"
#include "app/editors/OffThread.h"
#include "app/editors/PickTexts.h"
#include "app/language/LangString.h"
#include "controls/platform/DlgItem.h"
#include "engine/collect/ItemRecord.h"
#include "engine/page/Utf8.h"

namespace pagelark {
namespace {

constexpr int kFilterBlank = 132;
constexpr int kUrlBlank = 133;
const QColor kProblemColour(0xA0, 0x10, 0x10);

// What a test hands back: the page (nullptr when it could not be fetched)
// and what the Filter gives on it.
struct TestAnswer {
    std::shared_ptr<const PickedPage> page;
    FilterTry tried;
};

}  // namespace

FilterPanel::FilterPanel(QDialog* dialog)
    : QObject(dialog),
      m_dialog(dialog),
      m_filter(qobject_cast<QLineEdit*>(GetDlgItem(dialog, IDC_ITEM_FILTER))),
      m_url(qobject_cast<QLineEdit*>(GetDlgItem(dialog, IDC_ITEM_URL))),
      m_result(qobject_cast<QLabel*>(GetDlgItem(dialog, IDC_FILTER_RESULT))),
      m_jobs(new OffThread(this)),
      m_runPicker(RunFilterPicker) {
    // Page text: never read as markup.
    m_result->setTextFormat(Qt::PlainText);
    m_result->setWordWrap(true);
    m_result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (const int id : {IDC_PICK_ON_PAGE, IDC_TEST_FILTER}) {
        auto* button = qobject_cast<QPushButton*>(GetDlgItem(dialog, id));
        // Enter in a field stays the OK button's.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this,
                id == IDC_PICK_ON_PAGE ? &FilterPanel::Pick : &FilterPanel::Test);
    }
    connect(m_filter, &QLineEdit::textChanged, this, &FilterPanel::OnEdited);
    connect(m_url, &QLineEdit::textChanged, this, &FilterPanel::OnEdited);
    ShowNote(LangText(kPressTest));
}

QString FilterPanel::Shown() const {
    return m_result->text();
}

bool FilterPanel::Busy() const {
    return m_jobs->Busy();
}

std::optional<std::string> FilterPanel::FetchableUrl(bool forPicking) {
    const QString typed = m_url->text();
    if (typed.trimmed().isEmpty()) {
        ShowNote(LangText(kUrlBlank), true);
        return std::nullopt;
    }
    const QUrl url(typed.trimmed());
    if (url.host().isEmpty()) {
        ShowNote(LangText(kTypeUrlFirst), true);
        return std::nullopt;
    }
    if (forPicking && !IsBrowsableUrl(url)) {
        ShowNote(LangText(kNotBrowsable).arg(typed), true);
        return std::nullopt;
    }
    // As typed: the run downloads the URL the item keeps.
    return typed.toStdString();
}

void FilterPanel::Test() {
    const QString filter = m_filter->text();
    if (filter.trimmed().isEmpty()) {
        ShowNote(LangText(kFilterBlank), true);
        return;
    }
    const std::optional<std::string> url = FetchableUrl(false);
    if (!url) return;
    std::shared_ptr<const PickedPage> page = m_page && m_page->url == *url ? m_page : nullptr;
    if (!page) ShowNote(LangText(kFetching));
    const QString typedUrl = m_url->text();
    m_jobs->Start<TestAnswer>(
        [page, url = *url, text = filter.toStdString()](const OffThread::Cancelled& cancelled) {
            TestAnswer answer{page ? page : FetchPickedPage(url, cancelled), {}};
            if (answer.page) answer.tried = TryFilter(*answer.page, text);
            return answer;
        },
        [this, filter, typedUrl](TestAnswer answer) {
            if (!answer.page) {
                ShowNote(LangText(kNotFetched).arg(typedUrl), true);
                return;
            }
            m_page = std::move(answer.page);
            // Typed on meanwhile: the answer belongs to texts no longer there.
            if (m_filter->text() == filter && m_url->text() == typedUrl) {
                ShowTry(filter, answer.tried);
            } else {
                ShowNote(LangText(kPressTest));
            }
        });
}

void FilterPanel::Pick() {
    const std::optional<std::string> url = FetchableUrl(true);
    if (!url) return;
    m_jobs->Cancel();
    std::shared_ptr<const PickedPage> page = m_page && m_page->url == *url ? m_page : nullptr;
    PickOutcome outcome = m_runPicker(m_dialog, *url, std::move(page));
    if (outcome.page) m_page = std::move(outcome.page);
    if (!outcome.chosen) {
        if (m_triedFilter.isEmpty()) ShowNote(LangText(kPressTest));
        return;
    }
    const Extraction& extraction = outcome.chosen->extraction;
    const QString filter = QString::fromStdString(outcome.chosen->filter);
    m_filter->setText(filter);
    m_filter->setCursorPosition(0);
    ShowTry(filter, {CutUtf8(extraction.result, kResultBytes), extraction.preview});
}

void FilterPanel::ShowTry(const QString& filter, const FilterTry& tried) {
    QString text = LangText(kResultOnPage).arg(QString::fromStdString(tried.result));
    // The first entries, one a line, as the list's preview band shows them.
    const QFontMetrics metrics = m_result->fontMetrics();
    for (const QString& line : QString::fromStdString(tried.preview).split(u'\n')) {
        if (!line.trimmed().isEmpty())
            text += u'\n' + metrics.elidedText(line, Qt::ElideRight, m_result->width());
    }
    m_result->setPalette(m_dialog->palette());
    m_result->setText(text);
    m_triedFilter = filter;
    m_triedUrl = m_url->text();
}

void FilterPanel::ShowNote(const QString& text, bool problem) {
    QPalette colours = m_dialog->palette();
    colours.setColor(QPalette::WindowText,
                     problem ? kProblemColour : colours.color(QPalette::PlaceholderText));
    m_result->setPalette(colours);
    m_result->setText(text);
    m_triedFilter.clear();
    m_triedUrl.clear();
}

void FilterPanel::OnEdited() {
    if (m_filter->text() == m_triedFilter && m_url->text() == m_triedUrl) return;
    // Whatever showed belonged to other texts.
    if (!m_jobs->Busy()) ShowNote(LangText(kPressTest));
}

}  // namespace pagelark
