#pragma once

#include <chrono>
#include <cstddef>

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

}  // namespace orvane::test
