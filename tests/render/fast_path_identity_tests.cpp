#include <gtest/gtest.h>

#include <iostream>
#include <random>

#include "raster_surface.h"
#include "render/paint_terminal.h"
#include "terminal/selection.h"

namespace orvane {
namespace {

// Pieces of device output: text, line ends, colours and attributes, cursor
// moves, erasing, line insertion and deletion, scroll regions.
const char* const kPieces[] = {
    "hello ", "x", "0123456789", "\r\n", "\n", "\r", "\x1b[0m", "\x1b[1;31m", "\x1b[2m", "\x1b[5m",
    "\x1b[3m", "\x1b[4m", "\x1b[9m", "\x1b[7m", "\x1b[42m", "\x1b[38;2;10;20;30m", "\x1b[48;5;200m",
    "\x1b[H", "\x1b[3;5H", "\x1b[A", "\x1b[10C", "\x1b[2J", "\x1b[K", "\x1b[1J", "\x1b[L", "\x1b[M",
    "\x1b[2;4r", "\x1b[r", "\x1bM", "\x1b[6;1H\n\n\n", "\x1b[6;1Hline\r\n"};

// Everything else a repaint may follow: blinking, selection, bell, layers
// under the text, palette, window and grid size, the clock.
void changeSomethingElse(Terminal& t, RasterPaintHost& host, PaintRequest& request, std::mt19937& rng) {
    switch (rng() % 13) {
        case 0: t.blinkPhase ^= 1; break;
        case 1: if (t.selectionPresent) t.selectionPresent = 0; else selectAll(t); break;
        case 2: t.bellFlashUntil = request.now + 700; break;
        case 3: host.backgroundLoaded = !host.backgroundLoaded; break;
        case 4:
            t.glass.keyColourSet = !t.glass.keyColourSet;
            t.glass.canvasBackground = rgb(0, 0, 0x80);
            break;
        case 5:
            if (t.glass.placements.empty()) t.glass.placements.emplace_back(); else t.glass.placements.clear();
            break;
        case 6: setPalette(t, rng() % 2 ? "PuTTY" : "VGA"); break;
        case 7: request.paint.right = 166 + int32_t(rng() % 3) * 8; break;
        case 8: setGeometry(t, 20, rng() % 2 ? 6 : 5); break;
        case 9: host.layerCacheAvailable = !host.layerCacheAvailable; break;
        case 10:  // back to bare text
            host.backgroundLoaded = false;
            t.glass.placements.clear();
            t.glass.keyColourSet = false;
            t.selectionPresent = 0;
            break;
        default: request.now += 300; break;
    }
}

std::string chunkFrom(std::mt19937& rng) {
    std::string chunk;
    for (uint32_t n = 1 + rng() % 6; n > 0; --n) chunk += kPieces[rng() % std::size(kPieces)];
    return chunk;
}

// The back buffer after a paint from scratch of the same state, with no
// shortcut and no layer cache.
std::vector<uint32_t> freshFrame(Terminal& t, const RasterPaintHost& like, PaintRequest request) {
    RasterPaintHost host;
    host.backgroundLoaded = like.backgroundLoaded;
    RenderCache cache;
    request.fastPathAllowed = false;
    const uint8_t fontValid = t.fontValid;
    paintTerminal(t, cache, host, request);
    t.fontValid = fontValid;
    return host.buffer->pixels();
}

TEST(FastPathIdentity, ShortcutsLeaveTheSamePixelsAsAFullPaint) {
    int32_t paints = 0;
    int32_t fast = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        Terminal t;
        setGeometry(t, 20, 6);
        RenderCache cache;
        RasterPaintHost host;
        PaintRequest request{{0, 0, 166, 102}, 5000, true};
        for (int32_t step = 0; step < 60; ++step) {
            if (rng() % 8 == 0)
                changeSomethingElse(t, host, request, rng);
            else {
                const std::string chunk = chunkFrom(rng);
                feed(t, reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size());
            }
            request.now += 16;
            const PaintOutcome out = paintTerminal(t, cache, host, request);
            ++paints;
            fast += out.fast() ? 1 : 0;
            ASSERT_EQ(host.buffer->pixels(), freshFrame(t, host, request))
                << "seed " << seed << " step " << step << " path " << int(out.path);
        }
    }
    // The comparison means something only if shortcuts were taken often.
    EXPECT_GT(fast, paints / 4) << fast << " of " << paints;
    std::cout << "compared " << paints << " paints, " << fast << " fast\n";
}

}  // namespace
}  // namespace orvane
