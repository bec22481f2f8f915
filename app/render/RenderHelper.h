#pragma once

#include "engine/render/RenderProtocol.h"

// `pagelark --render-helper`: the program as pagelark-cli's page renderer.
// It shows no window and needs no display (Qt's offscreen platform): it reads
// render frames (engine/render/RenderProtocol.h) from its standard input, a
// socket pagelark-cli holds, renders the pages with a RenderPool and writes
// the outcomes back on the same socket. It ends when pagelark-cli closes its
// end.
namespace pagelark {

// Runs the helper; the process's exit status.
int RunRenderHelper(int argc, char** argv);

}  // namespace pagelark
