#pragma once

#include <functional>
#include <mutex>

#include "engine/collect/CollectHost.h"
#include "engine/collect/MemoryRows.h"

namespace pagelark {

// A collection host without a window, for the CLI and the tests. The "list
// thread" is whoever holds the host's lock: RunOnListThread takes it, and
// callers outside the worker run Start and Stop through RunOnListThread too.
class MemoryCollectHost : public CollectHost {
  public:
    struct Look {
        bool running = false;  // timer on, "Stop" on the default button, buttons disabled
        bool defaultButtonEnabled = true;
        bool progressVisible = false;
        int progressRange = 0;
        int progressPos = 0;
        int progressMoves = 0;  // SetProgressPos calls
        int resets = 0;         // end-of-run resets
    };

    explicit MemoryCollectHost(std::function<ItemRecord(int)> readItem)
        : m_readItem(std::move(readItem)) {}

    void RunOnListThread(const std::function<void()>& task) override;
    ItemRows& Rows() override { return m_rows; }
    ItemRecord ReadItem(int number) override { return m_readItem(number); }
    void ShowRunning(int progressRange) override;
    void ShowStopping() override;
    void SetProgressPos(int position) override;
    void HideProgress() override { m_look.progressVisible = false; }
    void ResetRunLook() override;
    PageRenderer* Renderer() override { return m_renderer; }
    // Before the first run; the renderer must outlive the host's runs.
    void SetRenderer(PageRenderer* renderer) { m_renderer = renderer; }

    MemoryRows& MemoryRowsOf() { return m_rows; }
    const Look& GetLook() const { return m_look; }

  private:
    std::recursive_mutex m_lock;
    std::function<ItemRecord(int)> m_readItem;
    MemoryRows m_rows;
    Look m_look;
    PageRenderer* m_renderer = nullptr;
};

}  // namespace pagelark
