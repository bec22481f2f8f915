#pragma once

#include <QUrl>
#include <QWebEnginePage>

#include <functional>

class QWebEngineProfile;

// The detail window's browser page. It opens only http and https addresses,
// whoever asks (the window, a link clicked in the page, a redirect, a script),
// keeps new windows in itself, hands nothing to the desktop and can read none
// of the program's files: its profile is off the record, refuses unknown
// schemes, and local content may reach neither files nor the network. The
// filter picker's page shows bytes the program downloaded itself, through a
// profile of the same kind (ContentProfile).
namespace pagelark {

// True for the schemes the browser may open.
bool IsBrowsableUrl(const QUrl& url);

class SafeWebPage : public QWebEnginePage {
    Q_OBJECT

  public:
    explicit SafeWebPage(QObject* parent = nullptr);
    // A page of `profile`, which is SafeProfile() or ContentProfile().
    SafeWebPage(QWebEngineProfile* profile, QObject* parent);

    // Called with each address that was refused.
    void SetRefusedHandler(std::function<void(const QUrl&)> handler) {
        m_refused = std::move(handler);
    }

    // A profile of its own, created once per program: off the record, with
    // every request to a scheme other than the browsable ones and data/blob
    // (inline images and the like) blocked.
    static QWebEngineProfile* SafeProfile();
    // SafeProfile's rules, except that a page may be a data: document: the
    // way setContent hands the engine bytes the program holds. Its pages
    // must admit such a navigation only when the program itself makes it.
    static QWebEngineProfile* ContentProfile();
    // Gives an off-the-record profile those refusals (the page renderer's
    // profile has them too).
    static void MakeSafe(QWebEngineProfile* profile);

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

  private:
    std::function<void(const QUrl&)> m_refused;
};

}  // namespace pagelark
