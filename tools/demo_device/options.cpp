#include "options.h"

#include <string_view>

#include "flood.h"

namespace orvane::demo {

namespace {

bool parsePort(std::string_view text, uint16_t& out) {
    if (text.empty() || text.size() > 5) return false;
    uint32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + uint32_t(c - '0');
    }
    if (value > 65535) return false;
    out = uint16_t(value);
    return true;
}

// 1 to 10^12 bytes, digits only.
bool parseByteCount(std::string_view text, uint64_t& out) {
    if (text.empty() || text.size() > 13) return false;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + uint64_t(c - '0');
    }
    if (value == 0 || value > 1'000'000'000'000ULL) return false;
    out = value;
    return true;
}

}  // namespace

bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--once") {
            out.once = true;
        } else if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--port" || arg == "-p") {
            if (i + 1 >= argc || !parsePort(argv[i + 1], out.port)) {
                error = "--port needs a number from 0 to 65535";
                return false;
            }
            ++i;
        } else if (arg == "--flood") {
            if (i + 1 >= argc || !parseFloodStream(argv[i + 1], out.flood)) {
                error = "--flood needs plain or sgr";
                return false;
            }
            ++i;
        } else if (arg == "--bytes") {
            if (i + 1 >= argc || !parseByteCount(argv[i + 1], out.floodBytes)) {
                error = "--bytes needs a number from 1 to 1000000000000";
                return false;
            }
            ++i;
        } else if (arg == "--rate") {
            if (i + 1 >= argc || !parseByteCount(argv[i + 1], out.floodPacing.bytesPerSecond)) {
                error = "--rate needs a number of bytes per second from 1 to 1000000000000";
                return false;
            }
            ++i;
        } else if (arg == "--split-lines") {
            out.floodPacing.wholeLines = false;
        } else {
            error = "unknown argument: " + std::string(arg);
            return false;
        }
    }
    return true;
}

std::string usageText() {
    return "usage: orvane_demo_device [--port N] [--once] [--flood plain|sgr [--bytes N] [--rate B [--split-lines]]]\n"
           "  A demo device for Orvane: a TCP server on 127.0.0.1 (and ::1 when available)\n"
           "  that serves one client at a time with a showcase and a small command shell.\n"
           "  --port N   port to listen on (default 5000; 0 picks a free one)\n"
           "  --once     exit when the first client disconnects\n"
           "  --flood S  benchmark: serve one client with S (plain text or SGR-coloured log\n"
           "             lines) then ESC [ 6 n, print the time until the cursor report\n"
           "             comes back as MB/s and exit\n"
           "  --bytes N  payload of the flood (default 20000000)\n"
           "  --rate B   send the flood at B bytes per second (default: as fast as it goes),\n"
           "             whole lines about every 10 ms\n"
           "  --split-lines  paced writes cut lines anywhere, as bytes trickle over a link\n"
           "  Prints \"listening on 127.0.0.1 port N\" once it accepts connections.\n";
}

}  // namespace orvane::demo
