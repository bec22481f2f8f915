#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>
#include <string>

#include "app/detail/SafeWebPage.h"

// The filter picker's page: it shows bytes the program downloaded as the page
// at their URL (so the picture and the engine read the same bytes), runs none
// of the page's scripts (what a script writes the engine never reads) and
// follows no link: the page shown stays the page picked on. Images and style
// sheets still come over http and https, under the detail browser's rules.
// Links can be dragged over to select them, and the page cannot forbid
// selecting its text.
namespace pagelark {

struct PageSelection {
    QString words;  // as the browser reports the selection
    int links = 0;  // links the selection touches
    // The text the browser shows before the selection, when asked for.
    std::optional<QString> shownBefore;
};

class PickerPage : public SafeWebPage {
    Q_OBJECT

  public:
    explicit PickerPage(QObject* parent = nullptr);

    // Shows `bytes` (UTF-8 HTML) as the page at `url`.
    void ShowBytes(const std::string& bytes, const QUrl& url);

    // Reads the selection and calls done with it, nothing when there is none.
    // withBefore also reads the text shown before it. Asynchronous: done
    // runs later on this thread, and not at all once the page is gone.
    void ReadSelection(bool withBefore, std::function<void(std::optional<PageSelection>)> done);

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

  private:
    bool m_showing = false;  // the program's own content is on its way in
};

}  // namespace pagelark
