#pragma once

#include <cstddef>

namespace orvane::test {

// Handles the process holds. GetProcessHandleCount where the system
// implements it, else a count over the system handle table (Wine).
size_t processHandleCount();

// Threads of the process.
size_t processThreadCount();

}  // namespace orvane::test
