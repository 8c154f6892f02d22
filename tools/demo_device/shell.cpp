#include "shell.h"

#include <cctype>
#include <cstdio>

#include "ansi.h"
#include "showcase.h"

namespace orvane::demo {

namespace {

constexpr int kClockBarCells = 30;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string lowerCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(uint8_t(c)));
    return out;
}

// A decimal number from 1 to max, or 0 when the text is anything else.
uint64_t parseCount(std::string_view text, uint64_t max) {
    if (text.empty() || text.size() > 12) return 0;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + uint64_t(c - '0');
    }
    return value <= max ? value : 0;
}

std::string helpText() {
    const std::pair<const char*, const char*> kCommands[] = {
        {"help", "this list"},
        {"colours", "the 16, 256 and 24-bit colours and the attributes"},
        {"graphics", "line drawing, code page 437 and Pictel pictures"},
        {"clock [S]", "a live clock for S seconds (10); any key stops it"},
        {"flood [N]", "N lines of text as fast as possible (1000); any key stops it"},
        {"bell", "ring the terminal's bell"},
        {"quit", "close the connection"},
    };
    std::string out;
    for (const auto& [name, what] : kCommands) {
        std::string padded = name;
        padded.resize(12, ' ');
        out += "  " + sgr({1}) + padded + sgrReset() + what + kCrLf;
    }
    return out;
}

}  // namespace

std::string promptText() { return sgr({1, 32}) + "demo" + sgrReset() + "> "; }

std::string floodLine(uint64_t index, uint64_t total) {
    char text[96];
    std::snprintf(text, sizeof text, "flood %9llu/%llu  The quick brown fox jumps over the lazy dog 0123456789\r\n",
                  static_cast<unsigned long long>(index), static_cast<unsigned long long>(total));
    return text;
}

std::string utcTimeText(int64_t unixMs) {
    constexpr int64_t kDayMs = 86400000;
    const int64_t ms = ((unixMs % kDayMs) + kDayMs) % kDayMs;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%d UTC", int(ms / 3600000), int(ms / 60000 % 60),
                  int(ms / 1000 % 60), int(ms / 100 % 10));
    return text;
}

std::string DemoShell::greet() {
    glassShown_ = true;
    return showcaseScreen() + promptText();
}

void DemoShell::receive(std::string_view bytes, const Now& now, std::string& out) {
    bool startedInThisRead = false;
    for (const Key& key : keys_.decode(bytes)) {
        if (running() && startedInThisRead) {
            typeAhead_.push_back(key);
            continue;
        }
        onKey(key, now, out);
        startedInThisRead = running();
    }
}

void DemoShell::replayTypeAhead(const Now& now, std::string& out) {
    while (!typeAhead_.empty() && mode_ == Mode::Prompt) {
        const Key key = typeAhead_.front();
        typeAhead_.pop_front();
        onKey(key, now, out);
    }
}

void DemoShell::onKey(const Key& key, const Now& now, std::string& out) {
    switch (mode_) {
        case Mode::Prompt: onLineKey(key, now, out); break;
        case Mode::Clock:
        case Mode::Flood: stopRunning(out); break;
        case Mode::Finished: break;
    }
}

void DemoShell::onLineKey(const Key& key, const Now& now, std::string& out) {
    switch (key.kind) {
        case Key::Char:
            if (line_.size() >= kMaxLineLength) {
                out += '\a';
            } else {
                line_ += key.ch;
                out += key.ch;
            }
            break;
        case Key::Erase:
            if (!line_.empty()) {
                line_.pop_back();
                out += "\b \b";
            }
            break;
        case Key::Interrupt:
            line_.clear();
            out += "^C" + kCrLf + promptText();
            break;
        case Key::Enter: {
            const std::string line = line_;
            line_.clear();
            out += kCrLf;
            execute(line, now, out);
            break;
        }
    }
}

void DemoShell::stopRunning(std::string& out) {
    typeAhead_.clear();  // an interrupted command drops what was typed ahead of it
    if (mode_ == Mode::Clock) {
        out += kCrLf + "clock stopped" + kCrLf;
    } else {
        out += sgrReset() + kCrLf + "flood stopped after " + std::to_string(floodSent_) + " of " +
               std::to_string(floodTotal_) + " lines" + kCrLf;
    }
    finishCommand(out);
}

void DemoShell::finishCommand(std::string& out) {
    mode_ = Mode::Prompt;
    out += promptText();
}

