#include <gtest/gtest.h>

#include <functional>

#include "render_fakes.h"
#include "terminal/selection.h"

namespace orvane {
namespace {

void feedText(Terminal& t, const std::string& bytes) { feed(t, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()); }

// A 10 x 4 grid in an 86 x 70 window: 8 x 16 cells at (3, 3), font 16 px.
struct Painter {
    Terminal t;
    RenderCache cache;
    FakeHost host;
    PaintRequest request{{0, 0, 86, 70}, 1000, true};
    Painter() {
        setGeometry(t, 10, 4);
        feedText(t, "a\r\nb\r\nc\r\nd");
    }
    PaintOutcome paint() { return paintTerminal(t, cache, host, request); }
    std::string bufferLog() const { return host.buffer ? host.buffer->log : ""; }
};

// "S1 3" (scroll by 1, row 3 drawn), "D 1 3" (dirty rows), "F 0 1 2 3 geom"
// (full, then the gate conditions that failed).
std::string summary(const PaintOutcome& out) {
    std::string s = out.path == PaintPath::kScroll ? "S" + std::to_string(out.scrollLines)
                    : out.path == PaintPath::kDirtyRows ? "D" : "F";
    for (int32_t r : out.rowsDrawn) s += " " + std::to_string(r);
    const GateFlags& g = out.gate;
    for (const auto& [on, name] : {std::pair{g.buf, " buf"}, {g.cache, " cache"}, {g.shadow, " shadow"},
                                   {g.bbBare, " bbBare"}, {g.bare, " bare"}, {g.geom, " geom"}, {g.blink, " blink"}})
        if (!on) s += name;
    return s;
}

// The fill and text of one row of the 10 x 4 grid.
std::string rowOps(int32_t row, const char* text) {
    const std::string top = std::to_string(3 + 16 * row);
    return "F 3," + top + ",83," + std::to_string(19 + 16 * row) + " 000000;T 3," + top + " c0c0c0 g'" + text + "';";
}
const std::string kAllRows = rowOps(0, "a         ") + rowOps(1, "b         ") + rowOps(2, "c         ") + rowOps(3, "d         ");

TEST(PaintTerminal, SecondPaintTakesTheCheapestSafePath) {
    using Change = std::function<void(Painter&)>;
    const auto x = [](Painter& p) { p.t.grid[1][0].ch = u'X'; };  // one row changed
    const struct {
        const char* what;
        Change change;
        const char* expected;
        Change before = [](Painter&) {};
    } cases[] = {
        {"line feed at the bottom", [](Painter& p) { feedText(p.t, "\r\ne"); }, "S1 3"},
        {"two lines scrolled in", [](Painter& p) { feedText(p.t, "\r\ne\r\nf"); }, "S2 2 3"},
        {"identical rows, last one changed", [](Painter& p) { p.t.grid[3][0].ch = u'z'; }, "S1 3",
         [](Painter& p) { clearScreen(p.t); }},
        {"two rows changed", [](Painter& p) { p.t.grid[1][0].ch = u'X'; p.t.grid[3][5].fg = 2; }, "D 1 3"},
        {"nothing changed", [](Painter&) {}, "F 0 1 2 3"},
        {"every row changed", [](Painter& p) { for (Row& r : p.t.grid) r[9].ch = u'!'; }, "F 0 1 2 3"},
        {"background image", [&](Painter& p) { x(p); p.host.backgroundLoaded = true; }, "F 0 1 2 3 bare"},
        {"glass placement", [&](Painter& p) { x(p); p.t.glass.placements.emplace_back(); }, "F 0 1 2 3 bare"},
        {"key colour", [&](Painter& p) { x(p); p.t.glass.keyColourSet = true; }, "F 0 1 2 3 bare"},
        {"selection", [&](Painter& p) { x(p); selectAll(p.t); }, "F 0 1 2 3 blink"},
        {"blink phase", [&](Painter& p) { x(p); p.t.blinkPhase = 0; }, "F 0 1 2 3 blink"},
        {"bell showing", [&](Painter& p) { x(p); p.t.bellFlashUntil = 1700; }, "F 0 1 2 3 blink"},
        {"bell long over", [&](Painter& p) { x(p); p.t.bellFlashUntil = 999; }, "D 1"},
        {"palette changed", [&](Painter& p) { x(p); setPalette(p.t, "PuTTY"); }, "F 0 1 2 3 shadow bbBare"},
        {"shadow invalidated", [&](Painter& p) { x(p); invalidateShadow(p.cache); }, "F 0 1 2 3 shadow bbBare"},
        {"window resized", [&](Painter& p) { x(p); p.request.paint.right = 90; }, "F 0 1 2 3 geom"},
        {"back buffer refused", [&](Painter& p) { x(p); p.host.bufferAvailable = false; }, "F 0 1 2 3 buf"},
        {"fast paths switched off", [&](Painter& p) { x(p); p.request.fastPathAllowed = false; }, "F 0 1 2 3"},
        {"grid resized", [](Painter& p) { setGeometry(p.t, 10, 3); }, "F 0 1 2 geom"},
        {"background image just removed", [&](Painter& p) { x(p); p.host.backgroundLoaded = false; },
         "F 0 1 2 3 bbBare", [](Painter& p) { p.host.backgroundLoaded = true; }},
        {"hidden blink phase held", x, "D 1", [](Painter& p) { p.t.blinkPhase = 0; }},
    };
    for (const auto& c : cases) {
        Painter p;
        c.before(p);
        EXPECT_TRUE(summary(p.paint()).starts_with("F 0 1 2 3 shadow bbBare")) << c.what;  // nothing to build on yet
        c.change(p);
        const PaintOutcome out = p.paint();
        EXPECT_EQ(summary(out), c.expected) << c.what;
        EXPECT_EQ(out.eligible, out.gate.all() && p.request.fastPathAllowed) << c.what;
    }
}

TEST(PaintTerminal, FullScrollAndTinyFramesDrawnExactly) {
    Painter p;
    const PaintOutcome first = p.paint();
    EXPECT_EQ(p.bufferLog(), "f16;F 0,0,86,70 2d2d2d;F 3,3,83,67 000000;" + kAllRows);
    EXPECT_EQ(p.host.screen.log, "P 0,0 86,70;I 11,51,19,67;");  // the cursor after "d", on the screen only
    // Readings 1..5: start, before composing, composed, rendered, end.
    EXPECT_EQ(std::vector<int64_t>({first.ticks.composite, first.ticks.render, first.ticks.blit, first.ticks.total}),
              std::vector<int64_t>({1, 1, 1, 4}));
    feedText(p.t, "\r\ne");
    p.paint();
    EXPECT_EQ(p.bufferLog(), "f16;C 3,19,83,67>3,3;" + rowOps(3, "e         "));

    Terminal t;  // 80 x 25 in a window too small for 4 px: the OEM font, overflowing
    RenderCache cache;
    FakeHost host;
    EXPECT_EQ(paintTerminal(t, cache, host, {{0, 0, 300, 100}, 0, true}).rowsDrawn.size(), 25u);
    EXPECT_TRUE(host.buffer->log.starts_with("f0;F 0,0,300,100 2d2d2d;F 3,3,643,303 000000;")) << host.buffer->log;
}

TEST(PaintTerminal, RefitsOnlyWhenTheWindowOrGridChanges) {
    Painter p;
    EXPECT_TRUE(p.paint().refitted);
    EXPECT_FALSE(p.paint().refitted);
    setGeometry(p.t, 20, 4);  // twice the columns in the same window: half the cell width
    EXPECT_TRUE(p.paint().refitted);
    EXPECT_EQ((CellMetrics{p.cache.cellWidth, p.cache.cellHeight}), (CellMetrics{4, 9}));
}

TEST(PaintTerminal, LayerCacheOnlyWhenTheFastPathIsAllowed) {
    for (bool allowed : {true, false}) {
        Painter p;
        p.host.layerCacheAvailable = true;
        p.request.fastPathAllowed = allowed;
        EXPECT_EQ(p.paint().layerCacheUsed, allowed);
    }
}

TEST(PaintTerminal, BellIsDrawnWithTheTextAndForcesAFullPaintAfter) {
    Painter p;
    p.paint();
    p.t.bellFlashUntil = 1700;
    EXPECT_TRUE(p.paint().bellDrawn);
    EXPECT_TRUE(p.bufferLog().ends_with("F 67,3,83,35 28c8ff;"));
    p.request.now = 1700;  // the flash is over
    p.t.grid[1][0].ch = u'X';
    const PaintOutcome out = p.paint();
    EXPECT_EQ(summary(out), "F 0 1 2 3 shadow bbBare");
    EXPECT_FALSE(out.bellDrawn);
    p.t.grid[1][0].ch = u'Y';
    EXPECT_EQ(summary(p.paint()), "D 1");
}

TEST(PaintTerminal, WithoutBackBufferTheFrameGoesToTheScreen) {
    Painter p;
    p.host.bufferAvailable = false;
    p.paint();
    EXPECT_EQ(p.host.screen.log, "f16;F 3,3,83,67 000000;" + kAllRows + "I 11,51,19,67;");
    p.host.bufferAvailable = true;  // a new back buffer holds nothing yet: its first frame is full
    p.t.grid[1][0].ch = u'X';
    EXPECT_EQ(summary(p.paint()), "F 0 1 2 3 shadow bbBare");
}

TEST(PaintTerminal, OffsetPaintRectangleAndOverlaysOnlyOnTheScreen) {
    Painter p;
    p.request.paint = {10, 20, 96, 90};
    p.t.selectionPresent = 1;
    p.t.selectionCaret = {0, 1};
    p.t.noticeText = u"hi";
    p.t.noticeUntil = 2000;
    p.paint();
    EXPECT_EQ(p.bufferLog(), "f16;F 0,0,86,70 2d2d2d;F 3,3,83,67 000000;" + kAllRows);
    EXPECT_EQ(p.host.screen.log, "P 10,20 86,70;I 21,71,29,87;I 13,23,29,39;M n'hi';F 23,45,55,77 141414;"
                                 "R 23,45,55,77 5a5a5a;T 31,53 82ebeb n'hi';");
}

}  // namespace
}  // namespace orvane
