#include "app/instance_closer.h"

namespace orvane {

int closeRunningInstances(RunningInstances& instances) {
    for (int round = 0; round < kCloseRounds; ++round) {
        if (!instances.findMainWindow()) return 0;
        const unsigned long processId = instances.processOfWindow();
        if (processId == 0) return 0;
        instances.askToClose();
        if (instances.waitForEnd(processId, kCloseWaitMs) == RunningInstances::Wait::cannotOpen) return 0;
    }
    return instances.findMainWindow() ? 1 : 0;
}

}  // namespace orvane
