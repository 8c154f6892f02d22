#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "pictel/win32/wic_decoder.h"
#include "png_writer.h"
#include "render/win32/render_grid.h"
#include "win32/gdi_test_support.h"

namespace orvane {
namespace {

using testing::PaintedTerminal;

constexpr Colour kMargin = rgb(45, 45, 45), kBlack = rgb(0, 0, 0), kRed = rgb(200, 0, 0), kBlue = rgb(0, 0, 220);
constexpr Colour kGreen = rgb(0, 180, 0);

struct Probe {
    int32_t x, y;
    Colour colour;
};

// Pixels of the back buffer, by cell centre (col, row) or exact position.
void expectPixels(const PaintedTerminal& p, const std::vector<Probe>& probes) {
    for (const Probe& q : probes) EXPECT_EQ(p.pixel(q.x, q.y), q.colour) << q.x << "," << q.y;
}
Probe centre(const GridLayout& g, int32_t col, int32_t row, Colour c) {
    return {g.x0 + col * g.cellWidth + g.cellWidth / 2, g.y0 + row * g.cellHeight + g.cellHeight / 2, c};
}

TEST(GdiPaint, CellColoursAndLinesLandInTheirCells) {
    PaintedTerminal p(80, 25, 660, 420);
    const Palette& pal = *p.t.palette;
    // Row 0: blue background, red underline, yellow strike; row 1: a direct background and a green H.
    p.feedText("\x1b[44m  \x1b[0m\x1b[4;31m   \x1b[0m\x1b[9;33m  \x1b[0m\r\n\x1b[48;2;10;200;30m  \x1b[0m\x1b[32mHHHH");
    p.paint();
    const GridLayout g = p.layout();
    ASSERT_GT(g.cellWidth, 2);
    ASSERT_GT(g.cellHeight, 4);
    const int32_t bottom = g.y0 + g.cellHeight - 1, middle = g.y0 + g.cellHeight / 2, w = g.cellWidth;
    expectPixels(p, {{0, 0, kMargin}, {g.x0 - 1, g.y0, kMargin}, {g.x0 + g.gridWidth(), g.y0, kMargin},
                     centre(g, 0, 0, pal[4]), centre(g, 1, 0, pal[4]), centre(g, 2, 0, pal[0]),
                     {g.x0 + 5 * w, bottom, pal[0]}, {g.x0 + 2 * w - 1, bottom, pal[4]},
                     centre(g, 0, 1, rgb(10, 200, 30)), centre(g, 1, 1, rgb(10, 200, 30))});
    for (int32_t x = g.x0 + 2 * w; x < g.x0 + 5 * w; ++x) EXPECT_EQ(p.pixel(x, bottom), pal[1]) << x;
    for (int32_t x = g.x0 + 5 * w; x < g.x0 + 7 * w; ++x) EXPECT_EQ(p.pixel(x, middle), pal[3]) << x;
    int greenPixels = 0;
    for (int32_t y = g.y0 + g.cellHeight; y < g.y0 + 2 * g.cellHeight; ++y)
        for (int32_t x = g.x0 + 2 * w; x < g.x0 + 6 * w; ++x) greenPixels += p.pixel(x, y) == pal[2];
    EXPECT_GT(greenPixels, 4 * 4);  // four letters with stems of solid text colour
}

// A PNG, left half red, right half blue, through the system decoder.
Canvas twoColourImage(uint32_t width = 40, uint32_t height = 10) {
    std::vector<uint8_t> rows;
    for (uint32_t i = 0; i < width * height; ++i) {
        const Colour c = i % width < width / 2 ? kRed : kBlue;
        rows.insert(rows.end(), {uint8_t(c & 0xFF), uint8_t((c >> 8) & 0xFF), uint8_t((c >> 16) & 0xFF)});
    }
    const std::vector<uint8_t> png = orvane::testing::storedPng(width, height, 2, 8, rows);
    ImagingFactory imaging;
    Canvas image;
    EXPECT_TRUE(decodeImage(imaging, png.data(), png.size(), image));
    return image;
}

// Channels may differ by one from integer blending.
bool closeTo(Colour a, Colour b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 1) return false;
    return true;
}

Canvas solidCanvas(int32_t w, int32_t h, Colour colour) {
    Canvas c;
    c.width = w;
    c.height = h;
    c.valid = true;
    c.pixels.assign(size_t(w) * size_t(h), opaquePixel(colour));
    return c;
}

TEST(GdiPaint, BackgroundImageFitsAndOpacities) {
    const Canvas image = twoColourImage();
    ASSERT_TRUE(image.valid);
    const std::pair<const char*, int64_t> cases[] = {{"stretch", 100}, {"aspect", 100}, {"center", 100},
                                                     {"stretch", 50},  {"aspect", 1},   {"center", 0}};
    for (const auto& [fit, opacity] : cases) {
        SCOPED_TRACE(::testing::Message() << fit << " " << opacity);
        PaintedTerminal p(80, 25, 700, 460);
        p.renderer.background.image = image;
        setBackgroundFit(p.t, p.renderer.background, fit);
        setBackgroundOpacity(p.t, p.renderer.background, opacity);
        p.feedText("\x1b[44m  ");  // a cell background over the image still covers it
        EXPECT_TRUE(p.paint().layerCacheUsed);
        const GridLayout g = p.layout();
        const PixelRect drawn = *backgroundDrawRect(backgroundFitFromText(fit), 40, 10, g.gridRect());
        const int32_t alpha = backgroundAlpha(int32_t(opacity)), midY = (drawn.top + drawn.bottom) / 2;
        const auto faded = [&](Colour c) {
            return rgb((c & 0xFF) * alpha / 255, ((c >> 8) & 0xFF) * alpha / 255, ((c >> 16) & 0xFF) * alpha / 255);
        };
        EXPECT_TRUE(closeTo(p.pixel(drawn.left + widthOf(drawn) / 4, midY), faded(kRed)));
        EXPECT_TRUE(closeTo(p.pixel(drawn.right - 1 - widthOf(drawn) / 4, midY), faded(kBlue)));
        expectPixels(p, {centre(g, 0, 0, (*p.t.palette)[4]), {g.x0 - 1, midY, kMargin}});
        if (drawn.top > g.y0) expectPixels(p, {{g.x0 + 40 * g.cellWidth + g.cellWidth / 2, drawn.top - 1, kBlack}});
        if (drawn.left > g.x0) expectPixels(p, {{drawn.left - 1, midY, kBlack}});
    }
    PaintedTerminal p(80, 25, 660, 420);  // larger than the grid: its middle, clipped
    p.renderer.background.image = twoColourImage(2000, 1000);
    setBackgroundFit(p.t, p.renderer.background, "center");
    p.paint();
    const GridLayout g = p.layout();
    ASSERT_LT(g.gridWidth(), 2000);
    const int32_t midX = g.x0 + g.gridWidth() / 2, midY = g.y0 + g.gridHeight() / 2, right = g.x0 + g.gridWidth();
    expectPixels(p, {{g.x0, midY, kRed}, {midX - 2, midY, kRed}, {midX + 1, midY, kBlue}, {right - 1, g.y0, kBlue},
                     {right, midY, kMargin}, {g.x0 - 1, midY, kMargin}, {g.x0 + 4, g.y0 - 1, kMargin}});
}

TEST(GdiPaint, GlassPlacementsWithAKeyColour) {
    constexpr Colour kYellow = rgb(230, 220, 0);
    PaintedTerminal p(80, 25, 660, 420);
    GlassLayer& glass = p.t.glass;
    // Canvas 2 is key colour (black) but for a green middle: canvas 1 under it shows through.
    glass.canvases[1] = solidCanvas(10, 10, kYellow);
    glass.canvases[2] = solidCanvas(10, 10, kBlack);
    for (int32_t i = 0; i < 16; ++i) glass.canvases[2].at(3 + i % 4, 3 + i / 4) = opaquePixel(kGreen);
    glass.placements = {{1, 2, 0, 3, 0, 10, 0, true}, {2, 2, 0, 3, 0, 10, 0, true}};
    glass.canvasBackground = kBlack;
    glass.keyColourSet = true;
    p.paint();
    const GridLayout g = p.layout();
    const int32_t left = g.x0 + 3 * g.cellWidth, top = g.y0 + 2 * g.cellHeight, size = 10 * g.cellWidth;
    const int32_t pixel = size / 10;  // one canvas pixel, drawn size
    expectPixels(p, {{left + pixel / 2, top + pixel / 2, kYellow}, {left + size / 2, top + size / 2, kGreen},
                     {left + size - 1, top + size - 1, kYellow}, {left + size, top + size / 4, kBlack},
                     {left - 1, top + size / 4, kBlack}, {left + size / 4, top - 1, kBlack}});
    // Without the key colour the canvas is opaque and the cells' black covers the glass.
    glass.keyColourSet = false;
    ++p.t.layerGeneration;
    p.paint();
    expectPixels(p, {{left + size / 2, top + size / 2, kBlack}});
    EXPECT_EQ(p.renderer.compositor.canvasBitmaps().bytesHeld(), 2 * bitmapBytes(size, size));
}

TEST(GdiPaint, ScreenshotGridMatchesThePaintedGridAndCanLeaveLayersOut) {
    PaintedTerminal p(80, 25, 660, 420);
    EXPECT_FALSE(renderGrid(p.t, p.renderer, p.target.context.dc(), true, true, 0, 0));  // not fitted yet
    p.renderer.background.image = twoColourImage();
    setBackgroundFit(p.t, p.renderer.background, "stretch");
    p.t.glass.canvases[1] = solidCanvas(10, 10, kGreen);
    p.t.glass.placements = {{1, 1, 0, 60, 0, 10, 0, true}};
    p.feedText("\x1b[44m    \x1b[0m plain \x1b[1;33mbold\r\n\x1b[4munder");
    p.paint();
    const GridLayout g = p.layout();
    for (const auto& [background, withGlass] : {std::pair{true, true}, {false, true}, {true, false}}) {
        SCOPED_TRACE(::testing::Message() << "background " << background << " glass " << withGlass);
        testing::PaintTarget shot(g.gridWidth() + 4, g.gridHeight() + 4);
        const auto size = renderGrid(p.t, p.renderer, shot.context.dc(), background, withGlass, 2, 2);
        ASSERT_TRUE(size);
        EXPECT_EQ(std::pair(size->width, size->height), std::pair(g.gridWidth(), g.gridHeight()));
        const auto shotPixel = [&](int32_t x, int32_t y) { return shot.pixel(x + 2, y + 2); };
        int differing = 0;
        for (int32_t y = 0; y < g.gridHeight(); ++y)
            for (int32_t x = 0; x < g.gridWidth(); ++x) differing += shotPixel(x, y) != p.pixel(g.x0 + x, g.y0 + y);
        EXPECT_EQ(shotPixel(g.cellWidth / 2, g.cellHeight / 2), (*p.t.palette)[4]);
        EXPECT_EQ(shotPixel(61 * g.cellWidth, g.cellHeight + 2), withGlass ? kGreen : background ? kBlue : kBlack);
        EXPECT_EQ(shotPixel(g.cellWidth / 2, 10 * g.cellHeight), background ? kRed : kBlack);  // background 0 unfilled
        EXPECT_EQ(differing == 0, background && withGlass);
    }
}

TEST(GdiPaint, VeilGreysTheArea) {
    testing::PaintTarget target(100, 100);
    HDC dc = target.context.dc();
    SetBkColor(dc, rgb(200, 100, 0));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &target.rect, nullptr, 0, nullptr);
    drawVeil(dc, {10, 10, 90, 90});
    const auto veiled = [](int32_t c) { return (128 * 165 + c * 90) / 255; };  // per channel
    EXPECT_TRUE(closeTo(target.pixel(50, 50), rgb(veiled(200), veiled(100), veiled(0))));
    EXPECT_EQ(target.pixel(5, 50), rgb(200, 100, 0));
    EXPECT_EQ(target.pixel(90, 50), rgb(200, 100, 0));
}

}  // namespace
}  // namespace orvane
