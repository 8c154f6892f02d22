#include "ui/paint_stats.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(PaintStats, CountsTimesPathsAndGateConditionsOnlyWhenOn) {
    StatsCounters stats;
    PaintOutcome scroll;
    scroll.path = PaintPath::kScroll;
    scroll.eligible = true;
    scroll.gate = {true, true, true, true, true, true, true};
    scroll.ticks = {2000, 3000, 1000, 7000};  // at 1 MHz: microseconds
    PaintOutcome full;
    full.gate.buf = true;
    full.gate.geom = true;
    full.ticks.total = 9000;
    countPaint(stats, scroll, 1000000);
    EXPECT_EQ(stats.paints, 0) << "counters off";
    stats.enabled = true;
    countPaint(stats, scroll, 1000000);
    countPaint(stats, full, 2000000);  // 9000 ticks at 2 MHz: 4500 us
    EXPECT_EQ(stats.paints, 2);
    EXPECT_EQ(stats.refPaints, 2);
    EXPECT_EQ(stats.paintUsTotal, 7000 + 4500);
    EXPECT_EQ(stats.paintUsMax, 7000);
    EXPECT_EQ(stats.compositeUsTotal, 2000);
    EXPECT_EQ(stats.renderUsTotal, 3000);
    EXPECT_EQ(stats.blitUsTotal, 1000);
    EXPECT_EQ(stats.fastPathBlits, 1);
    EXPECT_EQ(stats.fullRenders, 1);
    EXPECT_EQ(stats.fastEligible, 1);
    const int64_t expectedGates[kGateConditions] = {2, 1, 1, 1, 1, 2, 1};
    for (size_t i = 0; i < kGateConditions; ++i) EXPECT_EQ(stats.gatePass[i], expectedGates[i]) << i;
}

}  // namespace
}  // namespace orvane
