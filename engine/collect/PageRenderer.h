#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/render/RenderFailure.h"

namespace pagelark {

// What a render gave: the page's DOM serialised as HTML (UTF-8), or why not.
struct RenderOutcome {
    bool ok = false;
    std::string html;
    RenderFailure failure;
};

// The browser engine as the collection worker sees it: pages of items marked
// "Render the page first" are loaded there and read once their scripts ran.
// The window renders in its own engine on its thread; pagelark-cli in a
// helper process. Every call comes from a worker's thread and returns at
// once; the engine starts only with the first Render.
class PageRenderer {
  public:
    using Done = std::function<void(RenderOutcome)>;

    virtual ~PageRenderer() = default;

    // Loads `url` (http or https) in an off-the-record browser page that
    // opens no other scheme, downloads nothing and grants no permission, and
    // once the page finished loading and its network has been quiet for a
    // while hands its DOM to `done`; when that does not come within
    // `deadlineMs`, a Timeout. `done` is called once, on any thread, unless
    // the ticket is cancelled first. Tickets are unique for the renderer's
    // lifetime; at most kMaxRendersAtOnce of a run are open at once.
    virtual void Render(uint64_t ticket, const std::string& url, int64_t deadlineMs, Done done) = 0;
    // The run no longer waits for this ticket: its page may stop.
    virtual void Cancel(uint64_t ticket) = 0;
    // A run that rendered has ended: once no render is open the browser
    // pages (and a helper process) go, so their memory returns.
    virtual void Release() = 0;
};

}  // namespace pagelark
