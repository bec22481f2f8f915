#pragma once

#include <spawn.h>

namespace pagelark {

// A child of pagelark-cli starts with no signal blocked and SIGPIPE, SIGINT
// and SIGTERM as the system sets them, whatever this process does with them.
// Sets those attributes and their flags, with `moreFlags` besides.
void ResetChildSignals(posix_spawnattr_t& attributes, short moreFlags = 0);

}  // namespace pagelark
