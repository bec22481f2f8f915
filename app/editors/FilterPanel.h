#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>

#include "app/editors/FilterPickerDlg.h"
#include "app/editors/PickedPage.h"

class QDialog;
class QLabel;
class QLineEdit;

// The filter builder's part of the item editors: "Pick on page..." opens the
// item's page in the filter picker and puts the Filter it proposes into the
// Filter field; "Test" shows what the Filter as typed gives on the page, as
// the list's row would. What shows under the Filter always belongs to the
// Filter and URL now typed: an edit of either puts the hint back. The page
// is downloaded once per URL while the dialog is open, off the window thread.
namespace pagelark {

class OffThread;

// Control ids of the editor's filter builder.
inline constexpr int IDC_PICK_ON_PAGE = 1050;
inline constexpr int IDC_TEST_FILTER = 1051;
inline constexpr int IDC_FILTER_RESULT = 1052;

class FilterPanel : public QObject {
  public:
    // Takes the dialog's Filter and URL edits, its two buttons and its
    // result label, found by their ids.
    explicit FilterPanel(QDialog* dialog);

    using PickerRunner = std::function<PickOutcome(QWidget* parent, const std::string& url,
                                                   std::shared_ptr<const PickedPage> page)>;
    // Replaces the picker window (tests); RunFilterPicker by default.
    void SetPickerRunner(PickerRunner runner) { m_runPicker = std::move(runner); }

    void Pick();
    void Test();

    // What shows under the Filter.
    QString Shown() const;
    // A download or a test is on its way.
    bool Busy() const;
    // The page the dialog holds, if any.
    const std::shared_ptr<const PickedPage>& Page() const { return m_page; }

  private:
    // The URL as typed, or nothing after telling why it cannot be fetched.
    std::optional<std::string> FetchableUrl(bool forPicking);
    void ShowTry(const QString& filter, const FilterTry& tried);
    void ShowNote(const QString& text, bool problem = false);
    void OnEdited();

    QDialog* m_dialog;
    QLineEdit* m_filter;
    QLineEdit* m_url;
    QLabel* m_result;
    OffThread* m_jobs;
    PickerRunner m_runPicker;
    std::shared_ptr<const PickedPage> m_page;
    // The Filter and URL the Result shown belongs to; empty while none shows.
    QString m_triedFilter;
    QString m_triedUrl;
};

}  // namespace pagelark
