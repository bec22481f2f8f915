#include "app/render/RenderPage.h"

#include <QAuthenticator>
#include <QTimerEvent>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineProfile>
#include <QWebEngineQuotaRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineUrlRequestInterceptor>

#include "app/detail/SafeWebPage.h"
#include "engine/render/RenderRules.h"

namespace pagelark {
namespace {

constexpr int kTickMs = 100;

// Counts the requests the page's own scripts make (fetch, XMLHttpRequest)
// while they are open, and every start and end: the page counts as loaded
// only once none is open and none has moved for a quiet while. Put into the
// page's own world before its first script runs.
constexpr char kNetworkCounter[] = R"(
(function () {
  if (window.__pagelarkNetwork) return;
  var open = 0, events = 0;
  function started() { open++; events++; }
  function ender() {
    var ended = false;
    return function () { if (!ended) { ended = true; open--; events++; } };
  }
  var fetchBefore = window.fetch;
  if (typeof fetchBefore === 'function') {
    window.fetch = function () {
      started();
      var end = ender();
      try {
        var answer = fetchBefore.apply(this, arguments);
        Promise.resolve(answer).then(end, end);
        return answer;
      } catch (error) { end(); throw error; }
    };
  }
  if (window.XMLHttpRequest) {
    var sendBefore = XMLHttpRequest.prototype.send;
    XMLHttpRequest.prototype.send = function () {
      started();
      var end = ender();
      this.addEventListener('loadend', end);
      try { return sendBefore.apply(this, arguments); } catch (error) { end(); throw error; }
    };
  }
  Object.defineProperty(window, '__pagelarkNetwork',
                        { value: function () { return [open, events]; } });
})();
)";

constexpr char kAskNetwork[] =
    "typeof window.__pagelarkNetwork === 'function' ? window.__pagelarkNetwork() : [0, 0]";
constexpr char kReadDom[] = "document.documentElement ? document.documentElement.outerHTML : ''";

// Every request of the page, scripts' and the engine's own (images are not
// loaded, but scripts, styles and frames are), is network activity.
class ActivityInterceptor : public QWebEngineUrlRequestInterceptor {
  public:
    ActivityInterceptor(QObject* parent, std::function<void()> seen)
        : QWebEngineUrlRequestInterceptor(parent), m_seen(std::move(seen)) {}
    void interceptRequest(QWebEngineUrlRequestInfo&) override { m_seen(); }

  private:
    const std::function<void()> m_seen;
};

}  // namespace

RenderPage::RenderPage(QWebEngineProfile* profile, QObject* parent) : SafeWebPage(profile, parent) {
    QWebEngineScript counter;
    counter.setName(QStringLiteral("pagelark-network"));
    counter.setSourceCode(QString::fromLatin1(kNetworkCounter));
    counter.setInjectionPoint(QWebEngineScript::DocumentCreation);
    counter.setWorldId(QWebEngineScript::MainWorld);
    counter.setRunsOnSubFrames(false);
    scripts().insert(counter);
    setUrlRequestInterceptor(new ActivityInterceptor(this, [this] {
        m_lastRequest.store(RenderSettle::Clock::now().time_since_epoch().count());
    }));
    connect(this, &QWebEnginePage::loadStarted, this, [this] {
        m_heard = false;
        if (m_settle) m_settle->LoadStarted(RenderSettle::Clock::now());
    });
    connect(this, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (m_settle) m_settle->LoadFinished(RenderSettle::Clock::now(), ok);
    });
    connect(this, &QWebEnginePage::renderProcessTerminated, this, [this] {
        m_reusable = false;
        if (Busy())
            Fail(RenderFailure::Kind::Other, "the browser engine stopped rendering the page");
    });
    RefuseEverything();
}

RenderPage::~RenderPage() {
    m_alive.reset();
}

void RenderPage::RefuseEverything() {
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::quotaRequested, this,
            [](QWebEngineQuotaRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::selectClientCertificate, this,
            [](QWebEngineClientCertificateSelection selection) { selection.selectNone(); });
    connect(this, &QWebEnginePage::certificateError, this,
            [](QWebEngineCertificateError error) { error.rejectCertificate(); });
    // An empty answer cancels the request: nobody is there to type a password.
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [](const QUrl&, QAuthenticator* authenticator) { *authenticator = QAuthenticator(); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [](const QUrl&, QAuthenticator* authenticator, const QString&) {
                *authenticator = QAuthenticator();
            });
}

