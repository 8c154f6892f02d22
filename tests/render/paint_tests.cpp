#include <gtest/gtest.h>

#include <functional>

#include "render/paint_terminal.h"
#include "render/render_cache.h"
#include "render_fakes.h"
#include "terminal/selection.h"

namespace orvane {
namespace {

void feedText(Terminal& t, const std::string& bytes) {
    feed(t, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// A 10 x 4 grid in an 86 x 70 window: 8 x 16 cells at (3, 3), font 16 px.
struct Painter {
    Terminal t;
    RenderCache cache;
    FakePaintHost host;
    PaintRequest request{{0, 0, 86, 70}, 1000, true};

    Painter() {
        setGeometry(t, 10, 4);
        feedText(t, "a\r\nb\r\nc\r\nd");
    }
    PaintOutcome paint() {
        host.clearLogs();
        return paintTerminal(t, cache, host, request);
    }
};

std::string falseGates(const GateFlags& g) {
    std::string names;
    const std::pair<bool, const char*> flags[] = {{g.buf, "buf"},     {g.cache, "cache"},
                                                  {g.shadow, "shadow"}, {g.bbBare, "bbBare"},
                                                  {g.bare, "bare"},   {g.geom, "geom"},
                                                  {g.blink, "blink"}};
    for (const auto& [on, name] : flags)
        if (!on) names += names.empty() ? name : std::string(" ") + name;
    return names;
}

std::string rowOps(int32_t row, const char* text) {
    const std::string top = std::to_string(3 + 16 * row);
    const std::string bottom = std::to_string(19 + 16 * row);
    return "fill 3," + top + ",83," + bottom + " 000000|text 3," + top + " c0c0c0 g '" + text + "'";
}

std::vector<std::string> split(const std::string& joined) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t bar; (bar = joined.find('|', from)) != std::string::npos; from = bar + 1)
        parts.push_back(joined.substr(from, bar - from));
    parts.push_back(joined.substr(from));
    return parts;
}

std::vector<std::string> joinedOps(std::initializer_list<std::string> groups) {
    std::vector<std::string> ops;
    for (const std::string& g : groups)
        for (const std::string& op : split(g)) ops.push_back(op);
    return ops;
}

struct RepaintCase {
    const char* what;
    std::function<void(Painter&)> change;
    PaintPath path;
    int32_t scroll;
    std::vector<int32_t> rowsDrawn;
    const char* gatesOff;
    std::function<void(Painter&)> before = {};
};

TEST(PaintTerminal, SecondPaintTakesTheCheapestSafePath) {
    const std::vector<int32_t> all = {0, 1, 2, 3};
    const std::vector<RepaintCase> cases = {
        {"line feed at the bottom", [](Painter& p) { feedText(p.t, "\r\ne"); }, PaintPath::kScroll,
         1, {3}, ""},
        {"two lines scrolled in", [](Painter& p) { feedText(p.t, "\r\ne\r\nf"); },
         PaintPath::kScroll, 2, {2, 3}, ""},
        {"identical rows, last one changed", [](Painter& p) { p.t.grid[3][0].ch = u'z'; },
         PaintPath::kScroll, 1, {3}, "", [](Painter& p) { clearScreen(p.t); }},
        {"two rows changed", [](Painter& p) { p.t.grid[1][0].ch = u'X'; p.t.grid[3][5].fg = 2; },
         PaintPath::kDirtyRows, 0, {1, 3}, ""},
        {"nothing changed", [](Painter&) {}, PaintPath::kFull, 0, all, ""},
        {"every row changed", [](Painter& p) { for (Row& r : p.t.grid) r[9].ch = u'!'; },
         PaintPath::kFull, 0, all, ""},
        {"background image", [](Painter& p) { p.t.grid[1][0].ch = u'X'; p.host.backgroundLoaded = true; },
         PaintPath::kFull, 0, all, "bare"},
        {"glass placement", [](Painter& p) { p.t.grid[1][0].ch = u'X'; p.t.glass.placements.emplace_back(); },
         PaintPath::kFull, 0, all, "bare"},
        {"key colour", [](Painter& p) { p.t.grid[1][0].ch = u'X'; p.t.glass.keyColourSet = true; },
         PaintPath::kFull, 0, all, "bare"},
        {"selection", [](Painter& p) { p.t.grid[1][0].ch = u'X'; selectAll(p.t); },
         PaintPath::kFull, 0, all, "blink"},
        {"blink phase", [](Painter& p) { p.t.grid[1][0].ch = u'X'; p.t.blinkPhase = 0; },
         PaintPath::kFull, 0, all, "blink"},
        {"bell showing", [](Painter& p) { p.t.grid[1][0].ch = u'X'; p.t.bellFlashUntil = 1700; },
         PaintPath::kFull, 0, all, "blink"},
        {"bell long over", [](Painter& p) { p.t.grid[1][0].ch = u'X'; p.t.bellFlashUntil = 999; },
         PaintPath::kDirtyRows, 0, {1}, ""},
        {"palette changed", [](Painter& p) { p.t.grid[1][0].ch = u'X'; setPalette(p.t, "PuTTY"); },
         PaintPath::kFull, 0, all, "shadow bbBare"},
        {"shadow invalidated", [](Painter& p) { p.t.grid[1][0].ch = u'X'; invalidateShadow(p.cache); },
         PaintPath::kFull, 0, all, "shadow bbBare"},
        {"window resized", [](Painter& p) { p.t.grid[1][0].ch = u'X'; p.request.paint.right = 90; },
         PaintPath::kFull, 0, all, "geom"},
        {"back buffer refused", [](Painter& p) { p.t.grid[1][0].ch = u'X'; p.host.bufferAvailable = false; },
         PaintPath::kFull, 0, all, "buf"},
        {"grid resized", [](Painter& p) { setGeometry(p.t, 10, 3); },
         PaintPath::kFull, 0, {0, 1, 2}, "geom"},
        {"background image just removed", [](Painter& p) { p.t.grid[1][0].ch = u'X'; p.host.backgroundLoaded = false; },
         PaintPath::kFull, 0, all, "bbBare", [](Painter& p) { p.host.backgroundLoaded = true; }},
        {"hidden blink phase held", [](Painter& p) { p.t.grid[1][0].ch = u'X'; },
         PaintPath::kDirtyRows, 0, {1}, "", [](Painter& p) { p.t.blinkPhase = 0; }},
    };
    for (const RepaintCase& c : cases) {
        Painter p;
        if (c.before) c.before(p);
        const PaintOutcome first = p.paint();
        EXPECT_EQ(first.path, PaintPath::kFull) << c.what;
        EXPECT_TRUE(falseGates(first.gate).starts_with("shadow bbBare")) << c.what;
        c.change(p);
        const PaintOutcome second = p.paint();
        EXPECT_EQ(second.path, c.path) << c.what;
        EXPECT_EQ(second.scrollLines, c.scroll) << c.what;
        EXPECT_EQ(second.rowsDrawn, c.rowsDrawn) << c.what;
        EXPECT_EQ(falseGates(second.gate), c.gatesOff) << c.what;
        EXPECT_EQ(second.eligible, std::string(c.gatesOff).empty()) << c.what;
    }
}

TEST(PaintTerminal, FirstPaintFitsAndDrawsEveryLayer) {
    Painter p;
    const PaintOutcome out = p.paint();
    EXPECT_TRUE(out.refitted);
    EXPECT_EQ(p.cache.fontPixelSize, 16);
    EXPECT_EQ(p.host.buffer.ops,
              joinedOps({"buffer 86,70|font 16|fill 0,0,86,70 2d2d2d|fill 3,3,83,67 000000|"
                         "layers 3,3,83,67",
                         rowOps(0, "a         "), rowOps(1, "b         "), rowOps(2, "c         "),
                         rowOps(3, "d         ")}));
    // Cursor after the "d": a block on the screen only.
    EXPECT_EQ(p.host.screen.ops, joinedOps({"present 0,0 86,70", "invert 11,51,19,67"}));
    EXPECT_FALSE(p.paint().refitted);
    // Twice the columns in the same window: half the cell width.
    setGeometry(p.t, 20, 4);
    EXPECT_TRUE(p.paint().refitted);
    EXPECT_EQ(p.cache.cellWidth, 4);
    EXPECT_EQ(p.cache.cellHeight, 9);
    EXPECT_TRUE(p.t.fontValid);
}

TEST(PaintTerminal, LineFeedAtTheBottomIsOneCopyAndOneRow) {
    Painter p;
    p.paint();
    feedText(p.t, "\r\ne");
    p.paint();
    EXPECT_EQ(p.host.buffer.ops,
              joinedOps({"buffer 86,70|font 16|copy 3,19,83,67 to 3,3", rowOps(3, "e         ")}));
    EXPECT_EQ(p.host.screen.ops, joinedOps({"present 0,0 86,70", "invert 11,51,19,67"}));
}

TEST(PaintTerminal, LayerCacheOnlyWhenTheFastPathIsAllowed) {
    for (bool allowed : {true, false}) {
        Painter p;
        p.host.layerCacheAvailable = true;
        p.request.fastPathAllowed = allowed;
        EXPECT_EQ(p.paint().layerCacheUsed, allowed);
        EXPECT_EQ(p.host.buffer.ops[2], allowed ? "layercache 86,70 grid 3,3,83,67 cell 8,16"
                                                : "fill 0,0,86,70 2d2d2d");
        EXPECT_EQ(p.host.buffer.opsStartingWith("fill 3,3,83,67 ").size(), allowed ? 0u : 1u);
        EXPECT_EQ(p.host.buffer.opsStartingWith("layers ").size(), allowed ? 0u : 1u);
    }
}

TEST(PaintTerminal, BellIsDrawnWithTheTextAndForcesAFullPaintAfter) {
    Painter p;
    p.paint();
    p.t.bellFlashUntil = 1700;
    PaintOutcome out = p.paint();
    EXPECT_TRUE(out.bellDrawn);
    EXPECT_EQ(p.host.buffer.ops.back(), "bell 3,3");
    p.request.now = 1700;  // the flash is over
    p.t.grid[1][0].ch = u'X';
    out = p.paint();
    EXPECT_FALSE(out.bellDrawn);
    EXPECT_EQ(out.path, PaintPath::kFull);
    EXPECT_EQ(falseGates(out.gate), "shadow bbBare");
    p.t.grid[1][0].ch = u'Y';
    EXPECT_EQ(p.paint().path, PaintPath::kDirtyRows);

    // 0 means no bell, even where the tick difference looks negative.
    p.t.bellFlashUntil = 0;
    p.request.now = 0x90000000u;
    out = p.paint();
    EXPECT_FALSE(out.bellDrawn);
    EXPECT_TRUE(out.gate.blink);
}

TEST(PaintTerminal, WithoutBackBufferTheFrameGoesToTheScreen) {
    Painter p;
    p.host.bufferAvailable = false;
    p.paint();
    EXPECT_TRUE(p.host.buffer.ops.empty());
    EXPECT_EQ(p.host.screen.ops,
              joinedOps({"font 16|fill 3,3,83,67 000000|layers 3,3,83,67",
                         rowOps(0, "a         "), rowOps(1, "b         "), rowOps(2, "c         "),
                         rowOps(3, "d         "), "invert 11,51,19,67"}));
    // A new back buffer holds nothing yet: its first frame is full.
    p.host.bufferAvailable = true;
    p.t.grid[1][0].ch = u'X';
    EXPECT_EQ(p.paint().path, PaintPath::kFull);
    p.t.grid[1][0].ch = u'Y';
    EXPECT_EQ(p.paint().path, PaintPath::kDirtyRows);
}

TEST(PaintTerminal, TinyWindowUsesTheOemFontAndOverflows) {
    Terminal t;  // 80 x 25
    RenderCache cache;
    FakePaintHost host;
    const PaintOutcome out = paintTerminal(t, cache, host, {{0, 0, 300, 100}, 0, true});
    EXPECT_EQ(cache.fontPixelSize, 0);
    EXPECT_EQ(cache.cellWidth, 8);
    EXPECT_EQ(cache.cellHeight, 12);
    EXPECT_EQ(host.buffer.ops[1], "font 0");
    EXPECT_EQ(host.buffer.ops[3], "fill 3,3,643,303 000000");
    EXPECT_EQ(out.rowsDrawn.size(), 25u);
}

TEST(PaintTerminal, OffsetPaintRectangleAndOverlaysOnlyOnTheScreen) {
    Painter p;
    p.request.paint = {10, 20, 96, 90};
    p.t.selectionPresent = 1;
    p.t.selectionCaret = {0, 1};
    p.t.noticeText = u"hi";
    p.t.noticeUntil = 2000;
    p.paint();
    EXPECT_EQ(p.host.buffer.ops[3], "fill 3,3,83,67 000000");  // buffer coordinates
    EXPECT_TRUE(p.host.buffer.opsStartingWith("invert").empty());
    EXPECT_TRUE(p.host.buffer.opsStartingWith("measure").empty());
    EXPECT_EQ(p.host.screen.ops,
              joinedOps({"present 10,20 86,70", "invert 21,71,29,87", "invert 13,23,29,39",
                         "measure n 'hi'|fill 23,45,55,77 141414|frame 23,45,55,77 5a5a5a|"
                         "text 31,53 82ebeb n 'hi'"}));
}

TEST(PaintTerminal, NoFastPathNeverScrolls) {
    Painter p;
    p.request.fastPathAllowed = false;
    for (int i = 0; i < 3; ++i) {
        feedText(p.t, "\r\nz");
        const PaintOutcome out = p.paint();
        EXPECT_EQ(out.path, PaintPath::kFull);
        EXPECT_FALSE(out.eligible);
        EXPECT_EQ(out.rowsDrawn.size(), 4u);
    }
}

TEST(PaintTerminal, PhaseTimesFromTheHostCounter) {
    Painter p;
    // Readings 1..5: start, before composing, composed, rendered, end.
    const PaintOutcome out = p.paint();
    EXPECT_EQ(out.ticks.composite, 1);
    EXPECT_EQ(out.ticks.render, 1);
    EXPECT_EQ(out.ticks.blit, 1);
    EXPECT_EQ(out.ticks.total, 4);
}

}  // namespace
}  // namespace orvane
