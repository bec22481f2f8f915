#pragma once

#include "app/render/RenderPool.h"
#include "engine/collect/PageRenderer.h"

namespace pagelark {

// The window's renderer: the worker's calls are handed to the pool on the
// window thread and return at once, so neither thread waits for the other;
// outcomes go straight to the worker from the window thread.
class WindowRenderer : public PageRenderer {
  public:
    // `pool` lives on the window thread and outlives every run.
    explicit WindowRenderer(RenderPool& pool) : m_pool(&pool) {}

    void Render(uint64_t ticket, const std::string& url, int64_t deadlineMs, Done done) override;
    void Cancel(uint64_t ticket) override;
    void Release() override;

  private:
    RenderPool* const m_pool;
};

}  // namespace pagelark
