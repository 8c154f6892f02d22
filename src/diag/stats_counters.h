#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace orvane {

// One responsiveness counter. Reader threads update some counters while the
// user-interface thread updates and reads the others, so every update is a
// single atomic operation.
using StatsCounter = std::atomic<int64_t>;

// Read sizes counted apart: 1, 2-15, 16-63, 64-255, 256 and more bytes.
inline constexpr size_t kRxHistogramBuckets = 5;
// Fast-path conditions in gate order: buf, cache, shadow, bbBare, bare, geom, blink.
inline constexpr size_t kGateConditions = 7;

// What happens between the link and the screen, counted only while
// `enabled` is set. Durations are in microseconds.
struct StatsCounters {
    StatsCounter rxBursts{0};
    StatsCounter rxBytes{0};
    StatsCounter rxMaxBurst{0};
    std::array<StatsCounter, kRxHistogramBuckets> rxHistogram{};
    StatsCounter pumpCalls{0};
    StatsCounter pumpEmpty{0};
    StatsCounter feedUsTotal{0};
    StatsCounter feedUsMax{0};
    StatsCounter paints{0};
    StatsCounter paintUsTotal{0};
    StatsCounter paintUsMax{0};
    StatsCounter forcedByRx{0};
    StatsCounter compositeUsTotal{0};
    StatsCounter renderUsTotal{0};
    StatsCounter blitUsTotal{0};
    StatsCounter fastPathBlits{0};
    StatsCounter fullRenders{0};
    StatsCounter fastEligible{0};
    std::array<StatsCounter, kGateConditions> gatePass{};
    StatsCounter wastedRepaints{0};
    StatsCounter wastedUsTotal{0};
    StatsCounter repaintsSkipped{0};
    StatsCounter missedUpdates{0};
    StatsCounter burstsFolded{0};
    StatsCounter ledForcedRepaints{0};
    StatsCounter resetTick{0};  // 64-bit millisecond tick of the last reset
    // Since program start; a reset keeps them so a report can still
    // estimate the cost of a paint when none happened since.
    StatsCounter refPaints{0};
    StatsCounter refPaintUsTotal{0};
    std::atomic<bool> enabled{false};  // set once at start-up
};

// The process-wide counters.
StatsCounters& processStats();

// Raises `counter` to `value` if it is larger; never lowers it, even when
// another thread raises it at the same time.
void raiseToMax(StatsCounter& counter, int64_t value);

// Starts a new measurement window at `nowMs` (64-bit millisecond tick).
void resetStats(StatsCounters& stats, int64_t nowMs);

// Performance-counter ticks to microseconds without overflowing for long
// runs. `frequency` must be positive.
int64_t ticksToMicroseconds(int64_t ticks, int64_t frequency);

}  // namespace orvane
