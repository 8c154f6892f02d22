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
// system tears it down; waits until the counts are down to `bound` or the
// time is up, and returns the last counts seen.
ProcessCounts countsOnceSettled(const ProcessCounts& bound,
                                std::chrono::milliseconds timeout = std::chrono::seconds(3));

}  // namespace orvane::test
