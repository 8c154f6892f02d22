#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "corpus.h"
#include "win32/gdi_test_support.h"

namespace orvane {
namespace {

using orvane::testing::PaintedTerminal;

// Bytes a busy device might send: mostly text and line ends, with colours,
// cursor moves, erases, line inserts and deletes, scroll regions and line drawing.
std::string randomStream(uint32_t seed, size_t length) {
    std::mt19937 rng(seed);
    const auto pick = [&](int n) { return int(rng() % uint32_t(n)); };
    std::string s;
    while (s.size() < length) {
        const int kind = pick(100);
        if (kind < 65) {
            s += char(0x20 + pick(95));
        } else if (kind < 77) {
            s += "\r\n";
        } else if (kind < 85) {
            s += "\x1b[" + std::to_string(pick(2) ? 30 + pick(8) : 40 + pick(8)) + (pick(4) ? "m" : ";1;4m");
        } else if (kind < 89) {
            s += "\x1b[" + std::to_string(1 + pick(25)) + ";" + std::to_string(1 + pick(80)) + "H";
        } else if (kind < 92) {
            s += "\x1b[" + std::to_string(pick(3)) + (pick(2) ? "J" : "K");
        } else if (kind < 95) {
            s += "\x1b[" + std::to_string(1 + pick(3)) + (pick(2) ? "L" : "M");
        } else if (kind < 97) {
            s += pick(2) ? "\x1b[r" : "\x1b[" + std::to_string(1 + pick(10)) + ";" + std::to_string(12 + pick(14)) + "r";
        } else {
            s += "\x1b(0lqqqk\x1b(B\x1b[0m";
        }
    }
    return s;
}

// A log scrolling by: coloured lines of varying length.
std::string logStream(size_t lines) {
    std::string s;
    for (size_t i = 0; i < lines; ++i) {
        s += "\x1b[3" + std::to_string(1 + i % 7) + "m[" + std::to_string(i) + "]\x1b[0m event " +
             std::string(i * 7 % 60, char('a' + i % 26)) + "\r\n";
    }
    return s;
}

// A status screen redrawn in place: a few numbers change per frame.
std::string statusStream(size_t frames) {
    std::string s = "\x1b[2J";
    for (size_t f = 0; f < frames; ++f) {
        s += "\x1b[H\x1b[7mStatus frame " + std::to_string(f) + "\x1b[0m";
        s += "\x1b[" + std::to_string(3 + f % 5) + ";10H\x1b[32mvalue " + std::to_string(f * 37 % 1000) + "\x1b[0m  ";
        s += "\x1b[20;1H\x1b[2Kload " + std::string(f % 40, '#');
    }
    return s;
}

struct Stream {
    std::string name;
    std::string bytes;
    bool withBackground;
    int32_t cols = 80;
};

struct Totals {
    int paints = 0;
    int fast = 0;
    int scrolled = 0;
};

// Feeds the stream in random chunks; after each, paints one terminal with
// the fast paths and another afresh, and compares the back buffers.
void compareStream(const Stream& stream, uint32_t seed, Totals& totals) {
    const int32_t width = stream.cols == 80 ? 660 : 1090;
    PaintedTerminal fast(stream.cols, 25, width, 420);
    PaintedTerminal full(stream.cols, 25, width, 420);
    if (stream.withBackground) {
        Canvas image;
        image.width = image.height = 16;
        image.valid = true;
        for (int i = 0; i < 256; ++i) image.pixels.push_back(0xFF000000u | uint32_t(i * 0x010305));
        fast.renderer.background.image = image;
        full.renderer.background.image = image;
        setBackgroundOpacity(fast.t, fast.renderer.background, 60);
        setBackgroundOpacity(full.t, full.renderer.background, 60);
    }
    std::mt19937 rng(seed);
    size_t at = 0;
    int chunk = 0;
    while (at < stream.bytes.size()) {
        const size_t n = std::min(stream.bytes.size() - at, size_t(1 + rng() % 300));
        const std::string piece = stream.bytes.substr(at, n);
        at += n;
        fast.feedText(piece);
        full.feedText(piece);
        const PaintOutcome outcome = fast.paint(true);
        full.paint(false);
        ++totals.paints;
        totals.fast += outcome.fast();
        totals.scrolled += outcome.path == PaintPath::kScroll;
        const BackBuffer& a = fast.renderer.backBuffer;
        const BackBuffer& b = full.renderer.backBuffer;
        ASSERT_EQ(a.width(), b.width());
        ASSERT_EQ(a.height(), b.height());
        ASSERT_EQ(std::memcmp(a.pixels(), b.pixels(), size_t(a.width()) * size_t(a.height()) * 4), 0)
            << stream.name << ": chunk " << chunk << " (path " << int(outcome.path) << ")";
        ++chunk;
    }
}

TEST(PixelIdentity, FastPathsPaintWhatAFullRenderPaints) {
    std::vector<Stream> streams = {
        {"random 1", randomStream(1, 20000), false},
        {"random 2", randomStream(2, 20000), false},
        {"random 3", randomStream(3, 20000), false},
        {"log", logStream(400), false},
        {"status", statusStream(300), false},
        {"log over a background image", logStream(150), true},
    };
    // The benchmarks' device streams, the recorded editor session among them.
    for (const bench::Scenario& s : bench::makeScenarios(16000, "")) {
        streams.push_back({s.name, std::string(s.bytes.begin(), s.bytes.end()), false, s.cols});
    }
    Totals totals;
    for (size_t i = 0; i < streams.size(); ++i) {
        SCOPED_TRACE(streams[i].name);
        compareStream(streams[i], uint32_t(100 + i), totals);
        if (HasFatalFailure()) return;
    }
    std::printf("pixel identity: %zu streams, %d paints compared byte for byte, %d fast (%d scroll)\n",
                streams.size(), totals.paints, totals.fast, totals.scrolled);
    EXPECT_GT(totals.scrolled, 20);
    EXPECT_GT(totals.fast - totals.scrolled, 20);
}

}  // namespace
}  // namespace orvane
