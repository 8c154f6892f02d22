// The responsiveness counters: reset, maxima under contention, time units.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "diag/stats_counters.h"

namespace orvane {
namespace {

// Every counter a reset clears, listed here independently of the code.
std::vector<StatsCounter*> resettable(StatsCounters& s) {
    std::vector<StatsCounter*> all = {
        &s.rxBursts,      &s.rxBytes,          &s.rxMaxBurst,    &s.pumpCalls,      &s.pumpEmpty,
        &s.feedUsTotal,   &s.feedUsMax,        &s.paints,        &s.paintUsTotal,   &s.paintUsMax,
        &s.forcedByRx,    &s.compositeUsTotal, &s.renderUsTotal, &s.blitUsTotal,    &s.fastPathBlits,
        &s.fullRenders,   &s.fastEligible,     &s.wastedRepaints, &s.wastedUsTotal, &s.repaintsSkipped,
        &s.missedUpdates, &s.burstsFolded,     &s.ledForcedRepaints,
    };
    for (StatsCounter& c : s.rxHistogram) all.push_back(&c);
    for (StatsCounter& c : s.gatePass) all.push_back(&c);
    return all;
}

TEST(StatsCounters, ResetClearsTheWindowButKeepsLifetimeFigures) {
    StatsCounters s;
    int64_t value = 1;
    for (StatsCounter* c : resettable(s)) *c = value++;
    s.refPaints = 40;
    s.refPaintUsTotal = 41;
    s.resetTick = 42;
    s.enabled = true;
    resetStats(s, 0x1'0000'0005);
    for (StatsCounter* c : resettable(s)) EXPECT_EQ(c->load(), 0);
    EXPECT_EQ(s.refPaints, 40);
    EXPECT_EQ(s.refPaintUsTotal, 41);
    EXPECT_EQ(s.resetTick, 0x1'0000'0005);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(resettable(s).size(), 23u + kRxHistogramBuckets + kGateConditions);
}

TEST(StatsCounters, RaiseToMaxOnlyRaises) {
    struct Case {
        int64_t start, value, expected;
    };
    const Case cases[] = {{5, 3, 5}, {5, 9, 9}, {5, 5, 5}, {-1, -5, -1}, {-7, -2, -2}, {0, INT64_MAX, INT64_MAX}};
    for (const Case& c : cases) {
        StatsCounter counter{c.start};
        raiseToMax(counter, c.value);
        EXPECT_EQ(counter.load(), c.expected) << c.start << " " << c.value;
    }
}

TEST(StatsCounters, RaiseToMaxKeepsTheLargestUnderContention) {
    StatsCounter counter{0};
    std::vector<std::thread> threads;
    for (int64_t t = 0; t < 4; ++t) {
        threads.emplace_back([&counter, t] {
            for (int64_t i = 0; i < 20000; ++i) raiseToMax(counter, (i * 4 + t) % 80000);
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(counter.load(), 79999);
}

TEST(StatsCounters, PerformanceTicksToMicroseconds) {
    struct Case {
        int64_t ticks, frequency, micros;
    };
    const Case cases[] = {
        {0, 10'000'000, 0},
        {9, 10'000'000, 0},
        {10, 10'000'000, 1},
        {19, 10'000'000, 1},
        {30'000'000, 10'000'000, 3'000'000},
        {1, 3, 333'333},
        {2, 3, 666'666},
        // a year at 10 MHz; multiplying first would overflow
        {315'360'000'000'000, 10'000'000, 31'536'000'000'000},
        {9'000'000'000'000'000'007, 1'000'000'000, 9'000'000'000'000'000},
    };
    for (const Case& c : cases) EXPECT_EQ(ticksToMicroseconds(c.ticks, c.frequency), c.micros) << c.ticks;
}

TEST(StatsCounters, OneProcessWideRecord) {
    EXPECT_EQ(&processStats(), &processStats());
    EXPECT_FALSE(processStats().enabled);
}

}  // namespace
}  // namespace orvane
