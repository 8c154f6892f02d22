// The drawing commands on a terminal's canvas: each draws what the
// rasteriser draws with the current pens and clamped thickness, leaves
// missing canvases alone and tells the compositor.
#include <gtest/gtest.h>

#include <functional>

#include "pictel/draw_commands.h"
#include "pictel/raster.h"
#include "pictel_test_util.h"
#include "raster_support.h"

namespace orvane::testing {
namespace {

using Params = std::vector<int32_t>;
using Command = void (*)(Terminal&, const Params&);

const Params kFillRgb{0x00, 0xC0, 0x00};  // kFill and kStroke as a device sends them
const Params kStrokeRgb{0xE0, 0xE0, 0xE0};

class DrawCommands : public ::testing::Test {
protected:
    DrawCommands() {
        t.glass.bitmapCache = &cache;
        pictelFillColour(t, kFillRgb);
        pictelStrokeColour(t, kStrokeRgb);
        storeCanvas(t.glass, 1, blankCanvas(300, 200));
    }
    const Canvas& canvas() { return *findCanvas(t.glass, 1); }

    Terminal t;
    RecordingBitmapCache cache;
};

GlyphStyle pens(int32_t thickness) { return GlyphStyle{true, kFill, true, kStroke, thickness}; }

struct CommandCase {
    const char* what;
    Command command;
    Params params;
    std::function<void(Canvas&)> expected;
};

const CommandCase kCommands[] = {
    {"rectangle", pictelRectangle, {1, 2, 3, 50, 30},
     [](Canvas& c) { fillCanvasRect(c, 2, 3, 50, 30, kFill); strokeRect(c, 2, 3, 50, 30, 1, kStroke); }},
    {"thick rectangle", pictelRectangle, {1, 0, 0, 10, 12, 20},
     [](Canvas& c) { fillCanvasRect(c, 0, 0, 10, 12, kFill); strokeRect(c, 0, 0, 10, 12, 20, kStroke); }},
    {"circle", pictelCircle, {1, 40, 30, 20}, [](Canvas& c) { fillCircle(c, 40, 30, 20, kFill); strokeCircle(c, 40, 30, 20, 1, kStroke); }},
    {"thick circle", pictelCircle, {1, 40, 30, 20, 6},
     [](Canvas& c) { fillCircle(c, 40, 30, 20, kFill); strokeCircle(c, 40, 30, 20, 6, kStroke); }},
    {"ellipse", pictelEllipse, {1, 40, 30, 25, 12},
     [](Canvas& c) { fillEllipse(c, 40, 30, 25, 12, kFill); strokeEllipse(c, 40, 30, 25, 12, 1, kStroke); }},
    {"thick ellipse", pictelEllipse, {1, 40, 30, 25, 12, 3},
     [](Canvas& c) { fillEllipse(c, 40, 30, 25, 12, kFill); strokeEllipse(c, 40, 30, 25, 12, 3, kStroke); }},
    {"line across four thousand million pixels", pictelLine, {1, -2'000'000'000, -1'000'000'000, 2'000'000'000, 1'000'000'000},
     [](Canvas& c) { drawLine(c, -2'000'000'000, -1'000'000'000, 2'000'000'000, 1'000'000'000, 1, kStroke); }},
    {"thickness clamped to 256", pictelLine, {1, 150, 100, 150, 100, 1000}, [](Canvas& c) { drawLine(c, 150, 100, 150, 100, 256, kStroke); }},
    {"thickness below 1 is 1", pictelLine, {1, 1, 0, 9, 4, -40}, [](Canvas& c) { drawLine(c, 1, 0, 9, 4, 1, kStroke); }},
    {"arrow", pictelArrow, {1, 50, 5, 100, 2}, [](Canvas& c) { drawGlyph(c, arrowGlyph(), 50, 5, 100, 2, pens(1)); }},
    {"thick hand", pictelHand, {1, 30, 5, 50, 7, 3}, [](Canvas& c) { drawGlyph(c, handGlyph(), 30, 5, 50, 7, pens(3)); }},
    {"glyph of size 0", pictelArrow, {1, 0, 0, 0, 0}, [](Canvas&) {}},
};

TEST_F(DrawCommands, DrawWhatTheRasteriserDrawsAndDropTheBitmap) {
    for (const CommandCase& command : kCommands) {
        Canvas expected = blankCanvas(300, 200);
        command.expected(expected);
        storeCanvas(t.glass, 1, blankCanvas(300, 200));
        cache.dropped.clear();
        command.command(t, command.params);
        EXPECT_TRUE(canvas().pixels == expected.pixels) << command.what;
        EXPECT_EQ(cache.dropped, std::vector<int32_t>{1}) << command.what;
    }
}

TEST_F(DrawCommands, PensSwitchedOff) {
    pictelFillColour(t, {});
    pictelRectangle(t, {1, 0, 0, 4, 3});
    pictelFillColour(t, kFillRgb);
    pictelStrokeColour(t, {});
    pictelCircle(t, {1, 10, 10, 2});
    pictelLine(t, {1, 0, 5, 4, 5, 2});  // nothing to draw: the canvas is not touched
    Canvas expected = blankCanvas(300, 200);
    strokeRect(expected, 0, 0, 4, 3, 1, kStroke);
    fillCircle(expected, 10, 10, 2, kFill);
    EXPECT_TRUE(canvas().pixels == expected.pixels);
    pictelFillColour(t, {});
    for (Command command : {pictelRectangle, pictelCircle, pictelEllipse, pictelArrow, pictelHand}) command(t, {1, 40, 40, 9, 1});
    EXPECT_TRUE(canvas().pixels == expected.pixels);
    EXPECT_EQ(cache.dropped, (std::vector<int32_t>{1, 1, 1, 1, 1, 1, 1}));
}

TEST_F(DrawCommands, ColoursUseTheLowEightBitsAndNeedThreeParameters) {
    pictelFillColour(t, {300, -1, 256 + 7});
    pictelStrokeColour(t, {1, 2, 259});
    pictelFillColour(t, {9});
    pictelStrokeColour(t, {9, 9});
    pictelLine(t, {1, 0, 0, 0, 0});
    pictelCircle(t, {1, 1, 0, 0, 1});
    pictelStrokeColour(t, {});
    pictelCircle(t, {1, 1, 0, 0, 1});
    EXPECT_EQ(canvas().at(0, 0), 0xFF010203u);
    EXPECT_EQ(canvas().at(1, 0), 0xFF2CFF07u);
}

TEST_F(DrawCommands, MissingCanvasesAndTooFewParametersDoNothing) {
    for (int32_t id : {2, -1}) {
        for (Command command : {pictelRectangle, pictelCircle, pictelEllipse, pictelLine, pictelArrow, pictelHand})
            command(t, {id, 1, 1, 3, 3});
    }
    pictelRectangle(t, {1, 0, 0, 4});
    pictelCircle(t, {1, 1, 1});
    pictelEllipse(t, {1, 1, 1, 1});
    pictelLine(t, {1, 0, 0, 3});
    pictelArrow(t, {1, 1, 0, 3});
    pictelHand(t, {});
    EXPECT_TRUE(cache.dropped.empty());
    EXPECT_EQ(t.glass.canvases.size(), 1u);
    EXPECT_TRUE(canvas().pixels == blankCanvas(300, 200).pixels);
}

}  // namespace
}  // namespace orvane::testing
