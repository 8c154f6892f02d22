#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <deque>

#include "key_decoder.h"

namespace orvane::demo {

// A moment as the shell sees it: a millisecond tick for pacing (compared by
// unsigned difference) and the wall clock for the clock command.
struct Now {
    uint32_t tickMs = 0;
    int64_t unixMs = 0;
};

// The device's command shell for one connection: echo and line editing,
// the commands, and the two that run on (clock and flood). It only turns
// input and time into output bytes; the caller moves them over the link.
class DemoShell {
public:
    // The showcase followed by the prompt.
    std::string greet();
    // Handles what the terminal sent; output is appended to out. A key stops
    // a running clock or flood, unless it came in the same read as the line
    // that started it.
    void receive(std::string_view bytes, const Now& now, std::string& out);
    // Work that is due: clock updates, and flood lines up to about budget bytes.
    void poll(const Now& now, std::string& out, size_t budget);
    // Milliseconds until poll has work (0 at once), or -1 to wait for input.
    int32_t waitMs(uint32_t nowTick) const;
    // The user asked to quit: close the connection after sending out.
    bool finished() const { return mode_ == Mode::Finished; }

private:
    enum class Mode : uint8_t { Prompt, Clock, Flood, Finished };

    void onKey(const Key& key, const Now& now, std::string& out);
    void onLineKey(const Key& key, const Now& now, std::string& out);
    void stopRunning(std::string& out);
    void execute(const std::string& line, const Now& now, std::string& out);
    void startClock(std::string_view argument, const Now& now, std::string& out);
    void startFlood(std::string_view argument, std::string& out);
    void drawClock(const Now& now, std::string& out);
    void finishCommand(std::string& out);
    void replayTypeAhead(const Now& now, std::string& out);
    bool running() const { return mode_ == Mode::Clock || mode_ == Mode::Flood; }

    KeyDecoder keys_;
    Mode mode_ = Mode::Prompt;
    std::string line_;
    // Keys that arrived with the line that started clock or flood (pasted or
    // scripted input): kept for after the command rather than stopping it.
    std::deque<Key> typeAhead_;
    bool glassShown_ = false;
    // Clock: started at, length, next update.
    uint32_t clockStart_ = 0;
    uint32_t clockLengthMs_ = 0;
    uint32_t clockNext_ = 0;
    // Flood: lines asked for and sent.
    uint64_t floodTotal_ = 0;
    uint64_t floodSent_ = 0;
    uint64_t floodBytes_ = 0;
};

// Longest line the shell keeps; further characters ring the bell.
inline constexpr size_t kMaxLineLength = 200;
inline constexpr uint64_t kMaxFloodLines = 100000000;
inline constexpr uint64_t kDefaultFloodLines = 1000;
inline constexpr uint32_t kDefaultClockSeconds = 10;
inline constexpr uint32_t kMaxClockSeconds = 3600;
inline constexpr uint32_t kClockPeriodMs = 100;

std::string promptText();
// The line of "flood" number index (1-based) of total.
std::string floodLine(uint64_t index, uint64_t total);
// "hh:mm:ss.t UTC" for a Unix time in milliseconds.
std::string utcTimeText(int64_t unixMs);

}  // namespace orvane::demo
