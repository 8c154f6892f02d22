#pragma once

#include <cstdint>

#include "terminal/terminal.h"

namespace orvane {

// A 64-bit hash of what the terminal shows: every cell (direct colours only
// where flagged), the cursor position, the glass layer's colours, origin,
// placements and canvases (by revision, not by pixels) and the visual bell.
// Two equal values before and after a feed mean nothing visible changed.
uint64_t visibleStateFingerprint(const Terminal& t);

}  // namespace orvane
