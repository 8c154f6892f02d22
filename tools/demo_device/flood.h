#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "options.h"
#include "session.h"

namespace orvane::demo {

bool parseFloodStream(std::string_view text, FloodStream& out);
const char* floodStreamName(FloodStream stream);

// Whole lines of the stream, at most `bytes` bytes in all (the last line
// that would not fit is left out, so no escape sequence is cut).
std::string floodPayload(FloodStream stream, uint64_t bytes);

// True when `received` holds a cursor position report (ESC [ row ; col R).
bool holdsCursorReport(std::string_view received);

struct FloodResult {
    bool reported = false;  // the cursor report came back in time
    uint64_t bytes = 0;     // payload bytes sent before the query
    double sendSeconds = 0;    // first byte to the query handed to the socket
    double reportSeconds = 0;  // first byte to the report received
};

// Sends the payload and then ESC [ 6 n, and times the round trip: the
// terminal can only answer once it has interpreted everything before.
// Unpaced it sends as fast as the link takes it; paced the payload is spread
// evenly over time, as a device that logs steadily.
FloodResult runFlood(Link& link, std::string_view payload, int reportTimeoutMs, FloodPacing pacing = {});

// Serves one benchmark client: lets it settle, floods it, prints the
// report. Returns the process exit code (1 when no report came back).
int serveFlood(Link& link, const Options& options);

// What the server does with a connected client: the shell, or the flood
// benchmark. Returns the exit code the process has when it ends after it.
int serveLink(Link& link, const Options& options);
// The server ends after its first client (--once, or a benchmark).
bool servesOneClient(const Options& options);

// "flood plain: 20000000 bytes, sent in 1.20 s, cursor report after 3.21 s: 6.23 MB/s"
std::string floodReport(FloodStream stream, const FloodResult& result);

}  // namespace orvane::demo
