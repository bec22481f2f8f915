#include "cli/ChildSignals.h"

#include <signal.h>

#include <initializer_list>

namespace pagelark {

void ResetChildSignals(posix_spawnattr_t& attributes, short moreFlags) {
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, static_cast<short>(POSIX_SPAWN_SETSIGMASK |
                                                             POSIX_SPAWN_SETSIGDEF | moreFlags));
}

}  // namespace pagelark