void RenderPage::Begin(const QUrl& url, std::chrono::milliseconds deadline, Finished finished) {
    m_finished = std::move(finished);
    ++m_loads;
    ++m_render;
    m_asking = m_reading = false;
    m_openRequests = 0;
    m_heard = false;
    m_settle.emplace(RenderSettle::Clock::now(), deadline);
    m_tick.start(kTickMs, this);
    if (!IsBrowsableUrl(url)) {
        Fail(RenderFailure::Kind::RefusedScheme);
        return;
    }
    load(url);
}

void RenderPage::Abort() {
    m_finished = nullptr;
    m_settle.reset();
    m_tick.stop();
    m_reusable = false;
    triggerAction(QWebEnginePage::Stop);
}

void RenderPage::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_tick.timerId()) {
        QWebEnginePage::timerEvent(event);
        return;
    }
    Look();
}

void RenderPage::Look() {
    if (!Busy() || !m_settle) return;
    const auto now = RenderSettle::Clock::now();
    m_settle->Activity(
        RenderSettle::Clock::time_point(RenderSettle::Clock::duration(m_lastRequest.load())));
    const RenderSettle::Verdict verdict =
        m_settle->Look(now, isLoading(), m_heard ? m_openRequests : 1);
    if (verdict == RenderSettle::Verdict::TimedOut) {
        Fail(RenderFailure::Kind::Timeout);
        return;
    }
    if (m_reading) return;
    if (verdict == RenderSettle::Verdict::Failed) {
        Fail(RenderFailure::Kind::Other, "the page could not be loaded");
        return;
    }
    if (verdict == RenderSettle::Verdict::Ready) {
        ReadDom();
        return;
    }
    // Not while a load is under way: a script run then stops the load.
    if (m_asking || !m_settle->LoadEnded() || isLoading()) return;
    m_asking = true;
    const uint64_t render = m_render;
    runJavaScript(QString::fromLatin1(kAskNetwork), QWebEngineScript::MainWorld,
                  [this, render, alive = std::weak_ptr<char>(m_alive)](const QVariant& answer) {
                      if (alive.expired() || render != m_render || !m_settle) return;
                      m_asking = false;
                      m_heard = true;
                      // An answer the page spoiled counts as none open: the
                      // render then ends at the quiet time, not the deadline.
                      const QVariantList counts = answer.toList();
                      m_openRequests = counts.size() == 2 ? counts[0].toInt() : 0;
                      if (counts.size() != 2) return;
                      const double events = counts[1].toDouble();
                      if (events != m_networkEvents) {
                          m_networkEvents = events;
                          m_settle->Activity(RenderSettle::Clock::now());
                      }
                  });
}

void RenderPage::ReadDom() {
    m_reading = true;
    const uint64_t render = m_render;
    // In a world of its own, so the page's scripts cannot change what is read.
    runJavaScript(QString::fromLatin1(kReadDom), QWebEngineScript::ApplicationWorld,
                  [this, render, alive = std::weak_ptr<char>(m_alive)](const QVariant& dom) {
                      if (alive.expired() || render != m_render || !Busy()) return;
                      RenderOutcome outcome;
                      outcome.ok = true;
                      outcome.html = dom.toString().toStdString();
                      KeepRenderedBytes(outcome.html);
                      Finish(std::move(outcome));
                  });
}

void RenderPage::Fail(RenderFailure::Kind kind, const char* detail) {
    m_reusable = false;
    triggerAction(QWebEnginePage::Stop);
    RenderOutcome outcome;
    outcome.failure = {kind, detail};
    Finish(std::move(outcome));
}

void RenderPage::Finish(RenderOutcome outcome) {
    Finished finished = std::move(m_finished);
    m_finished = nullptr;
    m_settle.reset();
    m_tick.stop();
    if (!finished) return;
    // Told from the event loop, never from inside a call of the engine's.
    QMetaObject::invokeMethod(
        this,
        [finished = std::move(finished), outcome = std::move(outcome)]() mutable {
            finished(std::move(outcome));
        },
        Qt::QueuedConnection);
}

bool RenderPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    const bool accepted = SafeWebPage::acceptNavigationRequest(url, type, isMainFrame);
    // The page led somewhere that is not rendered: nothing to read there.
    if (!accepted && isMainFrame && Busy()) Fail(RenderFailure::Kind::RefusedScheme);
    return accepted;
}

QWebEnginePage* RenderPage::createWindow(WebWindowType) {
    return nullptr;
}

void RenderPage::javaScriptAlert(const QUrl&, const QString&) {}

bool RenderPage::javaScriptConfirm(const QUrl&, const QString&) {
    return false;
}

bool RenderPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
    return false;
}

void RenderPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                          const QString&) {}

QStringList RenderPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
    return {};
}

}  // namespace pagelark
