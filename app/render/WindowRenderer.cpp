#include "app/render/WindowRenderer.h"

namespace pagelark {

// Each call is queued to the pool: a pool that is gone by then drops it.

void WindowRenderer::Render(uint64_t ticket, const std::string& url, int64_t deadlineMs,
                            Done done) {
    QMetaObject::invokeMethod(
        m_pool,
        [pool = m_pool, ticket, url = QString::fromStdString(url), deadlineMs,
         done = std::move(done)] {
            pool->Render(ticket, url, std::chrono::milliseconds(deadlineMs), done);
        },
        Qt::QueuedConnection);
}

void WindowRenderer::Cancel(uint64_t ticket) {
    QMetaObject::invokeMethod(
        m_pool, [pool = m_pool, ticket] { pool->Cancel(ticket); }, Qt::QueuedConnection);
}

void WindowRenderer::Release() {
    QMetaObject::invokeMethod(
        m_pool, [pool = m_pool] { pool->Release(); }, Qt::QueuedConnection);
}

}  // namespace pagelark
