#pragma once

#include <QDialog>
#include <QRect>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/editors/OffThread.h"
#include "app/editors/PickerPage.h"
#include "engine/suggest/SuggestFilters.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QWebEngineView;

// The filter picker (template 106): the item's page, downloaded once off the
// window thread and shown from those bytes; the user selects words (or drags
// over a list of links) and presses "Use selection"; the engine proposes
// Filters for the selection off the window thread, and the best one closes
// the window. When none fits, the reason shows and the user may select again.
namespace pagelark {

struct PickedPage;

class FilterPickerDlg : public QDialog {
    Q_OBJECT

  public:
    enum ControlId {
        IDC_USE = 1,
        IDC_CANCEL = 2,
        IDC_HINT = 1060,
        IDC_BROWSER = 1061,
        IDC_STATUS = 1062,
        IDC_LINKS = 1063,
    };

    // Shows `page` when given (a page of `url` the editor holds already),
    // else downloads `url` first.
    FilterPickerDlg(const std::string& url, std::shared_ptr<const PickedPage> page,
                    QWidget* parent = nullptr);
    ~FilterPickerDlg() override;

    // After the dialog was accepted: the best Filter for the selection.
    const std::optional<FilterCandidate>& Chosen() const { return m_chosen; }
    // The page shown, once it is there.
    const std::shared_ptr<const PickedPage>& Page() const { return m_page; }

    QWebEngineView* Browser() const { return m_browser; }
    PickerPage* WebPage() const { return m_webPage; }
    QLabel* Status() const { return m_status; }
    QCheckBox* LinksBox() const { return m_links; }
    QPushButton* UseButton() const { return m_use; }
    // The page has been shown and can be picked on.
    bool IsReady() const { return m_ready; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CreateControls();
    void Fetch(const std::string& url);
    void ShowPage(std::shared_ptr<const PickedPage> page);
    void OnSelectionChanged();
    void OnUse();
    void Propose(const PageSelection& selection);
    void OnProposed(const Suggestion& suggestion);
    void SetStatus(const QString& text, bool problem = false);

    QWebEngineView* m_browser = nullptr;
    PickerPage* m_webPage = nullptr;
    QLabel* m_status = nullptr;
    QCheckBox* m_links = nullptr;
    QPushButton* m_use = nullptr;
    OffThread* m_jobs = nullptr;
    std::shared_ptr<const PickedPage> m_page;
    std::optional<FilterCandidate> m_chosen;
    bool m_ready = false;
    bool m_proposing = false;
    bool m_closing = false;
    // Where the template puts each control, in pixels, and the client size
    // it was made for: a resize moves and stretches from there.
    std::map<int, QRect> m_placed;
    QSize m_designed;
};

// The picker's answer: the Filter chosen, if any, and the page it was shown
// (kept by the editor for Test, also when the picker was cancelled).
struct PickOutcome {
    std::optional<FilterCandidate> chosen;
    std::shared_ptr<const PickedPage> page;
};

// Runs the picker modally over `parent`.
PickOutcome RunFilterPicker(QWidget* parent, const std::string& url,
                            std::shared_ptr<const PickedPage> page);

}  // namespace pagelark
