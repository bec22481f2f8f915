#pragma once

#include <QBasicTimer>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "app/detail/SafeWebPage.h"
#include "engine/collect/PageRenderer.h"
#include "engine/render/RenderSettle.h"

class QWebEngineProfile;

namespace pagelark {

// One browser page that renders items' pages, one at a time: it loads the
// address, lets the page's scripts run until it counts as loaded
// (RenderSettle: the load ended and the network stayed quiet), then reads
// its DOM as HTML. It opens http and https only (a page that moves on to
// another scheme fails the render), opens no windows, shows no dialogs and
// grants no permission; its profile downloads nothing. Lives on the thread
// that created it; its view (RenderPool) keeps it off the screen.
class RenderPage : public SafeWebPage {
    Q_OBJECT

  public:
    using Finished = std::function<void(RenderOutcome)>;

    RenderPage(QWebEngineProfile* profile, QObject* parent);
    ~RenderPage() override;

    // Loads `url`; `finished` is called once, later, on this thread, unless
    // Abort comes first. Not while Busy.
    void Begin(const QUrl& url, std::chrono::milliseconds deadline, Finished finished);
    // Forgets the render under way; the page stops loading.
    void Abort();
    bool Busy() const { return static_cast<bool>(m_finished); }
    // Renders begun on this page.
    int Loads() const { return m_loads; }
    // False once a render ended badly (failed, timed out, aborted, its
    // process ended): the page is not used again.
    bool Reusable() const { return m_reusable; }

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& value,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    void timerEvent(QTimerEvent* event) override;

  private:
    void RefuseEverything();
    // Asks the page for its open requests, and takes the DOM once it is loaded.
    void Look();
    void ReadDom();
    void Finish(RenderOutcome outcome);
    void Fail(RenderFailure::Kind kind, const char* detail = "");

    Finished m_finished;
    std::optional<RenderSettle> m_settle;
    QBasicTimer m_tick;
    int m_loads = 0;
    bool m_reusable = true;
    bool m_asking = false;   // a question to the page's scripts is on its way
    bool m_reading = false;  // the DOM is on its way
    int m_openRequests = 0;
    // The page's scripts answered since its load ended: until then their
    // requests count as open, however slowly the answer comes.
    bool m_heard = false;
    double m_networkEvents = 0;  // what the page's counter said last
    uint64_t m_render = 0;       // tells a late answer from an earlier render
    // When the page last sent a request (steady clock, ns): the interceptor
    // may be called on the engine's network thread.
    std::atomic<int64_t> m_lastRequest{0};
    // Answers from the page's scripts can come while the page is being
    // destroyed; they look here first.
    std::shared_ptr<char> m_alive = std::make_shared<char>();
};

}  // namespace pagelark
