#include "flood.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace orvane::demo {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string plainLine(uint64_t n) {
    char text[96];
    std::snprintf(text, sizeof text, "%010llu plain text: the quick brown fox jumps over the lazy dog 0123456789\r\n",
                  static_cast<unsigned long long>(n));
    return text;
}

// A log line as a device prints it: grey time, coloured level, cyan source.
std::string sgrLine(uint64_t n) {
    static constexpr const char* kLevels[] = {"\x1b[1;32mINFO ", "\x1b[1;33mWARN ", "\x1b[1;31mERROR",
                                              "\x1b[34mDEBUG"};
    const unsigned ms = unsigned(n % 86400000);
    char text[160];
    std::snprintf(text, sizeof text,
                  "\x1b[90m%02u:%02u:%02u.%03u\x1b[0m %s\x1b[0m \x1b[36mnet.rx\x1b[0m packet %08llu accepted, "
                  "\x1b[1m%3u\x1b[0m bytes, crc ok\r\n",
                  ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000, kLevels[n % 4],
                  static_cast<unsigned long long>(n), unsigned(n * 7 % 1000));
    return text;
}

constexpr size_t kWriteChunk = 64 * 1024;
// The client's window finishes appearing before the clock starts.
constexpr int kSettleMs = 1000;
constexpr int kReportTimeoutMs = 600'000;

// Where the write that starts at `at` ends: unpaced, large blocks; paced,
// about 10 ms worth, stretched to the end of its line unless lines may split.
size_t nextWriteEnd(std::string_view payload, size_t at, FloodPacing pacing) {
    if (!pacing.bytesPerSecond) return std::min(payload.size(), at + kWriteChunk);
    const size_t least = at + size_t(std::max<uint64_t>(1, pacing.bytesPerSecond / 100));
    if (least >= payload.size()) return payload.size();
    if (!pacing.wholeLines) return least;
    const size_t lineEnd = payload.find('\n', least - 1);
    return lineEnd == std::string_view::npos ? payload.size() : lineEnd + 1;
}

// Reads (and ignores) what the client sends for a while; false when it left.
bool settle(Link& link, int ms) {
    std::string ignored;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    for (auto left = ms; left > 0;
         left = int(std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count())) {
        if (link.read(ignored, left) == ReadStatus::Closed) return false;
    }
    return true;
}

}  // namespace

bool parseFloodStream(std::string_view text, FloodStream& out) {
    if (text == "plain") out = FloodStream::Plain;
    else if (text == "sgr") out = FloodStream::Sgr;
    else return false;
    return true;
}

const char* floodStreamName(FloodStream stream) {
    switch (stream) {
        case FloodStream::Plain: return "plain";
        case FloodStream::Sgr: return "sgr";
        case FloodStream::None: break;
    }
    return "none";
}

std::string floodPayload(FloodStream stream, uint64_t bytes) {
    std::string payload;
    payload.reserve(size_t(bytes));
    for (uint64_t n = 0;; ++n) {
        const std::string line = stream == FloodStream::Sgr ? sgrLine(n) : plainLine(n);
        if (payload.size() + line.size() > bytes) break;
        payload += line;
    }
    return payload;
}

bool holdsCursorReport(std::string_view received) {
    for (size_t start = received.find("\x1b["); start != std::string_view::npos;
         start = received.find("\x1b[", start + 1)) {
        size_t i = start + 2;
        int digitsBefore = 0, digitsAfter = 0;
        while (i < received.size() && received[i] >= '0' && received[i] <= '9') ++i, ++digitsBefore;
        if (digitsBefore == 0 || i >= received.size() || received[i] != ';') continue;
        ++i;
        while (i < received.size() && received[i] >= '0' && received[i] <= '9') ++i, ++digitsAfter;
        if (digitsAfter > 0 && i < received.size() && received[i] == 'R') return true;
    }
    return false;
}

FloodResult runFlood(Link& link, std::string_view payload, int reportTimeoutMs, FloodPacing pacing) {
    const uint64_t bytesPerSecond = pacing.bytesPerSecond;
    FloodResult result;
    const Clock::time_point start = Clock::now();
    for (size_t at = 0, next = 0; at < payload.size(); at = next) {
        if (bytesPerSecond) {
            std::this_thread::sleep_until(start + std::chrono::microseconds(at * 1'000'000 / bytesPerSecond));
        }
        next = nextWriteEnd(payload, at, pacing);
        if (!link.write(payload.substr(at, next - at))) return result;
    }
    if (!link.write("\x1b[6n")) return result;
    result.bytes = payload.size();
    result.sendSeconds = secondsSince(start);
    std::string received;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(reportTimeoutMs);
    while (!holdsCursorReport(received)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || link.read(received, int(left)) == ReadStatus::Closed) return result;
    }
    result.reportSeconds = secondsSince(start);
    result.reported = true;
    return result;
}

std::string floodReport(FloodStream stream, const FloodResult& result) {
    char text[200];
    if (!result.reported) {
        std::snprintf(text, sizeof text, "flood %s: no cursor report came back (%llu bytes sent)",
                      floodStreamName(stream), static_cast<unsigned long long>(result.bytes));
        return text;
    }
    std::snprintf(text, sizeof text, "flood %s: %llu bytes, sent in %.2f s, cursor report after %.2f s: %.2f MB/s",
                  floodStreamName(stream), static_cast<unsigned long long>(result.bytes), result.sendSeconds,
                  result.reportSeconds, double(result.bytes) / 1e6 / result.reportSeconds);
    return text;
}

}  // namespace orvane::demo

namespace orvane::demo {

int serveFlood(Link& link, const Options& options) {
    const std::string payload = floodPayload(options.flood, options.floodBytes);
    if (!settle(link, kSettleMs)) {
        std::printf("flood %s: the client left before the flood\n", floodStreamName(options.flood));
        return 1;
    }
    const FloodResult result = runFlood(link, payload, kReportTimeoutMs, options.floodPacing);
    std::printf("%s\n", floodReport(options.flood, result).c_str());
    std::fflush(stdout);
    return result.reported ? 0 : 1;
}

int serveLink(Link& link, const Options& options) {
    if (options.flood != FloodStream::None) return serveFlood(link, options);
    runSession(link);
    return 0;
}

bool servesOneClient(const Options& options) {
    return options.once || options.flood != FloodStream::None;
}

}  // namespace orvane::demo
