#pragma once

#include <cstdint>

#include "terminal/terminal.h"

namespace orvane {

// No blinking while data streams in: a toggle then would only add paints.
inline constexpr uint32_t kBlinkQuietMs = 250;

// One tick of the blink timer at `now`; `lastRxTick` is when received bytes
// last arrived. Toggles the blink phase when something blinks, otherwise
// settles it to "shown". Returns whether the phase changed, that is whether
// the terminal window must be repainted.
bool blinkTick(Terminal& t, uint32_t now, uint32_t lastRxTick);

}  // namespace orvane
