#include "cli/StopSignals.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace pagelark::cli {
namespace {

volatile std::sig_atomic_t g_caught = 0;

void OnSignal(int signal) {
    if (g_caught == 0) g_caught = signal;
}

}  // namespace

StopSignals::StopSignals(std::initializer_list<int> signals) {
    g_caught = 0;
    for (const int signal : signals) {
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        Previous previous{signal, {}};
        sigaction(signal, &action, &previous.action);
        m_previous.push_back(previous);
    }
}

StopSignals::~StopSignals() {
    for (const Previous& previous : m_previous)
        sigaction(previous.signal, &previous.action, nullptr);
}

int StopSignals::Caught() const {
    return g_caught;
}

bool StopSignals::SleepUnlessCaught(long milliseconds) const {
    constexpr long kStep = 20;
    for (long slept = 0; slept < milliseconds && g_caught == 0; slept += kStep)
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min(kStep, milliseconds - slept)));
    return g_caught != 0;
}

}  // namespace pagelark::cli
