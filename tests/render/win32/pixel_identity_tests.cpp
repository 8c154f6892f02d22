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

std::string num(size_t n) { return std::to_string(n); }

// Bytes a busy device might send: mostly text and line ends, with colours, cursor moves,
// erases, line inserts and deletes, scroll regions and line drawing.
std::string randomStream(uint32_t seed, size_t length) {
    std::mt19937 rng(seed);
    const auto pick = [&](uint32_t n) { return size_t(rng() % n); };
    std::string s;
    while (s.size() < length) {
        const size_t kind = pick(100);
        s += kind < 65 ? std::string(1, char(0x20 + pick(95)))
             : kind < 77 ? "\r\n"
             : kind < 85 ? "\x1b[" + num(pick(2) ? 30 + pick(8) : 40 + pick(8)) + (pick(4) ? "m" : ";1;4m")
             : kind < 89 ? "\x1b[" + num(1 + pick(25)) + ";" + num(1 + pick(80)) + "H"
             : kind < 92 ? "\x1b[" + num(pick(3)) + (pick(2) ? "J" : "K")
             : kind < 95 ? "\x1b[" + num(1 + pick(3)) + (pick(2) ? "L" : "M")
             : kind < 97 ? (pick(2) ? "\x1b[r" : "\x1b[" + num(1 + pick(10)) + ";" + num(12 + pick(14)) + "r")
                         : "\x1b(0lqqqk\x1b(B\x1b[0m";
    }
    return s;
}

// A log scrolling by: coloured lines of varying length.
std::string logStream(size_t lines) {
    std::string s;
    for (size_t i = 0; i < lines; ++i)
        s += "\x1b[3" + num(1 + i % 7) + "m[" + num(i) + "]\x1b[0m event " + std::string(i * 7 % 60, char('a' + i % 26)) + "\r\n";
    return s;
}

// A status screen redrawn in place: a few numbers change per frame.
std::string statusStream(size_t frames) {
    std::string s = "\x1b[2J";
    for (size_t f = 0; f < frames; ++f)
        s += "\x1b[H\x1b[7mStatus frame " + num(f) + "\x1b[0m\x1b[" + num(3 + f % 5) + ";10H\x1b[32mvalue " +
             num(f * 37 % 1000) + "\x1b[0m  \x1b[20;1H\x1b[2Kload " + std::string(f % 40, '#');
    return s;
}

struct Stream {
    std::string name, bytes;
    bool withBackground;
    int32_t cols = 80;
};

// Feeds the stream in random chunks; after each, paints one terminal with the fast paths
// and another afresh, and compares the back buffers. Counts paints, fast ones, scrolls.
void compareStream(const Stream& stream, uint32_t seed, int (&totals)[3]) {
    const int32_t width = stream.cols == 80 ? 660 : 1090;
    PaintedTerminal fast(stream.cols, 25, width, 420), full(stream.cols, 25, width, 420);
    for (PaintedTerminal* p : {&fast, &full}) {
        if (!stream.withBackground) break;
        Canvas& image = p->renderer.background.image;
        image.width = image.height = 16;
        image.valid = true;
        for (uint32_t i = 0; i < 256; ++i) image.pixels.push_back(0xFF000000u | (i * 0x010305u));
        setBackgroundOpacity(p->t, p->renderer.background, 60);
    }
    std::mt19937 rng(seed);
    for (size_t at = 0, chunk = 0; at < stream.bytes.size(); ++chunk) {
        const std::string piece = stream.bytes.substr(at, 1 + rng() % 300);
        at += piece.size();
        fast.feedText(piece);
        full.feedText(piece);
        const PaintOutcome outcome = fast.paint(true);
        full.paint(false);
        totals[0] += 1;
        totals[1] += outcome.fast();
        totals[2] += outcome.path == PaintPath::kScroll;
        const BackBuffer& a = fast.renderer.backBuffer;
        const BackBuffer& b = full.renderer.backBuffer;
        ASSERT_EQ(std::pair(a.width(), a.height()), std::pair(b.width(), b.height()));
        ASSERT_EQ(std::memcmp(a.pixels(), b.pixels(), size_t(a.width()) * size_t(a.height()) * 4), 0)
            << stream.name << ": chunk " << chunk << " (path " << int(outcome.path) << ")";
    }
}

TEST(PixelIdentity, FastPathsPaintWhatAFullRenderPaints) {
    std::vector<Stream> streams = {{"random 1", randomStream(1, 20000), false}, {"random 2", randomStream(2, 20000), false},
                                   {"random 3", randomStream(3, 20000), false}, {"log", logStream(400), false},
                                   {"status", statusStream(300), false}, {"log over a background image", logStream(150), true}};
    // The benchmarks' device streams, the recorded editor session among them.
    for (const bench::Scenario& s : bench::makeScenarios(16000, ""))
        streams.push_back({s.name, std::string(s.bytes.begin(), s.bytes.end()), false, s.cols});
    int totals[3] = {};
    for (size_t i = 0; i < streams.size(); ++i) {
        SCOPED_TRACE(streams[i].name);
        compareStream(streams[i], uint32_t(100 + i), totals);
        if (HasFatalFailure()) return;
    }
    std::printf("pixel identity: %zu streams, %d paints compared byte for byte, %d fast (%d scroll)\n", streams.size(),
                totals[0], totals[1], totals[2]);
    EXPECT_GT(totals[2], 20);
    EXPECT_GT(totals[1] - totals[2], 20);
}

}  // namespace
}  // namespace orvane
