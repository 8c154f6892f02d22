#include "render/fast_path_switch.h"

#include <cstdint>
#include <cstdlib>

namespace orvane {

bool fastPathFromEnvironment(const char* value) { return value == nullptr || value[0] != '1'; }

bool fastPathAllowed() {
    // Read once: a paint must not change its mind halfway through a run.
    static const bool allowed = fastPathFromEnvironment(std::getenv("ORVANE_NOFAST"));
    return allowed;
}

}  // namespace orvane
