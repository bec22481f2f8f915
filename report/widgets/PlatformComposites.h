#pragma once

// Whether the window system blends top-level windows, so that a window's
// opacity shows. Without it the tip appears and disappears at once.
namespace pagelark {

bool PlatformComposites();

}  // namespace pagelark
