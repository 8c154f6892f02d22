#include <gtest/gtest.h>

#include <functional>

#include "render/draw_row.h"
#include "render_fakes.h"

namespace orvane {
namespace {

// VGA colours as stored (0x00BBGGRR).
constexpr const char* kBlack = "000000";
constexpr const char* kGrey = "c0c0c0";      // 7
constexpr const char* kRed = "000080";       // 1
constexpr const char* kBrightRed = "0000ff"; // 9

Cell cellWith(char16_t ch, const std::function<void(Cell&)>& set = {}) {
    Cell c;
    c.ch = ch;
    if (set) set(c);
    return c;
}

struct RowCase {
    const char* what;
    std::vector<Cell> cells;
    std::vector<std::string> ops;
    std::function<void(Terminal&, UnderText&)> setup = {};
};

// Row 1 of a terminal at x0 = 3, y0 = 5 with 8 x 16 cells: top 21, bottom 37.
std::vector<std::string> drawnOps(const RowCase& c) {
    Terminal t;
    t.grid[1] = c.cells;
    UnderText under = underTextOf(t, false);
    if (c.setup) c.setup(t, under);
    RecordingSurface s;
    drawRow(t, s, 1, 3, 5, {8, 16}, under);
    return s.ops;
}

std::string fill(int32_t l, int32_t r, const char* colour) {
    return "fill " + std::to_string(l) + ",21," + std::to_string(r) + ",37 " + colour;
}
std::string text(int32_t x, const char* colour, const char* s, char font = 'g') {
    return "text " + std::to_string(x) + ",21 " + colour + " " + font + " '" + s + "'";
}

TEST(DrawRow, RunsOfEqualAttributesWithTheirColours) {
    auto bold = [](Cell& c) { c.bold = 1; };
    const std::vector<RowCase> cases = {
        {"one run, characters may differ",
         {cellWith(u'a'), cellWith(u'b'), cellWith(u' ')},
         {fill(3, 27, kBlack), text(3, kGrey, "ab ")}},
        {"a new run at each attribute change",
         {cellWith(u'a'), cellWith(u'b', [](Cell& c) { c.fg = 1; }), cellWith(u'c', [](Cell& c) { c.fg = 1; }),
          cellWith(u'd', [](Cell& c) { c.bg = 1; })},
         {fill(3, 11, kBlack), text(3, kGrey, "a"), fill(11, 27, kBlack), text(11, kRed, "bc"),
          fill(27, 35, kRed), text(27, kGrey, "d")}},
        {"bold brightens indexes 0-7 only",
         {cellWith(u'a', [](Cell& c) { c.fg = 1; c.bold = 1; }),
          cellWith(u'b', [](Cell& c) { c.fg = 9; c.bold = 1; }),
          cellWith(u'c', [](Cell& c) { c.fg = 9; })},
         {fill(3, 11, kBlack), text(3, kBrightRed, "a"), fill(11, 19, kBlack),
          text(11, kBrightRed, "b"), fill(19, 27, kBlack), text(19, kBrightRed, "c")}},
        {"bold with a direct colour is not brightened",
         {cellWith(u'a', [&](Cell& c) { bold(c); c.fg = 1; c.fgDirect = 1; c.fgRgb = 0x123456; })},
         {fill(3, 11, kBlack), text(3, "123456", "a")}},
        {"direct background",
         {cellWith(u'a', [](Cell& c) { c.bgDirect = 1; c.bgRgb = 0xa0b0c0; })},
         {fill(3, 11, "a0b0c0"), text(3, kGrey, "a")}},
        {"dim averages each channel with the background",
         {cellWith(u'a', [](Cell& c) { c.dim = 1; c.bg = 1; })},
         {fill(3, 11, kRed), text(3, "6060a0", "a")}},
        {"dim after bold", {cellWith(u'a', [](Cell& c) { c.dim = 1; c.bold = 1; c.fg = 0; c.bg = 7; })},
         {fill(3, 11, kGrey), text(3, "a0a0a0", "a")}},
        {"italic uses the italic font", {cellWith(u'a', [](Cell& c) { c.italic = 1; })},
         {fill(3, 11, kBlack), text(3, kGrey, "a", 'i')}},
        {"underline at the bottom pixel row, strike through the middle",
         {cellWith(u'a', [](Cell& c) { c.underline = 1; }), cellWith(u'b', [](Cell& c) { c.strike = 1; })},
         {fill(3, 11, kBlack), text(3, kGrey, "a"), "line 3,36-11,36 c0c0c0", fill(11, 19, kBlack),
          text(11, kGrey, "b"), "line 11,29-19,29 c0c0c0"}},
        {"blink hides the text in the hidden phase, not the background",
         {cellWith(u'a', [](Cell& c) { c.blink = 1; c.underline = 1; })},
         {fill(3, 11, kBlack)},
         [](Terminal& t, UnderText&) { t.blinkPhase = 0; }},
        {"blink shows the text in the visible phase",
         {cellWith(u'a', [](Cell& c) { c.blink = 1; })},
         {fill(3, 11, kBlack), text(3, kGrey, "a")}},
        {"hidden phase leaves steady text alone", {cellWith(u'a')},
         {fill(3, 11, kBlack), text(3, kGrey, "a")},
         [](Terminal& t, UnderText&) { t.blinkPhase = 0; }},
        {"background image: index 0 lets it show through, direct black does not",
         {cellWith(u'a'), cellWith(u'b', [](Cell& c) { c.bgDirect = 1; }),
          cellWith(u'c', [](Cell& c) { c.bg = 1; })},
         {text(3, kGrey, "a"), fill(11, 19, kBlack), text(11, kGrey, "b"), fill(19, 27, kRed),
          text(19, kGrey, "c")},
         [](Terminal&, UnderText& u) { u.backgroundImage = true; }},
        {"key colour: matching background and text are left out",
         {cellWith(u'a', [](Cell& c) { c.bg = 1; }), cellWith(u'b', [](Cell& c) { c.fg = 1; c.underline = 1; }),
          cellWith(u'c', [](Cell& c) { c.dim = 1; c.fg = 9; c.bgDirect = 1; c.bgRgb = 0x000001; })},
         {text(3, kGrey, "a"), fill(11, 19, kBlack), fill(19, 27, "000001")},  // c dims to the key
         [](Terminal& t, UnderText& u) {
             t.glass.keyColourSet = true;
             t.glass.canvasBackground = 0x000080;
             u = underTextOf(t, false);
         }},
        {"key colour off: the same colour is drawn",
         {cellWith(u'a', [](Cell& c) { c.bg = 1; })},
         {fill(3, 11, kRed), text(3, kGrey, "a")},
         [](Terminal& t, UnderText& u) {
             t.glass.canvasBackground = 0x000080;
             u = underTextOf(t, false);
         }},
    };
    for (const RowCase& c : cases) EXPECT_EQ(drawnOps(c), c.ops) << c.what;
}

TEST(DrawRow, PaletteAndRowPlacement) {
    Terminal t;
    setPalette(t, "PuTTY");
    t.grid[24][79].fg = 2;
    RecordingSurface s;
    drawRow(t, s, 24, 0, 0, {6, 10}, {});
    ASSERT_EQ(s.ops.size(), 4u);
    EXPECT_EQ(s.ops[0], "fill 0,240,474,250 000000");
    EXPECT_EQ(s.ops[3], "text 474,240 00bb00 g ' '");
    EXPECT_EQ(attributeRunLength(t.grid[24], 0), 79);
    EXPECT_EQ(attributeRunLength(t.grid[24], 79), 1);
}

}  // namespace
}  // namespace orvane
