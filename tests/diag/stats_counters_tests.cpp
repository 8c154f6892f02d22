// The responsiveness counters: reset, maxima under contention, time units.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "diag/stats_counters.h"

namespace orvane {
namespace {

TEST(StatsCounters, ResetClearsTheWindowButKeepsLifetimeFigures) {
    StatsCounters s;
    // every counter a reset clears, listed here independently of the code
    std::vector<StatsCounter*> all = {
        &s.rxBursts,      &s.rxBytes,          &s.rxMaxBurst,    &s.pumpCalls,      &s.pumpEmpty,
        &s.feedUsTotal,   &s.feedUsMax,        &s.paints,        &s.paintUsTotal,   &s.paintUsMax,
        &s.forcedByRx,    &s.compositeUsTotal, &s.renderUsTotal, &s.blitUsTotal,    &s.fastPathBlits,
        &s.fullRenders,   &s.fastEligible,     &s.wastedRepaints, &s.wastedUsTotal, &s.repaintsSkipped,
        &s.missedUpdates, &s.burstsFolded,     &s.ledForcedRepaints,
    };
    for (StatsCounter& c : s.rxHistogram) all.push_back(&c);
    for (StatsCounter& c : s.gatePass) all.push_back(&c);
    for (size_t i = 0; i < all.size(); ++i) *all[i] = int64_t(i + 1);
    s.refPaints = 40, s.refPaintUsTotal = 41, s.resetTick = 42, s.enabled = true;
    resetStats(s, 0x1'0000'0005);
    for (StatsCounter* c : all) EXPECT_EQ(c->load(), 0);
    EXPECT_TRUE(s.refPaints == 40 && s.refPaintUsTotal == 41 && s.resetTick == 0x1'0000'0005 && s.enabled);
    EXPECT_FALSE(processStats().enabled);  // statistics start switched off
}

TEST(StatsCounters, RaiseToMaxOnlyRaisesEvenUnderContention) {
    const int64_t cases[][3] = {{5, 3, 5}, {5, 9, 9}, {5, 5, 5}, {-1, -5, -1}, {-7, -2, -2}, {0, INT64_MAX, INT64_MAX}};
    for (const auto& c : cases) {
        StatsCounter counter{c[0]};
        raiseToMax(counter, c[1]);
        EXPECT_EQ(counter.load(), c[2]) << c[0] << " " << c[1];
    }
    StatsCounter counter{0};
    std::vector<std::thread> threads;
    for (int64_t t = 0; t < 4; ++t)
        threads.emplace_back([&counter, t] {
            for (int64_t i = 0; i < 20000; ++i) raiseToMax(counter, (i * 4 + t) % 80000);
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(counter.load(), 79999);
}

TEST(StatsCounters, PerformanceTicksToMicroseconds) {
    // ticks, frequency, microseconds; the year at 10 MHz overflows if multiplied first
    const int64_t cases[][3] = {
        {0, 10'000'000, 0}, {9, 10'000'000, 0}, {10, 10'000'000, 1}, {19, 10'000'000, 1}, {1, 3, 333'333},
        {2, 3, 666'666}, {30'000'000, 10'000'000, 3'000'000}, {315'360'000'000'000, 10'000'000, 31'536'000'000'000},
        {9'000'000'000'000'000'007, 1'000'000'000, 9'000'000'000'000'000}};
    for (const auto& c : cases) EXPECT_EQ(ticksToMicroseconds(c[0], c[1]), c[2]) << c[0];
}

}  // namespace
}  // namespace orvane
