#include "app/render/RenderPool.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>

#include "app/detail/SafeWebPage.h"
#include "engine/render/RenderRules.h"

namespace pagelark {
namespace {

// The page's viewport: what a desktop browser shows, so pages lay out (and
// load lazily) as they do for a person.
constexpr QSize kViewport(1280, 1024);

}  // namespace

RenderPool::RenderPool(QObject* parent) : QObject(parent) {}

RenderPool::~RenderPool() {
    // Pages before their profile, or the engine complains and may crash.
    for (auto& slot : m_slots)
        delete slot->view.data();
    for (const QPointer<QWebEngineView>& view : m_dropped)
        delete view.data();
    delete m_profile;
}

QWebEngineProfile* RenderPool::Profile() {
    if (m_profile != nullptr) return m_profile;
    // Off the record (no storage name): nothing a page sets is kept on disk.
    m_profile = new QWebEngineProfile();
    SafeWebPage::MakeSafe(m_profile);
    QWebEngineSettings* settings = m_profile->settings();
    for (const auto attribute :
         {QWebEngineSettings::JavascriptCanOpenWindows, QWebEngineSettings::AutoLoadImages,
          QWebEngineSettings::AutoLoadIconsForPage, QWebEngineSettings::TouchIconsEnabled,
          QWebEngineSettings::PluginsEnabled, QWebEngineSettings::PdfViewerEnabled,
          QWebEngineSettings::WebGLEnabled, QWebEngineSettings::Accelerated2dCanvasEnabled,
          QWebEngineSettings::FocusOnNavigationEnabled, QWebEngineSettings::ErrorPageEnabled,
          QWebEngineSettings::AllowWindowActivationFromJavaScript,
          QWebEngineSettings::FullScreenSupportEnabled, QWebEngineSettings::ScreenCaptureEnabled,
          QWebEngineSettings::HyperlinkAuditingEnabled, QWebEngineSettings::JavascriptCanPaste,
          QWebEngineSettings::JavascriptCanAccessClipboard, QWebEngineSettings::ShowScrollBars})
        settings->setAttribute(attribute, false);
    // What would be saved is not a page: the render of it fails at once.
    connect(m_profile, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) { download->cancel(); });
    return m_profile;
}

void RenderPool::Render(uint64_t ticket, const QString& url, std::chrono::milliseconds deadline,
                        RenderPage::Finished finished) {
    m_releaseWhenIdle = false;
    m_waiting.push_back({ticket, url, deadline, std::move(finished)});
    StartWaiting();
}

void RenderPool::Cancel(uint64_t ticket) {
    std::erase_if(m_waiting, [&](const Job& job) { return job.ticket == ticket; });
    for (auto& slot : m_slots) {
        if (slot->ticket != ticket) continue;
        slot->page->Abort();
        slot->ticket = 0;
        Drop(slot.get());
        break;
    }
    StartWaiting();
    ReleaseIfIdle();
}

void RenderPool::Release() {
    m_releaseWhenIdle = true;
    ReleaseIfIdle();
}

void RenderPool::ReleaseIfIdle() {
    if (!m_releaseWhenIdle || !m_waiting.empty()) return;
    if (std::any_of(m_slots.begin(), m_slots.end(), [](const auto& slot) { return slot->ticket; }))
        return;
    while (!m_slots.empty())
        Drop(m_slots.back().get());
    m_releaseWhenIdle = false;
}

void RenderPool::StartWaiting() {
    while (!m_waiting.empty()) {
        Slot* free = nullptr;
        for (auto& slot : m_slots) {
            if (slot->ticket == 0) {
                free = slot.get();
                break;
            }
        }
        if (free == nullptr && m_slots.size() < static_cast<size_t>(kMaxRendersAtOnce)) {
            auto slot = std::make_unique<Slot>();
            slot->view = new QWebEngineView();
            slot->page = new RenderPage(Profile(), slot->view);
            slot->view->setPage(slot->page);
            slot->view->setAttribute(Qt::WA_DontShowOnScreen);
            slot->view->setAttribute(Qt::WA_ShowWithoutActivating);
            slot->view->setFocusPolicy(Qt::NoFocus);
            slot->view->resize(kViewport);
            slot->view->show();
            free = slot.get();
            m_slots.push_back(std::move(slot));
        }
        if (free == nullptr) return;
        Job job = std::move(m_waiting.front());
        m_waiting.pop_front();
        free->ticket = job.ticket;
        free->page->Begin(
            QUrl(job.url), job.deadline,
            [this, ticket = job.ticket, finished = std::move(job.finished)](RenderOutcome outcome) {
                if (!Ended(ticket)) return;  // cancelled meanwhile
                finished(std::move(outcome));
            });
    }
}

bool RenderPool::Ended(uint64_t ticket) {
    const auto slot = std::find_if(m_slots.begin(), m_slots.end(),
                                   [&](const auto& held) { return held->ticket == ticket; });
    if (slot == m_slots.end()) return false;
    (*slot)->ticket = 0;
    const RenderPage* page = (*slot)->page;
    if (!page->Reusable() || page->Loads() >= kLoadsPerRenderPage) Drop(slot->get());
    StartWaiting();
    ReleaseIfIdle();
    return true;
}

void RenderPool::Drop(Slot* slot) {
    // Later, from the event loop: the page may be inside one of its own calls.
    slot->view->hide();
    slot->view->deleteLater();
    m_dropped.push_back(slot->view);
    std::erase_if(m_dropped, [](const QPointer<QWebEngineView>& view) { return view.isNull(); });
    std::erase_if(m_slots, [&](const auto& held) { return held.get() == slot; });
}

}  // namespace pagelark
