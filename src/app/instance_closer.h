#pragma once

namespace orvane {

// The running instances as "-exit" sees them: found by their main window.
class RunningInstances {
public:
    virtual ~RunningInstances() = default;
    // Looks for a main window; the following calls refer to the one found.
    virtual bool findMainWindow() = 0;
    virtual unsigned long processOfWindow() = 0;  // 0 when it cannot be told
    virtual void askToClose() = 0;
    enum class Wait { ended, timedOut, cannotOpen };
    virtual Wait waitForEnd(unsigned long processId, unsigned timeoutMs) = 0;
};

// How long one instance gets to close after being asked.
inline constexpr unsigned kCloseWaitMs = 5000;
// An instance that never closes (or one that keeps being started) must not
// keep "-exit" waiting for ever.
inline constexpr int kCloseRounds = 12;

// Closes every running instance, one after the other. Returns 0 when none is
// left or when one cannot be watched (its process is unknown or cannot be
// opened), 1 when instances were still there after kCloseRounds rounds.
int closeRunningInstances(RunningInstances& instances);

}  // namespace orvane
