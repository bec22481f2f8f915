#include "app/editors/PickerPage.h"

#include <QPointer>
#include <QVariantMap>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace pagelark {
namespace {

// Links and images would start a drag instead of a selection, and a page's
// own user-select rule could forbid selecting. A style element adds no text
// to what the browser shows.
const char kSelectableStyle[] = R"JS(
(function () {
  var style = document.createElement('style');
  style.textContent = 'a, img { -webkit-user-drag: none !important; }' +
      ' * { -webkit-user-select: text !important; user-select: text !important; }';
  (document.head || document.documentElement).appendChild(style);
})();
)JS";

// The selection's words, the links it touches and, when asked, the text the
// browser shows before it: body.innerText up to a mark put at its start and
// taken out again (the selection is put back as it was). Always an object,
// so that an answer without a value means the page went away.
const char kReadSelection[] = R"JS(
(function (withBefore) {
  var none = { words: '', links: 0 };
  try {
    var selection = window.getSelection();
    if (!selection || selection.rangeCount === 0 || selection.isCollapsed) return none;
    var range = selection.getRangeAt(0);
    var links = 0;
    var anchors = document.querySelectorAll('a[href]');
    for (var i = 0; i < anchors.length; ++i)
      if (range.intersectsNode(anchors[i])) ++links;
    var out = { words: selection.toString(), links: links };
    if (withBefore && document.body) {
      var token = '\u2063\u2063pagelark-mark\u2063\u2063';
      var mark = document.createTextNode(token);
      var at = range.cloneRange();
      at.collapse(true);
      at.insertNode(mark);
      var shown = document.body.innerText;
      var parent = mark.parentNode;
      parent.removeChild(mark);
      parent.normalize();
      selection.removeAllRanges();
      selection.addRange(range);
      var cut = shown.indexOf(token);
      if (cut >= 0) out.before = shown.substring(0, cut);
    }
    return out;
  } catch (error) {
    return none;
  }
})(%1)
)JS";

}  // namespace

PickerPage::PickerPage(QObject* parent) : SafeWebPage(ContentProfile(), parent) {
    settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    QWebEngineScript style;
    style.setName(QStringLiteral("pagelark-selectable"));
    style.setSourceCode(QString::fromUtf8(kSelectableStyle));
    style.setInjectionPoint(QWebEngineScript::DocumentReady);
    style.setWorldId(QWebEngineScript::ApplicationWorld);
    style.setRunsOnSubFrames(false);
    scripts().insert(style);
}

void PickerPage::ShowBytes(const std::string& bytes, const QUrl& url) {
    m_showing = true;
    setContent(QByteArray::fromStdString(bytes), QStringLiteral("text/html;charset=utf-8"), url);
}

bool PickerPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (!isMainFrame) return SafeWebPage::acceptNavigationRequest(url, type, isMainFrame);
    // setContent arrives as one data: document the program typed itself.
    if (m_showing && type == NavigationTypeTyped && url.scheme() == QLatin1String("data")) {
        m_showing = false;
        return true;
    }
    return false;
}

void PickerPage::ReadSelection(bool withBefore,
                               std::function<void(std::optional<PageSelection>)> done) {
    const QString script = QString::fromUtf8(kReadSelection)
                               .arg(withBefore ? QLatin1String("true") : QLatin1String("false"));
    // A page that goes calls its pending callbacks with nothing: they must
    // not reach a window that is being taken down.
    runJavaScript(
        script, QWebEngineScript::ApplicationWorld,
        [page = QPointer<PickerPage>(this), done = std::move(done)](const QVariant& value) {
            if (page.isNull() || !value.isValid()) return;
            const QVariantMap map = value.toMap();
            if (map.value(QStringLiteral("words")).toString().trimmed().isEmpty()) {
                done(std::nullopt);
                return;
            }
            PageSelection selection;
            selection.words = map.value(QStringLiteral("words")).toString();
            selection.links = map.value(QStringLiteral("links")).toInt();
            if (map.contains(QStringLiteral("before")))
                selection.shownBefore = map.value(QStringLiteral("before")).toString();
            done(std::move(selection));
        });
}

}  // namespace pagelark
