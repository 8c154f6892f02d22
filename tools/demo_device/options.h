#pragma once

#include <cstdint>
#include <string>

namespace orvane::demo {

inline constexpr uint16_t kDefaultPort = 5000;

struct Options {
    uint16_t port = kDefaultPort;  // 0: any free port, printed when listening
    bool once = false;             // exit when the first client disconnects
    bool help = false;
};

// Parses the arguments; false with a message in error for anything unknown.
bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error);
std::string usageText();

}  // namespace orvane::demo
