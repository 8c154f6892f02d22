// The visible-state fingerprint and the blink tick.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "pictel/glass_commands.h"
#include "terminal/blink.h"
#include "terminal/fingerprint.h"

namespace orvane {
namespace {

// A terminal with one canvas and one placement, so every glass field has
// something to change.
Terminal sampleTerminal() {
    Terminal t;
    Canvas c;
    c.width = 2;
    c.height = 2;
    c.pixels.assign(4, 0xFF000000u);
    c.valid = true;
    storeCanvas(t.glass, 3, c);
    Cell& direct = t.grid[2][2];
    direct.fgDirect = direct.bgDirect = 1;
    direct.fgRgb = 0x010203;
    direct.bgRgb = 0x040506;
    t.glass.placements.push_back(Placement{3, 1, 0, 2, 0, 4, 0, true});
    return t;
}

Cell& cell(Terminal& t) { return t.grid[4][7]; }
Canvas& canvas(Terminal& t) { return t.glass.canvases.at(3); }
Placement& placement(Terminal& t) { return t.glass.placements[0]; }

struct Change {
    const char* name;
    bool visible;
    std::function<void(Terminal&)> apply;
};

TEST(Fingerprint, MovesWithEveryVisibleChangeOnly) {
    const Change changes[] = {
        {"character", true, [](Terminal& t) { cell(t).ch = u'x'; }},
        {"foreground", true, [](Terminal& t) { cell(t).fg = 3; }},
        {"background", true, [](Terminal& t) { cell(t).bg = 3; }},
        {"bold", true, [](Terminal& t) { cell(t).bold = 1; }},
        {"underline", true, [](Terminal& t) { cell(t).underline = 1; }},
        {"dim", true, [](Terminal& t) { cell(t).dim = 1; }},
        {"italic", true, [](Terminal& t) { cell(t).italic = 1; }},
        {"blink", true, [](Terminal& t) { cell(t).blink = 1; }},
        {"strike", true, [](Terminal& t) { cell(t).strike = 1; }},
        {"fgDirect", true, [](Terminal& t) { cell(t).fgDirect = 1; }},
        {"bgDirect", true, [](Terminal& t) { cell(t).bgDirect = 1; }},
        {"fgRgb", true, [](Terminal& t) { t.grid[2][2].fgRgb = 0x123456; }},
        {"bgRgb", true, [](Terminal& t) { t.grid[2][2].bgRgb = 0x123456; }},
        {"fgRgb and bgRgb swapped", true, [](Terminal& t) { std::swap(t.grid[2][2].fgRgb, t.grid[2][2].bgRgb); }},
        {"cells swapped", true, [](Terminal& t) { t.grid[0][0].ch = u'a', t.grid[0][1].ch = u'b'; }},
        {"cursorRow", true, [](Terminal& t) { t.cursorRow = 1; }},
        {"cursorCol", true, [](Terminal& t) { t.cursorCol = 1; }},
        {"bellFlashUntil", true, [](Terminal& t) { t.bellFlashUntil = 900; }},
        {"canvasBackground", true, [](Terminal& t) { t.glass.canvasBackground = 0; }},
        {"keyColourSet", true, [](Terminal& t) { t.glass.keyColourSet = true; }},
        {"origin rowRef", true, [](Terminal& t) { t.glass.glassOrigin.rowRef = 5; }},
        {"origin rowRefHundredths", true, [](Terminal& t) { t.glass.glassOrigin.rowRefHundredths = 5; }},
        {"origin colRef", true, [](Terminal& t) { t.glass.glassOrigin.colRef = 5; }},
        {"origin colRefHundredths", true, [](Terminal& t) { t.glass.glassOrigin.colRefHundredths = 5; }},
        {"placement canvasId", true, [](Terminal& t) { placement(t).canvasId = 4; }},
        {"placement row", true, [](Terminal& t) { placement(t).row = 9; }},
        {"placement rowHundredths", true, [](Terminal& t) { placement(t).rowHundredths = 9; }},
        {"placement col", true, [](Terminal& t) { placement(t).col = 9; }},
        {"placement colHundredths", true, [](Terminal& t) { placement(t).colHundredths = 9; }},
        {"placement widthCells", true, [](Terminal& t) { placement(t).widthCells = 9; }},
        {"placement widthHundredths", true, [](Terminal& t) { placement(t).widthHundredths = 9; }},
        {"placement visible", true, [](Terminal& t) { placement(t).visible = false; }},
        {"placement added", true, [](Terminal& t) { t.glass.placements.push_back(placement(t)); }},
        {"canvas width", true, [](Terminal& t) { canvas(t).width = 4; }},
        {"canvas height", true, [](Terminal& t) { canvas(t).height = 4; }},
        {"canvas valid", true, [](Terminal& t) { canvas(t).valid = false; }},
        {"canvas sourceCrc", true, [](Terminal& t) { canvas(t).sourceCrc = 7; }},
        {"canvas sourceLength", true, [](Terminal& t) { canvas(t).sourceLength = 7; }},
        {"canvas viewX", true, [](Terminal& t) { canvas(t).viewX = 1; }},
        {"canvas viewY", true, [](Terminal& t) { canvas(t).viewY = 1; }},
        {"canvas viewWidth", true, [](Terminal& t) { canvas(t).viewWidth = 1; }},
        {"canvas viewHeight", true, [](Terminal& t) { canvas(t).viewHeight = 1; }},
        {"canvas drawn on", true, [](Terminal& t) { dropCanvasBitmap(t.glass, 3); }},
        {"canvas id", true, [](Terminal& t) { t.glass.canvases[5] = canvas(t), t.glass.canvases.erase(3); }},
        {"canvas added", true, [](Terminal& t) { t.glass.canvases[9] = Canvas{}; }},
        {"fgRgb unused", false, [](Terminal& t) { cell(t).fgRgb = 0x123456; }},
        {"bgRgb unused", false, [](Terminal& t) { cell(t).bgRgb = 0x123456; }},
        {"pixels alone", false, [](Terminal& t) { canvas(t).pixels[0] = 0xFFFFFFFFu; }},
        {"pen", false, [](Terminal& t) { t.penFg = 2; }},
        {"line buffer", false, [](Terminal& t) { t.lineBuffer = u"abc"; }},
    };
    const uint64_t base = visibleStateFingerprint(sampleTerminal());
    EXPECT_EQ(visibleStateFingerprint(sampleTerminal()), base);
    for (const Change& c : changes) {
        Terminal t = sampleTerminal();
        c.apply(t);
        EXPECT_EQ(visibleStateFingerprint(t) != base, c.visible) << c.name;
    }
}

TEST(Fingerprint, TellsCellsApartByPosition) {
    Terminal ab;
    Terminal ba;
    ab.grid[0][0].ch = ba.grid[0][1].ch = u'a';
    ab.grid[0][1].ch = ba.grid[0][0].ch = u'b';
    EXPECT_NE(visibleStateFingerprint(ab), visibleStateFingerprint(ba));
    Terminal rowMoved;
    rowMoved.grid[1][0].ch = u'a';
    rowMoved.grid[1][1].ch = u'b';
    EXPECT_NE(visibleStateFingerprint(ab), visibleStateFingerprint(rowMoved));
}

TEST(Fingerprint, CanvasRevisionsNeverRepeatAcrossAReset) {
    Terminal t = sampleTerminal();
    const uint64_t before = canvas(t).revision;
    resetGlass(t);
    Canvas again;
    again.width = 2;
    again.height = 2;
    again.pixels.assign(4, 0xFFFFFFFFu);
    again.valid = true;
    storeCanvas(t.glass, 3, again);
    EXPECT_GT(canvas(t).revision, before);
    const uint64_t stored = canvas(t).revision;
    dropCanvasBitmap(t.glass, 3);
    EXPECT_GT(canvas(t).revision, stored);
}

struct BlinkCase {
    const char* name;
    bool cursorVisible;
    bool cursorBlink;
    bool cellBlinks;
    uint8_t phase;
    uint32_t now;
    uint32_t lastRx;
    bool repaint;
    uint8_t phaseAfter;
};

TEST(BlinkTick, TogglesSettlesOrWaits) {
    const BlinkCase cases[] = {
        {"blinking cursor hides", true, true, false, 1, 1000, 0, true, 0},
        {"blinking cursor shows", true, true, false, 0, 1000, 0, true, 1},
        {"steady cursor, nothing blinks", true, false, false, 1, 1000, 0, false, 1},
        {"steady cursor settles shown", true, false, false, 0, 1000, 0, true, 1},
        {"hidden blinking cursor settles", false, true, false, 0, 1000, 0, true, 1},
        {"hidden cursor, nothing blinks", false, true, false, 1, 1000, 0, false, 1},
        {"blinking cell", false, false, true, 1, 1000, 0, true, 0},
        {"blinking cell back", true, false, true, 0, 1000, 0, true, 1},
        {"data 249 ms ago", true, true, false, 0, 1000, 751, false, 0},
        {"data 250 ms ago", true, true, false, 0, 1000, 750, true, 1},
        {"data across the wrap", true, true, true, 1, 100, 0xFFFFFFF0u, false, 1},
        {"quiet across the wrap", true, true, false, 1, 300, 0xFFFFFFF0u, true, 0},
        {"data just before the wrap", true, true, false, 1, 0xFFFFFFF0u, 0xFFFFFFA0u, false, 1},
    };
    for (const BlinkCase& c : cases) {
        Terminal t;
        t.cursorVisible = c.cursorVisible;
        t.cursorBlink = c.cursorBlink;
        t.grid[size_t(t.rows - 1)][size_t(t.cols - 1)].blink = c.cellBlinks;
        t.blinkPhase = c.phase;
        EXPECT_EQ(blinkTick(t, c.now, c.lastRx), c.repaint) << c.name;
        EXPECT_EQ(t.blinkPhase, c.phaseAfter) << c.name;
    }
}

}  // namespace
}  // namespace orvane
