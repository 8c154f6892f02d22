#include "diag/stats_counters.h"

namespace orvane {

StatsCounters& processStats() {
    static StatsCounters stats;
    return stats;
}

void raiseToMax(StatsCounter& counter, int64_t value) {
    int64_t seen = counter.load(std::memory_order_relaxed);
    while (value > seen && !counter.compare_exchange_weak(seen, value, std::memory_order_relaxed)) {
    }
}

namespace {

void clear(StatsCounter& counter) { counter.exchange(0, std::memory_order_relaxed); }

template <size_t N>
void clear(std::array<StatsCounter, N>& counters) {
    for (StatsCounter& c : counters) clear(c);
}

}  // namespace

void resetStats(StatsCounters& s, int64_t nowMs) {
    clear(s.rxBursts);
    clear(s.rxBytes);
    clear(s.rxMaxBurst);
    clear(s.rxHistogram);
    clear(s.pumpCalls);
    clear(s.pumpEmpty);
    clear(s.feedUsTotal);
    clear(s.feedUsMax);
    clear(s.paints);
    clear(s.paintUsTotal);
    clear(s.paintUsMax);
    clear(s.forcedByRx);
    clear(s.compositeUsTotal);
    clear(s.renderUsTotal);
    clear(s.blitUsTotal);
    clear(s.fastPathBlits);
    clear(s.fullRenders);
    clear(s.fastEligible);
    clear(s.gatePass);
    clear(s.wastedRepaints);
    clear(s.wastedUsTotal);
    clear(s.repaintsSkipped);
    clear(s.missedUpdates);
    clear(s.burstsFolded);
    clear(s.ledForcedRepaints);
    s.resetTick.exchange(nowMs, std::memory_order_relaxed);
}

int64_t ticksToMicroseconds(int64_t ticks, int64_t frequency) {
    constexpr int64_t kMicrosPerSecond = 1000000;
    return ticks / frequency * kMicrosPerSecond + ticks % frequency * kMicrosPerSecond / frequency;
}

}  // namespace orvane
