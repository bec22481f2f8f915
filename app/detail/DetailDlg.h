#pragma once

#include <QDialog>
#include <QSize>

#include <functional>
#include <string>
#include <vector>

#include "app/detail/HistoryHtml.h"
#include "engine/collect/LinkTable.h"
#include "engine/collect/ResultMaps.h"

class QLineEdit;
class QPushButton;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QWebEngineView;

// The detail window (template 105): the links one item gathered, as a list of
// numbered texts and URLs above a browser that shows the chosen one. It opens
// maximized on the first link; a double click opens another. Its History
// button shows, in the browser's place, why the item has no good Result and
// its good Results with what changed between them; the window opens on that
// view when the item gathered no links or has no good Result now.
namespace pagelark {

class SafeWebPage;

class CDetailDlg : public QDialog {
    Q_OBJECT

  public:
    enum ControlId {
        IDC_OK = 1,
        IDC_TOGGLE = 1000,
        IDC_ADDRESS = 1001,
        IDC_ENTRIES = 1020,
        IDC_ADDRESS_LABEL = 1027,
        IDC_BROWSER = 1042,
        IDC_HISTORY_BUTTON = 1043,
        IDC_HISTORY = 1044,
    };

    // Whether a link was not among the item's entries in the run before; such
    // rows are drawn bold.
    using NewEntryTest = std::function<bool(const std::string& url)>;

    // number: the item's number, its key in the entries; the rows are filled
    // from entries and links at once.
    CDetailDlg(int number, const EntryMap& entries, const LinkMap& links, QWidget* parent = nullptr,
               NewEntryTest isNew = {}, DetailHistory history = {});

    QTreeWidget* List() const { return m_list; }
    QLineEdit* AddressEdit() const { return m_edit; }
    QPushButton* ToggleButton() const { return m_toggle; }
    QWebEngineView* Browser() const { return m_browser; }
    QPushButton* HistoryButton() const { return m_historyButton; }
    QTextBrowser* History() const { return m_history; }
    // The History view is up in the browser's place.
    bool ShowsHistory() const;
    void ShowHistory(bool show);
    bool IsExpanded() const { return m_expanded; }
    // The URL last sent to the browser, or the one it reached since.
    const QString& Address() const { return m_address; }

    // Shows the address in the edit and opens it when its scheme may be
    // browsed; any other address is refused and the edit says so.
    void Navigate(const QString& url);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateControls();
    void FillList(int number, const EntryMap& entries, const LinkMap& links,
                  const NewEntryTest& isNew);
    void OnToggle();
    void OnDoubleClick();
    void ShowReached(const QUrl& url);
    void ShowRefused(const QUrl& url);
    void LayOut(const QSize& client);
    void OnHistoryLink(const QUrl& link);

    QTreeWidget* m_list = nullptr;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_toggle = nullptr;
    QPushButton* m_ok = nullptr;
    QWebEngineView* m_browser = nullptr;
    QPushButton* m_historyButton = nullptr;
    QTextBrowser* m_history = nullptr;
    std::vector<std::string> m_historyLinks;
    SafeWebPage* m_page = nullptr;
    QString m_address;
    bool m_hasLinks = false;  // without links the History takes the whole window
    // Without links, once a link of the History was opened: the address row
    // shows, with the button back to the History.
    bool m_browsed = false;
    bool m_expanded = false;
    bool m_columnsFitted = false;
    QSize m_lastClient{-1, -1};
};

// Runs the detail window modally for the item's entries.
void RunDetailDialog(QWidget* parent, int number, const EntryMap& entries, const LinkMap& links,
                     CDetailDlg::NewEntryTest isNew = {}, DetailHistory history = {});

}  // namespace pagelark
