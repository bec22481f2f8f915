#include "engine/collect/MemoryCollectHost.h"

namespace pagelark {

void MemoryCollectHost::RunOnListThread(const std::function<void()>& task) {
    const std::lock_guard<std::recursive_mutex> hold(m_lock);
    task();
}

void MemoryCollectHost::ShowRunning(int progressRange) {
    m_look.running = true;
    m_look.defaultButtonEnabled = true;
    m_look.progressVisible = true;
    m_look.progressRange = progressRange;
    m_look.progressPos = 0;
}

void MemoryCollectHost::ShowStopping() {
    m_look.running = false;
    m_look.defaultButtonEnabled = false;
}

void MemoryCollectHost::SetProgressPos(int position) {
    m_look.progressPos = position;
    ++m_look.progressMoves;
}

void MemoryCollectHost::ResetRunLook() {
    m_look.running = false;
    m_look.defaultButtonEnabled = true;
    m_look.progressVisible = false;
    ++m_look.resets;
}

}  // namespace pagelark
