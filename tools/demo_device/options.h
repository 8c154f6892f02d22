#pragma once

#include <cstdint>
#include <string>

namespace orvane::demo {

inline constexpr uint16_t kDefaultPort = 5000;

// What a flood benchmark sends: plain text lines, or log lines coloured with SGR.
enum class FloodStream { None, Plain, Sgr };

// How a flood is spread over time.
struct FloodPacing {
    uint64_t bytesPerSecond = 0;  // 0: as fast as the client reads
    bool wholeLines = true;       // paced writes end at a line end, as a device that logs a line at a time
};

struct Options {
    uint16_t port = kDefaultPort;  // 0: any free port, printed when listening
    bool once = false;             // exit when the first client disconnects
    bool help = false;
    FloodStream flood = FloodStream::None;  // benchmark one client, then exit
    uint64_t floodBytes = 20'000'000;
    FloodPacing floodPacing;
};

// Parses the arguments; false with a message in error for anything unknown.
bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error);
std::string usageText();

}  // namespace orvane::demo
