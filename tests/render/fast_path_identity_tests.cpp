#include <gtest/gtest.h>

#include <iostream>
#include <random>

#include "render_fakes.h"
#include "terminal/selection.h"

namespace orvane {
namespace {

// Device output: text, line ends, colours and attributes, cursor moves,
// erasing, line insertion and deletion, scroll regions.
const char* const kPieces[] = {
    "hello ", "x", "0123456789", "\r\n", "\n", "\r", "\x1b[0m", "\x1b[1;31m", "\x1b[2m", "\x1b[5m",
    "\x1b[3m", "\x1b[4m", "\x1b[9m", "\x1b[7m", "\x1b[42m", "\x1b[38;2;10;20;30m", "\x1b[48;5;200m",
    "\x1b[H", "\x1b[3;5H", "\x1b[A", "\x1b[10C", "\x1b[2J", "\x1b[K", "\x1b[1J", "\x1b[L", "\x1b[M",
    "\x1b[2;4r", "\x1b[r", "\x1bM", "\x1b[6;1H\n\n\n", "\x1b[6;1Hline\r\n"};

// Everything else a repaint may follow: blinking, selection, bell, layers
// under the text, palette, window and grid size, the clock.
void changeSomethingElse(Terminal& t, FakeHost& host, PaintRequest& request, std::mt19937& rng) {
    switch (rng() % 13) {
        case 0: t.blinkPhase ^= 1; break;
        case 1: if (t.selectionPresent) t.selectionPresent = 0; else selectAll(t); break;
        case 2: t.bellFlashUntil = request.now + 700; break;
        case 3: host.backgroundLoaded = !host.backgroundLoaded; break;
        case 4: t.glass.keyColourSet = !t.glass.keyColourSet; t.glass.canvasBackground = rgb(0, 0, 0x80); break;
        case 5: if (t.glass.placements.empty()) t.glass.placements.emplace_back(); else t.glass.placements.clear(); break;
        case 6: setPalette(t, rng() % 2 ? "PuTTY" : "VGA"); break;
        case 7: request.paint.right = 166 + int32_t(rng() % 3) * 8; break;
        case 8: setGeometry(t, 20, rng() % 2 ? 6 : 5); break;
        case 9: host.layerCacheAvailable = !host.layerCacheAvailable; break;
        case 10:  // back to bare text
            host.backgroundLoaded = t.glass.keyColourSet = false;
            t.glass.placements.clear();
            t.selectionPresent = 0;
            break;
        default: request.now += 300; break;
    }
}

// The back buffer after a paint from scratch of the same state.
std::vector<uint32_t> freshFrame(Terminal& t, bool backgroundLoaded, PaintRequest request) {
    FakeHost host;
    host.backgroundLoaded = backgroundLoaded;
    RenderCache cache;
    request.fastPathAllowed = false;
    const uint8_t fontValid = t.fontValid;
    paintTerminal(t, cache, host, request);
    t.fontValid = fontValid;
    return host.buffer->pixels;
}

TEST(FastPathIdentity, ShortcutsLeaveTheSamePixelsAsAFullPaint) {
    int32_t paints = 0, fast = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        Terminal t;
        setGeometry(t, 20, 6);
        RenderCache cache;
        FakeHost host;
        PaintRequest request{{0, 0, 166, 102}, 5000, true};
        for (int32_t step = 0; step < 60; ++step, ++paints) {
            if (rng() % 8 == 0) changeSomethingElse(t, host, request, rng);
            for (uint32_t n = rng() % 7; n > 0; --n) {
                const std::string piece = kPieces[rng() % std::size(kPieces)];
                feed(t, reinterpret_cast<const uint8_t*>(piece.data()), piece.size());
            }
            request.now += 16;
            const PaintOutcome out = paintTerminal(t, cache, host, request);
            fast += out.fast() ? 1 : 0;
            ASSERT_EQ(host.buffer->pixels, freshFrame(t, host.backgroundLoaded, request))
                << "seed " << seed << " step " << step << " path " << int(out.path);
        }
    }
    EXPECT_GT(fast, paints / 4) << fast << " of " << paints;  // shortcuts taken often
    std::cout << "compared " << paints << " paints, " << fast << " fast\n";
}

}  // namespace
}  // namespace orvane
