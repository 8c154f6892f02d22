#include "ui/paint_stats.h"

namespace orvane {

void countPaint(StatsCounters& stats, const PaintOutcome& paint, int64_t frequency) {
    if (!stats.enabled) return;
    const int64_t totalUs = ticksToMicroseconds(paint.ticks.total, frequency);
    ++stats.paints;
    ++stats.refPaints;
    stats.paintUsTotal += totalUs;
    stats.refPaintUsTotal += totalUs;
    raiseToMax(stats.paintUsMax, totalUs);
    stats.compositeUsTotal += ticksToMicroseconds(paint.ticks.composite, frequency);
    stats.renderUsTotal += ticksToMicroseconds(paint.ticks.render, frequency);
    stats.blitUsTotal += ticksToMicroseconds(paint.ticks.blit, frequency);
    ++(paint.fast() ? stats.fastPathBlits : stats.fullRenders);
    if (paint.eligible) ++stats.fastEligible;
    const bool held[kGateConditions] = {paint.gate.buf,  paint.gate.cache, paint.gate.shadow, paint.gate.bbBare,
                                        paint.gate.bare, paint.gate.geom,  paint.gate.blink};
    for (size_t i = 0; i < kGateConditions; ++i) {
        if (held[i]) ++stats.gatePass[i];
    }
}

}  // namespace orvane
