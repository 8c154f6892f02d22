// Grid operations called directly, as the main window and later input
// handling do, and the properties no script can see.
#include <gtest/gtest.h>

#include "terminal/terminal.h"

namespace orvane {
namespace {

void feedText(Terminal& t, const std::string& s) {
    feed(t, reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

TEST(Screen, ConstructionMatchesTheInitialState) {
    Terminal t;
    ASSERT_EQ(t.grid.size(), 25u);
    for (const Row& row : t.grid) {
        ASSERT_EQ(row.size(), 80u);
        for (const Cell& c : row) ASSERT_EQ(c, kDefaultBlank);
    }
    EXPECT_EQ(t.layerGeneration, 0u);
    EXPECT_EQ(t.scrollBottom, 24);
    ASSERT_EQ(t.tabStops.size(), 80u);
    for (int32_t c = 0; c < 80; ++c) EXPECT_EQ(t.tabStops[size_t(c)], c > 0 && c % 8 == 0) << c;
    EXPECT_EQ(t.palette, &kVgaPalette);
}

TEST(Screen, GeometryChangeResetsGridButKeepsPenAndModes) {
    Terminal t;
    feedText(t, "\x1b[1;31mtext\x1b(0\x1b[?7l\x1b[5;9H\x1b[3;6r");
    t.selecting = t.selectionPresent = 1;
    t.fontValid = 1;
    setGeometry(t, 132, 24);
    EXPECT_EQ(t.grid.size(), 24u);
    EXPECT_EQ(t.grid[0].size(), 132u);
    EXPECT_EQ(t.grid[0][0], kDefaultBlank);
    EXPECT_EQ(t.tabStops.size(), 132u);
    EXPECT_TRUE(t.tabStops[128]);
    EXPECT_EQ(t.scrollTop, 0);
    EXPECT_EQ(t.scrollBottom, 23);
    EXPECT_EQ(t.cursorRow, 0);
    EXPECT_EQ(t.penFg, 1);
    EXPECT_EQ(t.penBold, 1);
    EXPECT_EQ(t.charset, kCharsetDecGraphics);
    EXPECT_EQ(t.autoWrap, 0);
    EXPECT_EQ(t.fontValid, 0);
    EXPECT_EQ(t.geometryChanged, 1);
    EXPECT_EQ(t.selecting, 0);
    EXPECT_EQ(t.selectionPresent, 0);
    EXPECT_EQ(t.layerGeneration, 1u);
}

TEST(Screen, ClearScreenKeepsEverythingButTheCells) {
    Terminal t;
    feedText(t, "\x1b[44mabc\x1b[3;9r\x1b[?6h\x1b(0\x1b[1;80HX");
    t.lineBuffer = u"pending";
    clearScreen(t);
    for (const Row& row : t.grid)
        for (const Cell& c : row) ASSERT_EQ(c, kDefaultBlank);
    EXPECT_EQ(t.cursorRow, 0);
    EXPECT_EQ(t.cursorCol, 0);
    EXPECT_EQ(t.pendingWrap, 0);
    EXPECT_TRUE(t.lineBuffer.empty());
    EXPECT_EQ(t.penBg, 4);
    EXPECT_EQ(t.scrollTop, 2);
    EXPECT_EQ(t.originMode, 1);
    EXPECT_EQ(t.charset, kCharsetDecGraphics);
}

TEST(Screen, PutTextStopsAtTheTerminatingZero) {
    Terminal t;
    putText(t, u"h\u00e9llo");
    EXPECT_EQ(t.grid[0][1].ch, u'\u00e9');
    EXPECT_EQ(t.cursorCol, 5);
}

TEST(Screen, CursorSettingsFromTheSettingsFile) {
    Terminal t;
    const std::pair<const char*, int32_t> styles[] = {
        {"outline", 1}, {"double", 2}, {"doubleunderline", 2}, {"underline", 2},
        {"block", 0},   {"Outline", 0}, {"", 0},
    };
    for (const auto& [name, value] : styles) {
        t.dirty = 0;
        setCursorStyle(t, name);
        EXPECT_EQ(t.cursorStyle, value) << name;
        EXPECT_EQ(t.dirty, 1);
    }
    t.blinkPhase = 0;
    setCursorBlink(t, true);
    EXPECT_EQ(t.blinkPhase, 0);
    setCursorBlink(t, false);
    EXPECT_EQ(t.cursorBlink, 0);
    EXPECT_EQ(t.blinkPhase, 1);
}

// Rows are moved, not copied, and a row brought in is refilled in place:
// no row storage is lost or shared between two rows.
TEST(Screen, ScrollingKeepsEveryRowDistinct) {
    Terminal t;
    feedText(t, "\x1b[3;20r\x1b[20;1H");
    for (int i = 0; i < 1000; ++i) feedText(t, "line\n\x1b[L\x1b[M\x1bM");
    std::vector<const Cell*> seen;
    for (const Row& row : t.grid) {
        ASSERT_EQ(row.size(), 80u);
        seen.push_back(row.data());
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

// Counts near 2^31 must cost one screenful; done naively these would take
// minutes and hit the test timeout.
TEST(Screen, HugeCountsFinishAtOnce) {
    Terminal t;
    feedText(t, "abc");
    for (int i = 0; i < 200; ++i) {
        feedText(t, "\x1b[2147483647S\x1b[2147483647T\x1b[2147483647L\x1b[2147483647M"
                    "\x1b[2147483647I\x1b[2147483647Z\x1b[2147483647@\x1b[2147483647P"
                    "\x1b[2147483647X");
    }
    EXPECT_EQ(t.grid[0][0], kDefaultBlank);
    insertLines(t, INT32_MAX);
    deleteLines(t, INT32_MAX);
    eraseChars(t, INT32_MAX);
    insertChars(t, INT32_MAX);
    deleteChars(t, INT32_MAX);
    EXPECT_EQ(t.cursorCol, 0);
}

TEST(Screen, DirectCallsWithNonPositiveCountsChangeNothing) {
    Terminal t;
    feedText(t, "abcdef\x1b[1;2H");
    const auto before = t.grid;
    eraseChars(t, 0);
    insertChars(t, -5);
    deleteChars(t, INT32_MIN);
    EXPECT_EQ(t.grid, before);
}

}  // namespace
}  // namespace orvane
