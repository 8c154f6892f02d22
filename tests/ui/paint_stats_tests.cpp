#include "ui/paint_stats.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane {
namespace {

TEST(PaintStats, CountsTimesPathsAndGateConditionsOnlyWhenOn) {
    StatsCounters stats;
    PaintOutcome scroll, full;
    scroll.gate = {true, true, true, true, true, true, true};
    scroll.eligible = true;
    scroll.path = PaintPath::kScroll;
    scroll.ticks = {2000, 3000, 1000, 7000};  // composite, render, blit, total; at 1 MHz: microseconds
    full.gate.buf = full.gate.geom = true;
    full.ticks.total = 9000;
    countPaint(stats, scroll, 1000000);
    EXPECT_EQ(stats.paints, 0) << "counters off";
    stats.enabled = true;
    countPaint(stats, scroll, 1000000);
    countPaint(stats, full, 2000000);  // 9000 ticks at 2 MHz: 4500 us
    // paints, refPaints, paint total and max, composite, render, blit, fast blits, full renders, eligible
    EXPECT_EQ((std::vector<int64_t>{stats.paints, stats.refPaints, stats.paintUsTotal, stats.paintUsMax,
                                    stats.compositeUsTotal, stats.renderUsTotal, stats.blitUsTotal,
                                    stats.fastPathBlits, stats.fullRenders, stats.fastEligible}),
              (std::vector<int64_t>{2, 2, 7000 + 4500, 7000, 2000, 3000, 1000, 1, 1, 1}));
    EXPECT_EQ(std::vector<int64_t>(stats.gatePass.begin(), stats.gatePass.end()),
              (std::vector<int64_t>{2, 1, 1, 1, 1, 2, 1}));
}

}  // namespace
}  // namespace orvane
