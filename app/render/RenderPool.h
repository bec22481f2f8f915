#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "app/render/RenderPage.h"

class QWebEngineProfile;
class QWebEngineView;

namespace pagelark {

// The browser pages that render items' pages, on the thread that owns the
// pool (the window's, or the helper process's main thread). At most
// kMaxRendersAtOnce pages exist; a page is used again for the next render
// and made anew after kLoadsPerRenderPage loads or a render that went
// wrong. Release lets the pages go once none renders, so their processes end
// and their memory returns. The browser engine (its profile) starts with the
// first render: a pool that never renders never starts it.
//
// Each page sits in a view that is shown but never on the screen: a page
// without one is treated as hidden, its timers slowed and its animation
// frames never run, so pages that draw with them would not render.
class RenderPool : public QObject {
    Q_OBJECT

  public:
    explicit RenderPool(QObject* parent = nullptr);
    ~RenderPool() override;

    // Renders `url`; `finished` is called once on this thread, unless the
    // ticket is cancelled first. Renders beyond the pages wait their turn.
    void Render(uint64_t ticket, const QString& url, std::chrono::milliseconds deadline,
                RenderPage::Finished finished);
    void Cancel(uint64_t ticket);
    // The pages go once no render is open (now, or when the last one ends).
    void Release();

    bool EngineStarted() const { return m_profile != nullptr; }
    int PageCount() const { return static_cast<int>(m_slots.size()); }

  private:
    struct Job {
        uint64_t ticket = 0;
        QString url;
        std::chrono::milliseconds deadline{0};
        RenderPage::Finished finished;
    };
    struct Slot {
        QPointer<QWebEngineView> view;
        RenderPage* page = nullptr;  // a child of the view
        uint64_t ticket = 0;         // 0 while idle
    };

    QWebEngineProfile* Profile();
    // Starts waiting jobs on idle pages, making pages where there is room.
    void StartWaiting();
    // The render of `ticket` ended: its page is free again (or goes). False
    // when no page renders it (it was cancelled).
    bool Ended(uint64_t ticket);
    // The slot's view (and page) go, later, from the event loop.
    void Drop(Slot* slot);
    void ReleaseIfIdle();

    QWebEngineProfile* m_profile = nullptr;
    std::vector<std::unique_ptr<Slot>> m_slots;
    std::deque<Job> m_waiting;
    std::vector<QPointer<QWebEngineView>> m_dropped;  // deleted later, before the profile
    bool m_releaseWhenIdle = false;
};

}  // namespace pagelark
