// The visible-state fingerprint and the blink tick.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "pictel/glass_commands.h"
#include "terminal/blink.h"
#include "terminal/fingerprint.h"

namespace orvane {
namespace {

Canvas smallCanvas(uint32_t c) { return {.width = 2, .height = 2, .pixels = {c, c, c, c}, .valid = true}; }

// One canvas, one placement and one cell with direct colours, so every
// field has something to change.
Terminal sampleTerminal() {
    Terminal t;
    storeCanvas(t.glass, 3, smallCanvas(0xFF000000u));
    t.grid[2][2] = Cell{.fgDirect = 1, .bgDirect = 1, .fgRgb = 0x010203, .bgRgb = 0x040506};
    t.glass.placements.push_back(Placement{3, 1, 0, 2, 0, 4, 0, true});
    return t;
}

Cell& cell(Terminal& t) { return t.grid[4][7]; }
Canvas& canvas(Terminal& t) { return t.glass.canvases.at(3); }
Placement& placement(Terminal& t) { return t.glass.placements[0]; }

using Change = std::function<void(Terminal&)>;

bool moves(const Change& change) {
    Terminal t = sampleTerminal();
    change(t);
    return visibleStateFingerprint(t) != visibleStateFingerprint(sampleTerminal());
}

TEST(Fingerprint, MovesWithEveryVisibleChangeOnly) {
    for (auto f : {&Cell::fg, &Cell::bg, &Cell::bold, &Cell::underline, &Cell::dim, &Cell::italic, &Cell::blink,
                   &Cell::strike, &Cell::fgDirect, &Cell::bgDirect})
        EXPECT_TRUE(moves([f](Terminal& t) { cell(t).*f = 3; })) << "cell field";
    for (auto f : {&Placement::canvasId, &Placement::row, &Placement::rowHundredths, &Placement::col,
                   &Placement::colHundredths, &Placement::widthCells, &Placement::widthHundredths})
        EXPECT_TRUE(moves([f](Terminal& t) { placement(t).*f = 9; })) << "placement field";
    for (auto f : {&Canvas::width, &Canvas::height, &Canvas::viewX, &Canvas::viewY, &Canvas::viewWidth,
                   &Canvas::viewHeight})
        EXPECT_TRUE(moves([f](Terminal& t) { canvas(t).*f = 4; })) << "canvas field";
    for (auto f : {&GlassOrigin::rowRef, &GlassOrigin::rowRefHundredths, &GlassOrigin::colRef,
                   &GlassOrigin::colRefHundredths})
        EXPECT_TRUE(moves([f](Terminal& t) { t.glass.glassOrigin.*f = 5; })) << "origin field";
    const Change visible[] = {
        [](Terminal& t) { cell(t).ch = u'x'; },           [](Terminal& t) { t.grid[2][2].fgRgb = 0x123456; },
        [](Terminal& t) { t.grid[2][2].bgRgb = 0x123456; },
        [](Terminal& t) { std::swap(t.grid[2][2].fgRgb, t.grid[2][2].bgRgb); },
        [](Terminal& t) { t.cursorRow = 1; },             [](Terminal& t) { t.cursorCol = 1; },
        [](Terminal& t) { t.bellFlashUntil = 900; },      [](Terminal& t) { t.glass.canvasBackground = 0; },
        [](Terminal& t) { t.glass.keyColourSet = true; }, [](Terminal& t) { placement(t).visible = false; },
        [](Terminal& t) { canvas(t).valid = false; },     [](Terminal& t) { canvas(t).sourceCrc = 7; },
        [](Terminal& t) { canvas(t).sourceLength = 7; },  [](Terminal& t) { dropCanvasBitmap(t.glass, 3); },
        [](Terminal& t) { t.glass.placements.push_back(placement(t)); },
        [](Terminal& t) { t.glass.canvases[5] = canvas(t), t.glass.canvases.erase(3); },
        [](Terminal& t) { t.glass.canvases[9] = Canvas{}; },
        // the same cells in another order
        [](Terminal& t) { std::swap(t.grid[2][2], t.grid[2][3]); },
        [](Terminal& t) { std::swap(t.grid[2], t.grid[3]); },
    };
    for (size_t i = 0; i < std::size(visible); ++i) EXPECT_TRUE(moves(visible[i])) << "visible change " << i;
    // direct colours of a cell that does not use them, pixels without a new revision, pen, pending line
    const Change hidden[] = {
        [](Terminal& t) { cell(t).fgRgb = 0x123456; },  [](Terminal& t) { cell(t).bgRgb = 0x123456; },
        [](Terminal& t) { canvas(t).pixels[0] = ~0u; }, [](Terminal& t) { t.penFg = 2; },
        [](Terminal& t) { t.lineBuffer = u"abc"; },
    };
    for (size_t i = 0; i < std::size(hidden); ++i) EXPECT_FALSE(moves(hidden[i])) << "hidden change " << i;
}

TEST(Fingerprint, CanvasRevisionsNeverRepeatAcrossAReset) {
    Terminal t = sampleTerminal();
    const uint64_t before = canvas(t).revision;
    resetGlass(t);
    storeCanvas(t.glass, 3, smallCanvas(0xFFFFFFFFu));
    const uint64_t stored = canvas(t).revision;
    dropCanvasBitmap(t.glass, 3);
    EXPECT_GT(stored, before);
    EXPECT_GT(canvas(t).revision, stored);
}

TEST(BlinkTick, TogglesSettlesOrWaits) {
    // cursor visible, cursor blinks, a cell blinks, phase, now, last data, repaint, phase after
    const struct { bool cursorVisible, cursorBlink, cellBlinks; uint8_t phase; uint32_t now, lastRx; bool repaint;
                   uint8_t phaseAfter; } cases[] = {
        {1, 1, 0, 1, 1000, 0, 1, 0}, {1, 1, 0, 0, 1000, 0, 1, 1},      // blinking cursor hides and shows
        {1, 0, 0, 1, 1000, 0, 0, 1}, {1, 0, 0, 0, 1000, 0, 1, 1},      // steady cursor: still, or settles shown
        {0, 1, 0, 0, 1000, 0, 1, 1}, {0, 1, 0, 1, 1000, 0, 0, 1},      // hidden blinking cursor: settles, then still
        {0, 0, 1, 1, 1000, 0, 1, 0}, {1, 0, 1, 0, 1000, 0, 1, 1},      // a blinking cell, and back
        {1, 1, 0, 0, 1000, 751, 0, 0}, {1, 1, 0, 0, 1000, 750, 1, 1},  // data 249 and 250 ms ago
        // data, then quiet, across the wrap
        {1, 1, 1, 1, 100, 0xFFFFFFF0u, 0, 1}, {1, 1, 0, 1, 300, 0xFFFFFFF0u, 1, 0},
        {1, 1, 0, 1, 0xFFFFFFF0u, 0xFFFFFFA0u, 0, 1},                  // data just before the wrap
    };
    for (const auto& c : cases) {
        Terminal t;
        t.cursorVisible = c.cursorVisible, t.cursorBlink = c.cursorBlink, t.blinkPhase = c.phase;
        t.grid[size_t(t.rows - 1)][size_t(t.cols - 1)].blink = c.cellBlinks;
        EXPECT_EQ(blinkTick(t, c.now, c.lastRx), c.repaint) << "case " << &c - cases;
        EXPECT_EQ(t.blinkPhase, c.phaseAfter) << "case " << &c - cases;
    }
}

}  // namespace
}  // namespace orvane
