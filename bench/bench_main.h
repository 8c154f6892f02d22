#pragma once

#include <cstdio>
#include <exception>

namespace orvane::bench {

// Runs a benchmark's body; an exception becomes a message and exit code 1
// rather than an abort.
inline int runReportingErrors(const char* program, int (*body)(int, char**), int argc, char** argv) {
    try {
        return body(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", program, e.what());
        return 1;
    }
}

}  // namespace orvane::bench
