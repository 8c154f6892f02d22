#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "render/fast_path_switch.h"
#include "render/paint_gate.h"
#include "render/row_diff.h"
#include "render_fakes.h"
#include "terminal/selection.h"

namespace orvane {
namespace {

// One letter per row: a row of three cells of that letter.
std::vector<Row> rowsOf(const std::string& letters) {
    std::vector<Row> rows;
    for (char c : letters) {
        rows.emplace_back(3);
        for (Cell& cell : rows.back()) cell.ch = char16_t(c);
    }
    return rows;
}

// The smallest upward scroll, then the changed rows (at most 64) of what is left.
TEST(RowDiff, ScrollThenDirtyRows) {
    const struct { const char* shadow; const char* grid; int32_t k; std::vector<int32_t> dirty; } cases[] = {
        {"ABCD", "BCDE", 1, {0, 1, 2, 3}}, {"ABCD", "CDEF", 2, {0, 1, 2, 3}}, {"ABCD", "DXYZ", 3, {0, 1, 2, 3}},
        {"AAAA", "AAAB", 1, {3}},     // identical rows, last one changed
        {"AAAA", "AAAA", 1, {}},      // unchanged identical rows read as a scroll
        {"ABAB", "ABAB", 2, {}},      // the first k that matches, not k = 0
        {"ABCD", "ABCD", 0, {}},      {"ABCD", "AXCY", 0, {1, 3}}, {"ABCD", "BCXE", 0, {0, 1, 2, 3}},
        {"ABCD", "XBCD", 0, {0}},     // down by one is never detected
        {"A", "B", 0, {0}},           {"", "", 0, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(detectScrollUp(rowsOf(c.grid), rowsOf(c.shadow)), c.k) << c.shadow << " -> " << c.grid;
        const DirtyRows d = listDirtyRows(rowsOf(c.grid), rowsOf(c.shadow));
        EXPECT_EQ(std::vector<int32_t>(d.index.begin(), d.index.begin() + d.count), c.dirty) << c.shadow << " -> " << c.grid;
    }
    const DirtyRows many = listDirtyRows(rowsOf(std::string(70, 'B')), rowsOf(std::string(70, 'A')));
    EXPECT_EQ(many.count, kMaxDirtyRows);
    EXPECT_EQ(many.index[63], 63);
}

TEST(PaintGate, BellShowsUntilItsTickAndZeroMeansNone) {
    const struct { uint32_t until, now; bool showing; } cases[] = {
        {0, 5, false}, {0, 0x90000000u, false}, {1700, 1699, true}, {1700, 1700, false}, {1700, 1701, false},
        {0x10, 0xFFFFFF00u, true},  // set just before the tick count wrapped
        {0xFFFFFF00u, 0x10, false},
    };
    for (const auto& c : cases) {
        Terminal t;
        t.bellFlashUntil = c.until;
        EXPECT_EQ(bellShowing(t, c.now), c.showing) << c.until << " at " << c.now;
    }
}

// The gate conditions that failed, by name.
std::string gatesOff(const GateFlags& g) {
    std::string off;
    for (const auto& [on, name] : {std::pair{g.buf, " buf"}, {g.cache, " cache"}, {g.shadow, " shadow"},
                                   {g.bbBare, " bbBare"}, {g.bare, " bare"}, {g.geom, " geom"}, {g.blink, " blink"}})
        if (!on) off += name;
    return off;
}

// After a paint of an unchanged 700 x 500 window every condition holds; each cause turns
// exactly the named one off.
TEST(PaintGate, EachConditionFailsOnItsOwnCause) {
    struct State {
        Terminal t;
        RenderCache cache;
        GateInputs in{true, false, 700, 500, 1000};
    };
    using S = State&;
    const std::pair<const char*, std::function<void(State&)>> cases[] = {
        {"", [](S) {}},                                       {"", [](S s) { s.t.bellFlashUntil = 1000; }},
        {" buf", [](S s) { s.in.haveBackBuffer = false; }},   {" cache", [](S s) { s.t.fontValid = 0; }},
        {" cache", [](S s) { s.cache.fitHeight = 499; }},     {" shadow", [](S s) { s.cache.shadowValid = false; }},
        {" bbBare", [](S s) { s.cache.bufferBare = false; }}, {" bare", [](S s) { s.in.backgroundImageLoaded = true; }},
        {" bare", [](S s) { s.t.glass.placements.emplace_back(); }}, {" bare", [](S s) { s.t.glass.keyColourSet = true; }},
        {" geom", [](S s) { s.cache.lastCols = 132; }},       {" geom", [](S s) { s.cache.lastRows = 24; }},
        {" geom", [](S s) { s.cache.lastWidth = 701; }},      {" geom", [](S s) { s.cache.lastHeight = 501; }},
        {" geom", [](S s) { s.cache.shadowRows.pop_back(); }}, {" blink", [](S s) { s.t.blinkPhase = 0; }},
        {" blink", [](S s) { s.t.selectionPresent = 1; }},    {" blink", [](S s) { s.t.bellFlashUntil = 1500; }},
    };
    for (const auto& [gate, cause] : cases) {
        State s;
        s.t.fontValid = 1;
        s.cache.fitWidth = s.cache.lastWidth = 700;
        s.cache.fitHeight = s.cache.lastHeight = 500;
        s.cache.lastCols = 80;
        s.cache.lastRows = 25;
        s.cache.shadowRows = s.t.grid;
        s.cache.shadowValid = s.cache.bufferBare = true;
        cause(s);
        const GateFlags g = evaluateGate(s.t, s.cache, s.in);
        EXPECT_EQ(gatesOff(g), gate);
        EXPECT_EQ(g.all(), gatesOff(g).empty()) << gate;
    }
}

TEST(FastPathSwitch, OnlyALeadingOneTurnsItOffReadOnceForTheRun) {
    const std::pair<const char*, bool> cases[] = {{nullptr, true}, {"1", false}, {"10", false}, {"1yes", false},
                                                  {"0", true},     {"", true},   {" 1", true},  {"yes", true}};
    for (const auto& [value, allowed] : cases)
        EXPECT_EQ(fastPathFromEnvironment(value), allowed) << (value ? value : "(unset)");
    // The only place in this program that asks the process-wide switch.
    for (const char* value : {"1", "0"}) {
#ifdef _WIN32
        _putenv_s("ORVANE_NOFAST", value);
#else
        setenv("ORVANE_NOFAST", value, 1);
#endif
        EXPECT_FALSE(fastPathAllowed()) << value;
    }
}

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

// "S1 3" (scroll by 1, row 3 drawn), "D 1 3" (dirty rows), "F 0 1 2 3 geom" (full, then the
// gate conditions that failed).
std::string summary(const PaintOutcome& out) {
    std::string s = out.path == PaintPath::kScroll ? "S" + std::to_string(out.scrollLines)
                    : out.path == PaintPath::kDirtyRows ? "D" : "F";
    for (int32_t r : out.rowsDrawn) s += " " + std::to_string(r);
    return s + gatesOff(out.gate);
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
    const struct { const char* what; Change change; const char* expected; Change before = [](Painter&) {}; } cases[] = {
        {"line feed at the bottom", [](Painter& p) { feedText(p.t, "\r\ne"); }, "S1 3"},
        {"two lines scrolled in", [](Painter& p) { feedText(p.t, "\r\ne\r\nf"); }, "S2 2 3"},
        {"identical rows, last one changed", [](Painter& p) { p.t.grid[3][0].ch = u'z'; }, "S1 3",
         [](Painter& p) { clearScreen(p.t); }},
        {"two rows changed", [&](Painter& p) { x(p); p.t.grid[3][5].fg = 2; }, "D 1 3"},
        {"nothing changed", [](Painter&) {}, "F 0 1 2 3"},
        {"every row changed", [](Painter& p) { for (Row& r : p.t.grid) r[9].ch = u'!'; }, "F 0 1 2 3"},
        {"bell long over", [&](Painter& p) { x(p); p.t.bellFlashUntil = 999; }, "D 1"},
        {"fast paths switched off", [&](Painter& p) { x(p); p.request.fastPathAllowed = false; }, "F 0 1 2 3"},
        {"hidden blink phase held", x, "D 1", [](Painter& p) { p.t.blinkPhase = 0; }},
        {"a frame on the screen leaves no picture to build on", [&](Painter& p) { x(p); p.host.bufferAvailable = true; },
         "F 0 1 2 3 shadow bbBare", [](Painter& p) { p.host.bufferAvailable = false; }},
        {"palette changed", [&](Painter& p) { x(p); setPalette(p.t, "PuTTY"); }, "F 0 1 2 3 shadow bbBare"},
        {"background image just removed", [&](Painter& p) { x(p); p.host.backgroundLoaded = false; }, "F 0 1 2 3 bbBare",
         [](Painter& p) { p.host.backgroundLoaded = true; }},
        {"the bell's flash just ended", [&](Painter& p) { x(p); p.request.now = 1700; }, "F 0 1 2 3 shadow bbBare",
         [](Painter& p) { p.t.bellFlashUntil = 1700; }},
    };
    for (const auto& c : cases) {
        Painter p;
        c.before(p);
        EXPECT_NE(summary(p.paint()).find("shadow bbBare"), std::string::npos) << c.what;  // nothing yet
        c.change(p);
        const PaintOutcome out = p.paint();
        EXPECT_EQ(summary(out), c.expected) << c.what;
        EXPECT_EQ(out.eligible, out.gate.all() && p.request.fastPathAllowed) << c.what;
        EXPECT_FALSE(out.bellDrawn) << c.what;
    }
}

TEST(PaintTerminal, FramesDrawnExactly) {
    Painter p;
    const PaintOutcome first = p.paint();
    EXPECT_TRUE(first.refitted);
    EXPECT_EQ(p.bufferLog(), "f16;F 0,0,86,70 2d2d2d;F 3,3,83,67 000000;" + kAllRows);
    EXPECT_EQ(p.host.screen.log, "P 0,0 86,70;I 11,51,19,67;");  // the cursor after "d", on the screen only
    // Readings 1..5: start, before composing, composed, rendered, end.
    EXPECT_EQ(std::vector<int64_t>({first.ticks.composite, first.ticks.render, first.ticks.blit, first.ticks.total}),
              std::vector<int64_t>({1, 1, 1, 4}));
    feedText(p.t, "\r\ne");
    EXPECT_FALSE(p.paint().refitted);
    EXPECT_EQ(p.bufferLog(), "f16;C 3,19,83,67>3,3;" + rowOps(3, "e         "));
    p.t.bellFlashUntil = 1700;
    EXPECT_TRUE(p.paint().bellDrawn);
    EXPECT_TRUE(p.bufferLog().ends_with("F 67,3,83,35 28c8ff;")) << p.bufferLog();
    p.t.bellFlashUntil = 0;
    p.host.bufferAvailable = false;
    p.paint();
    EXPECT_EQ(p.host.screen.log, "f16;F 3,3,83,67 000000;" + rowOps(0, "b         ") + rowOps(1, "c         ") +
                                     rowOps(2, "d         ") + rowOps(3, "e         ") + "I 11,51,19,67;");
    setGeometry(p.t, 20, 4);  // twice the columns in the same window: refitted to half the cell width
    EXPECT_TRUE(p.paint().refitted);
    EXPECT_EQ((CellMetrics{p.cache.cellWidth, p.cache.cellHeight}), (CellMetrics{4, 9}));

    Terminal t;  // 80 x 25 in a window too small for 4 px: the OEM font, overflowing
    RenderCache cache;
    FakeHost host;
    EXPECT_EQ(paintTerminal(t, cache, host, {{0, 0, 300, 100}, 0, true}).rowsDrawn.size(), 25u);
    EXPECT_TRUE(host.buffer->log.starts_with("f0;F 0,0,300,100 2d2d2d;F 3,3,643,303 000000;")) << host.buffer->log;
}

TEST(PaintTerminal, LayerCacheOnlyWhenTheFastPathIsAllowed) {
    for (bool allowed : {true, false}) {
        Painter p;
        p.host.layerCacheAvailable = true;
        p.request.fastPathAllowed = allowed;
        EXPECT_EQ(p.paint().layerCacheUsed, allowed);
    }
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