void DemoShell::execute(const std::string& line, const Now& now, std::string& out) {
    const std::string_view text = trimmed(line);
    const size_t space = text.find(' ');
    const std::string name = lowerCase(text.substr(0, space));
    const std::string_view argument = space == std::string_view::npos ? std::string_view{} : trimmed(text.substr(space));
    if (name.empty()) {
        out += promptText();
        return;
    }
    // Output scrolls the screen; pictures on the glass would stay behind.
    if (glassShown_ && name != "graphics") {
        out += hideGlass();
        glassShown_ = false;
    }
    if (name == "help" || name == "?") {
        out += helpText();
    } else if (name == "colours" || name == "colors") {
        out += colourLines();
    } else if (name == "graphics") {
        out += graphicsPage();
        glassShown_ = true;
    } else if (name == "bell") {
        out += "\a(bell)" + kCrLf;
    } else if (name == "quit" || name == "exit") {
        out += "bye" + kCrLf;
        mode_ = Mode::Finished;
        return;
    } else if (name == "clock") {
        startClock(argument, now, out);
        return;
    } else if (name == "flood") {
        startFlood(argument, out);
        return;
    } else {
        out += "unknown command: " + name + " (type help)" + kCrLf;
    }
    finishCommand(out);
}

void DemoShell::startClock(std::string_view argument, const Now& now, std::string& out) {
    const uint64_t seconds = argument.empty() ? kDefaultClockSeconds : parseCount(argument, kMaxClockSeconds);
    if (seconds == 0) {
        out += "clock: seconds must be 1 to " + std::to_string(kMaxClockSeconds) + kCrLf;
        finishCommand(out);
        return;
    }
    mode_ = Mode::Clock;
    clockStart_ = now.tickMs;
    clockLengthMs_ = uint32_t(seconds) * 1000;
    clockNext_ = now.tickMs;
    out += "clock for " + std::to_string(seconds) + " s, any key stops it" + kCrLf;
    drawClock(now, out);
}

void DemoShell::drawClock(const Now& now, std::string& out) {
    const uint32_t elapsed = now.tickMs - clockStart_;
    const uint32_t shown = elapsed < clockLengthMs_ ? elapsed : clockLengthMs_;
    const int filled = int(uint64_t(shown) * kClockBarCells / clockLengthMs_);
    out += '\r';
    out += sgr({1, 97}) + backgroundRgb({24, 52, 112}) + ' ' + utcTimeText(now.unixMs) + ' ' + sgrReset();
    out += ' ' + sgr({92}) + std::string(size_t(filled), '#');
    out += sgr({2}) + std::string(size_t(kClockBarCells - filled), '.') + sgrReset();
    out += ' ' + std::to_string(shown / 1000) + '.' + std::to_string(shown / 100 % 10) + " s" + eraseToLineEnd();
    clockNext_ += kClockPeriodMs;
    // After a stall, carry on from now rather than catching up in a burst.
    if (int32_t(now.tickMs - clockNext_) > 0) clockNext_ = now.tickMs + kClockPeriodMs;
}

void DemoShell::startFlood(std::string_view argument, std::string& out) {
    const uint64_t lines = argument.empty() ? kDefaultFloodLines : parseCount(argument, kMaxFloodLines);
    if (lines == 0) {
        out += "flood: N must be 1 to " + std::to_string(kMaxFloodLines) + kCrLf;
        finishCommand(out);
        return;
    }
    mode_ = Mode::Flood;
    floodTotal_ = lines;
    floodSent_ = 0;
    floodBytes_ = 0;
}

void DemoShell::poll(const Now& now, std::string& out, size_t budget) {
    if (mode_ == Mode::Clock) {
        if (int32_t(now.tickMs - clockNext_) < 0) return;
        drawClock(now, out);
        if (now.tickMs - clockStart_ >= clockLengthMs_) {
            out += kCrLf;
            finishCommand(out);
            replayTypeAhead(now, out);
        }
    } else if (mode_ == Mode::Flood) {
        const size_t start = out.size();
        while (floodSent_ < floodTotal_ && out.size() - start < budget) out += floodLine(++floodSent_, floodTotal_);
        floodBytes_ += out.size() - start;
        if (floodSent_ == floodTotal_) {
            out += "flood: " + std::to_string(floodTotal_) + " lines, " + std::to_string(floodBytes_) + " bytes" +
                   kCrLf;
            finishCommand(out);
            replayTypeAhead(now, out);
        }
    }
}

int32_t DemoShell::waitMs(uint32_t nowTick) const {
    if (mode_ == Mode::Flood) return 0;
    if (mode_ != Mode::Clock) return -1;
    const int32_t left = int32_t(clockNext_ - nowTick);
    return left > 0 ? left : 0;
}

}  // namespace orvane::demo
