#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "engine/collect/PageRenderer.h"
#include "engine/render/RenderProtocol.h"

namespace pagelark::cli {

// Renders pages in a helper process, `pagelark --render-helper`: the window
// program's browser engine without a window or a display, talking frames
// (RenderProtocol.h) over a socket that is its standard input. It starts
// with the first render, so a list without rendered items never starts it,
// and ends with the run that used it (Release), so its memory returns.
// pagelark-cli itself links no part of Qt.
class HelperRenderer : public PageRenderer {
  public:
    // `program`: the path of pagelark (FindRenderHelper).
    explicit HelperRenderer(std::string program);
    ~HelperRenderer() override;
    HelperRenderer(const HelperRenderer&) = delete;
    HelperRenderer& operator=(const HelperRenderer&) = delete;

    void Render(uint64_t ticket, const std::string& url, int64_t deadlineMs, Done done) override;
    void Cancel(uint64_t ticket) override;
    void Release() override;

    // Whether a helper process is running now.
    bool Running() const;

  private:
    // Starts the helper; "" or why it could not. m_lock held.
    std::string StartLocked();
    // Closes the socket, waits for the reader and the process. m_lock not held.
    void Stop();
    // The reader thread: frames in, outcomes out, until the helper ends.
    void Read(int socket);
    bool SendLocked(const RenderFrame& frame);

    const std::string m_program;
    mutable std::mutex m_lock;
    int m_socket = -1;
    pid_t m_pid = -1;
    bool m_gone = false;  // the helper closed its end or broke the form
    std::thread m_reader;
    std::map<uint64_t, Done> m_open;
};

// Where pagelark is for pagelark-cli: $PAGELARK_RENDER_HELPER when set, else
// beside pagelark-cli (an installation), else in ../app/ from it (the build
// folder), else "pagelark" from PATH.
std::string FindRenderHelper();

}  // namespace pagelark::cli
