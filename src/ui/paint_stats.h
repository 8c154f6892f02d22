#pragma once

#include "diag/stats_counters.h"
#include "render/paint_terminal.h"

#include <cstdint>

namespace orvane {

// Adds one paint of the terminal window to the counters (when they are on):
// its time and phase times from performance-counter ticks at `frequency`,
// whether a shortcut or a full render drew it, and the gate conditions that held.
void countPaint(StatsCounters& stats, const PaintOutcome& paint, int64_t frequency);

}  // namespace orvane
