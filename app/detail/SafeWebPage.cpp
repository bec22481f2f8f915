#include "app/detail/SafeWebPage.h"

#include <QCoreApplication>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

namespace pagelark {
namespace {

// Sub-requests of a page (frames, images, scripts): the browsable schemes and
// the page's own inline data; never file:, qrc: or anything else.
class SchemeInterceptor : public QWebEngineUrlRequestInterceptor {
  public:
    SchemeInterceptor(bool dataPages, QObject* parent)
        : QWebEngineUrlRequestInterceptor(parent), m_dataPages(dataPages) {}

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QUrl url = info.requestUrl();
        const QString scheme = url.scheme().toLower();
        if (IsBrowsableUrl(url)) return;
        if (scheme == QLatin1String("data") || scheme == QLatin1String("blob")) {
            // A page may use its own inline data, but never be one, unless
            // the profile shows the program's own bytes that way.
            if (m_dataPages ||
                info.resourceType() != QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
                return;
        }
        info.block(true);
    }

  private:
    const bool m_dataPages;
};

void Restrict(QWebEngineProfile* profile, bool dataPages) {
    profile->setUrlRequestInterceptor(new SchemeInterceptor(dataPages, profile));
    QWebEngineSettings* settings = profile->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    // A scheme that slips past the checks is dropped, never handed to the
    // desktop's opener.
    settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
}

QWebEngineProfile* MakeProfile(bool dataPages) {
    // No storage name: nothing the pages set is kept on disk.
    auto* created = new QWebEngineProfile(QCoreApplication::instance());
    Restrict(created, dataPages);
    created->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    return created;
}

}  // namespace

bool IsBrowsableUrl(const QUrl& url) {
    // Only what the engine loads itself: it has no FTP, and hands ftp: like
    // any scheme it does not know to the desktop.
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

QWebEngineProfile* SafeWebPage::SafeProfile() {
    static QWebEngineProfile* const profile = MakeProfile(false);
    return profile;
}

QWebEngineProfile* SafeWebPage::ContentProfile() {
    static QWebEngineProfile* const profile = MakeProfile(true);
    return profile;
}

void SafeWebPage::MakeSafe(QWebEngineProfile* profile) {
    Restrict(profile, false);
}

SafeWebPage::SafeWebPage(QObject* parent) : SafeWebPage(SafeProfile(), parent) {}

SafeWebPage::SafeWebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {}

bool SafeWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (IsBrowsableUrl(url)) return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    // about:blank of a new frame is the only other address a page may show.
    if (!isMainFrame && url.toString() == QLatin1String("about:blank")) return true;
    if (m_refused) m_refused(url);
    return false;
}

QWebEnginePage* SafeWebPage::createWindow(WebWindowType /*type*/) {
    // The new window's first navigation then goes through this page's checks.
    return this;
}

}  // namespace pagelark
