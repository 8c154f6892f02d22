#pragma once

#include <cstdint>
#include <string>

#include "pictel/canvas.h"

namespace orvane {

struct Terminal;

// Background image files may be larger than what a device may send.
inline constexpr uint64_t kMaxBackgroundFileBytes = 0x4000000;

// Loads the permanent background picture into background (the compositor's;
// it drops its scaled copy first). An empty path removes the picture. On
// failure the old picture stays. Marks the layers changed either way.
// Never throws.
bool loadBackgroundImage(Terminal& t, const std::wstring& path, Canvas& background);

}  // namespace orvane
