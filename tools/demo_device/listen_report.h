#pragma once

#include <cstdint>
#include <cstdio>

namespace orvane::demo {

// The line scripts wait for: the port is known and connections are accepted.
inline void reportListening(uint16_t port, bool ipv6) {
    std::printf("orvane_demo_device: listening on 127.0.0.1 port %u%s\n", unsigned(port), ipv6 ? " and ::1" : "");
    std::fflush(stdout);
}

inline void reportClient(const char* what) {
    std::printf("orvane_demo_device: client %s\n", what);
    std::fflush(stdout);
}

}  // namespace orvane::demo
