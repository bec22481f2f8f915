#pragma once

#include <functional>

#include "engine/collect/ItemRecord.h"
#include "engine/collect/ItemRows.h"

namespace pagelark {

class PageRenderer;

// What the collection worker needs from the program that shows the list: the
// rows, the item definitions and the visible parts of a run. Everything but
// RunOnListThread is called on the list's own thread: from Start and Stop
// (which run there) or from inside RunOnListThread.
class CollectHost {
  public:
    virtual ~CollectHost() = default;

    // Runs `task` on the thread that owns the list while the caller waits.
    virtual void RunOnListThread(const std::function<void()>& task) = 0;

    virtual ItemRows& Rows() = 0;
    // Name, Filter and URL of the item with this number (its mark in the live store).
    virtual ItemRecord ReadItem(int number) = 0;

    // A run began: icon timer on, progress bar shown at 0 with this range
    // (0 to range), default button "Stop", the run-locked buttons disabled.
    virtual void ShowRunning(int progressRange) = 0;
    // Stop was pressed: default button "Start" and disabled until the reset.
    virtual void ShowStopping() = 0;
    virtual void SetProgressPos(int position) = 0;
    virtual void HideProgress() = 0;
    // Back to idle: timer off, icon restored, "Start" enabled, buttons
    // enabled, progress bar hidden.
    virtual void ResetRunLook() = 0;

    // The browser engine that renders the pages of items marked "Render the
    // page first", or none (such items then fail). Asked on the worker's
    // thread at the start of a run; it lives as long as the host.
    virtual PageRenderer* Renderer() { return nullptr; }
};

}  // namespace pagelark
