#pragma once

#include "options.h"

namespace orvane::demo {

// Listens on the loopback addresses and runs a session for each client in
// turn. Returns the process exit code. Implemented per platform.
int runServer(const Options& options);

}  // namespace orvane::demo
