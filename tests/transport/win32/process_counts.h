#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>

namespace orvane::test {

// Handles the process holds. GetProcessHandleCount where the system
// implements it, else a count over the system handle table (Wine).
size_t processHandleCount();

// Threads of the process.
size_t processThreadCount();

struct ProcessCounts {
    size_t handles;
    size_t threads;
};

ProcessCounts processCounts();

// The lowest counts seen over `duration`: a baseline without the threads
// that are still being torn down.
ProcessCounts lowestCountsOver(std::chrono::milliseconds duration);

// A thread that was just joined can still show for a moment while the
// system tears it down; waits until the counts show nothing left behind
// since `bound` or the time is up, and returns the last counts seen.
ProcessCounts countsOnceSettled(const ProcessCounts& bound,
                                std::chrono::milliseconds timeout = std::chrono::seconds(3));

// The threading runtime makes a few synchronisation objects of its own the
// first time two of its threads contend, at a moment no test controls; a
// leak per open and close would show a thousand times over.
inline constexpr size_t kLazyHandleAllowance = 2;

// Whether `after` shows nothing left behind since `before`.
bool nothingLeaked(const ProcessCounts& before, const ProcessCounts& after);

// Runs `cycle` ten times on a warm-up session (what the process sets up once
// is not a leak), then a thousand times on another one, and expects no more
// handles or threads after than before. Locks may make their system objects
// on first contention; those go with the session, so it is gone before the
// count. `settle` lets the test's own peers drop what they hold.
template <typename Session>
void expectNoLeakOver(const std::function<void(Session&)>& cycle, const std::function<void()>& settle = [] {}) {
    {
        Session warmUp;
        for (int i = 0; i < 10; ++i) cycle(warmUp);
    }
    settle();
    const ProcessCounts before = lowestCountsOver(std::chrono::milliseconds(300));
    ASSERT_GT(before.handles, 0u);
    const auto start = std::chrono::steady_clock::now();
    {
        Session session;
        for (int i = 0; i < 1000; ++i) cycle(session);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    settle();
    const ProcessCounts after = countsOnceSettled(before);
    EXPECT_TRUE(nothingLeaked(before, after));
    std::printf("1000 cycles in %.1f s; handles %zu -> %zu, threads %zu -> %zu\n", seconds, before.handles,
                after.handles, before.threads, after.threads);
}

}  // namespace orvane::test
