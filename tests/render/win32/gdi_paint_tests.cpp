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

constexpr Colour kMargin = rgb(45, 45, 45);
constexpr Colour kBlack = rgb(0, 0, 0);
constexpr Colour kRed = rgb(200, 0, 0);
constexpr Colour kBlue = rgb(0, 0, 220);

int32_t centreX(const GridLayout& g, int32_t col) { return g.x0 + col * g.cellWidth + g.cellWidth / 2; }
int32_t centreY(const GridLayout& g, int32_t row) { return g.y0 + row * g.cellHeight + g.cellHeight / 2; }

TEST(GdiPaint, CellColoursAndLinesLandInTheirCells) {
    PaintedTerminal p(80, 25, 660, 420);
    const Palette& pal = *p.t.palette;
    // Row 0: blue background, red underline, yellow strike; row 1: a direct
    // background colour and a green H.
    p.feedText("\x1b[44m  \x1b[0m\x1b[4;31m   \x1b[0m\x1b[9;33m  \x1b[0m\r\n"
               "\x1b[48;2;10;200;30m  \x1b[0m\x1b[32mHHHH");
    p.paint();
    const GridLayout g = p.layout();
    ASSERT_GT(g.cellWidth, 2);
    ASSERT_GT(g.cellHeight, 4);
    EXPECT_EQ(p.pixel(0, 0), kMargin);
    EXPECT_EQ(p.pixel(g.x0 - 1, g.y0), kMargin);
    EXPECT_EQ(p.pixel(g.x0 + g.gridWidth(), g.y0), kMargin);
    EXPECT_EQ(p.pixel(centreX(g, 0), centreY(g, 0)), pal[4]);
    EXPECT_EQ(p.pixel(centreX(g, 1), centreY(g, 0)), pal[4]);
    EXPECT_EQ(p.pixel(centreX(g, 2), centreY(g, 0)), pal[0]);
    const int32_t bottom = g.y0 + g.cellHeight - 1;
    for (int32_t x = g.x0 + 2 * g.cellWidth; x < g.x0 + 5 * g.cellWidth; ++x) EXPECT_EQ(p.pixel(x, bottom), pal[1]) << x;
    EXPECT_EQ(p.pixel(g.x0 + 5 * g.cellWidth, bottom), pal[0]);
    EXPECT_EQ(p.pixel(g.x0 + 2 * g.cellWidth - 1, bottom), pal[4]);
    const int32_t middle = g.y0 + g.cellHeight / 2;
    for (int32_t x = g.x0 + 5 * g.cellWidth; x < g.x0 + 7 * g.cellWidth; ++x) EXPECT_EQ(p.pixel(x, middle), pal[3]) << x;
    EXPECT_EQ(p.pixel(centreX(g, 0), centreY(g, 1)), rgb(10, 200, 30));
    EXPECT_EQ(p.pixel(centreX(g, 1), centreY(g, 1)), rgb(10, 200, 30));
    int greenPixels = 0;
    for (int32_t y = g.y0 + g.cellHeight; y < g.y0 + 2 * g.cellHeight; ++y)
        for (int32_t x = g.x0 + 2 * g.cellWidth; x < g.x0 + 6 * g.cellWidth; ++x) greenPixels += p.pixel(x, y) == pal[2];
    EXPECT_GT(greenPixels, 4 * 4);  // four letters with stems of solid text colour
}

// A PNG, left half red, right half blue, through the system decoder.
Canvas twoColourImage(uint32_t width = 40, uint32_t height = 10) {
    std::vector<uint8_t> rows;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const Colour c = x < width / 2 ? kRed : kBlue;
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

Colour scaled(Colour c, int32_t alpha) {
    return rgb((c & 0xFF) * alpha / 255, ((c >> 8) & 0xFF) * alpha / 255, ((c >> 16) & 0xFF) * alpha / 255);
}

TEST(GdiPaint, BackgroundImageFitsAndOpacities) {
    const Canvas image = twoColourImage();
    ASSERT_TRUE(image.valid);
    struct Case {
        const char* fit;
        int64_t opacity;
    };
    const Case cases[] = {{"stretch", 100}, {"aspect", 100}, {"center", 100}, {"stretch", 50}, {"aspect", 1},
                          {"center", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.fit << " " << c.opacity);
        PaintedTerminal p(80, 25, 700, 460);
        p.renderer.background.image = image;
        setBackgroundFit(p.t, p.renderer.background, c.fit);
        setBackgroundOpacity(p.t, p.renderer.background, c.opacity);
        p.feedText("\x1b[44m  ");  // a cell background over the image still covers it
        const PaintOutcome outcome = p.paint();
        EXPECT_TRUE(outcome.layerCacheUsed);
        const GridLayout g = p.layout();
        const PixelRect drawn = *backgroundDrawRect(backgroundFitFromText(c.fit), 40, 10, g.gridRect());
        const int32_t alpha = backgroundAlpha(int32_t(c.opacity));
        const int32_t midY = (drawn.top + drawn.bottom) / 2;
        EXPECT_TRUE(closeTo(p.pixel(drawn.left + widthOf(drawn) / 4, midY), scaled(kRed, alpha)));
        EXPECT_TRUE(closeTo(p.pixel(drawn.right - 1 - widthOf(drawn) / 4, midY), scaled(kBlue, alpha)));
        EXPECT_EQ(p.pixel(centreX(g, 0), centreY(g, 0)), (*p.t.palette)[4]);
        if (drawn.top > g.y0) {
            EXPECT_EQ(p.pixel(centreX(g, 40), drawn.top - 1), kBlack);
        }
        if (drawn.left > g.x0) {
            EXPECT_EQ(p.pixel(drawn.left - 1, midY), kBlack);
        }
        EXPECT_EQ(p.pixel(g.x0 - 1, midY), kMargin);
    }
}

TEST(GdiPaint, BackgroundLargerThanTheGridShowsItsMiddleClipped) {
    PaintedTerminal p(80, 25, 660, 420);
    p.renderer.background.image = twoColourImage(2000, 1000);
    setBackgroundFit(p.t, p.renderer.background, "center");
    p.paint();
    const GridLayout g = p.layout();
    ASSERT_LT(g.gridWidth(), 2000);
    const int32_t midY = g.y0 + g.gridHeight() / 2;
    EXPECT_EQ(p.pixel(g.x0, midY), kRed);
    EXPECT_EQ(p.pixel(g.x0 + g.gridWidth() / 2 - 2, midY), kRed);
    EXPECT_EQ(p.pixel(g.x0 + g.gridWidth() / 2 + 1, midY), kBlue);
    EXPECT_EQ(p.pixel(g.x0 + g.gridWidth() - 1, g.y0), kBlue);
    EXPECT_EQ(p.pixel(g.x0 + g.gridWidth(), midY), kMargin);
    EXPECT_EQ(p.pixel(g.x0 - 1, midY), kMargin);
    EXPECT_EQ(p.pixel(g.x0 + 4, g.y0 - 1), kMargin);
}

Canvas solidCanvas(int32_t w, int32_t h, Colour colour) {
    Canvas c;
    c.width = w;
    c.height = h;
    c.valid = true;
    c.pixels.assign(size_t(w) * size_t(h), opaquePixel(colour));
    return c;
}

TEST(GdiPaint, GlassPlacementsWithAKeyColour) {
    constexpr Colour kYellow = rgb(230, 220, 0);
    constexpr Colour kGreen = rgb(0, 180, 0);
    PaintedTerminal p(80, 25, 660, 420);
    GlassLayer& glass = p.t.glass;
    // Canvas 2 is key colour (black) but for a green middle: canvas 1 under it shows through.
    glass.canvases[1] = solidCanvas(10, 10, kYellow);
    Canvas keyed = solidCanvas(10, 10, kBlack);
    for (int32_t y = 3; y < 7; ++y)
        for (int32_t x = 3; x < 7; ++x) keyed.at(x, y) = opaquePixel(kGreen);
    glass.canvases[2] = keyed;
    glass.placements = {{1, 2, 0, 3, 0, 10, 0, true}, {2, 2, 0, 3, 0, 10, 0, true}};
    glass.canvasBackground = kBlack;
    glass.keyColourSet = true;
    p.paint();
    const GridLayout g = p.layout();
    const int32_t left = g.x0 + 3 * g.cellWidth;
    const int32_t top = g.y0 + 2 * g.cellHeight;
    const int32_t size = 10 * g.cellWidth;
    const int32_t pixel = size / 10;  // one canvas pixel, drawn size
    EXPECT_EQ(p.pixel(left + pixel / 2, top + pixel / 2), kYellow);
    EXPECT_EQ(p.pixel(left + size / 2, top + size / 2), kGreen);
    EXPECT_EQ(p.pixel(left + size - 1, top + size - 1), kYellow);
    EXPECT_EQ(p.pixel(left + size, top + size / 4), kBlack);
    EXPECT_EQ(p.pixel(left - 1, top + size / 4), kBlack);
    EXPECT_EQ(p.pixel(left + size / 4, top - 1), kBlack);
    // Without the key colour the canvas is opaque and the cells' black covers the glass.
    glass.keyColourSet = false;
    ++p.t.layerGeneration;
    p.paint();
    EXPECT_EQ(p.pixel(left + size / 2, top + size / 2), kBlack);
    EXPECT_EQ(p.renderer.compositor.canvasBitmaps().bytesHeld(), 2 * bitmapBytes(size, size));
}

TEST(GdiPaint, ScreenshotGridMatchesThePaintedGridAndCanLeaveLayersOut) {
    PaintedTerminal p(80, 25, 660, 420);
    EXPECT_FALSE(renderGrid(p.t, p.renderer, p.target.context.dc(), true, true, 0, 0));  // not fitted yet
    p.renderer.background.image = twoColourImage();
    setBackgroundFit(p.t, p.renderer.background, "stretch");
    p.t.glass.canvases[1] = solidCanvas(10, 10, rgb(0, 180, 0));
    p.t.glass.placements = {{1, 1, 0, 60, 0, 10, 0, true}};
    p.feedText("\x1b[44m    \x1b[0m plain \x1b[1;33mbold\r\n\x1b[4munder");
    p.paint();
    const GridLayout g = p.layout();
    struct Case {
        bool background;
        bool glass;
    };
    for (const Case c : {Case{true, true}, Case{false, true}, Case{true, false}}) {
        SCOPED_TRACE(::testing::Message() << "background " << c.background << " glass " << c.glass);
        testing::PaintTarget shot(g.gridWidth() + 4, g.gridHeight() + 4);
        const auto size = renderGrid(p.t, p.renderer, shot.context.dc(), c.background, c.glass, 2, 2);
        ASSERT_TRUE(size);
        EXPECT_EQ(size->width, g.gridWidth());
        EXPECT_EQ(size->height, g.gridHeight());
        GdiFlush();
        const auto shotPixel = [&](int32_t x, int32_t y) {
            const uint32_t v = shot.dib.pixels()[size_t(y + 2) * size_t(shot.dib.width()) + size_t(x + 2)];
            return rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        };
        int differing = 0;
        for (int32_t y = 0; y < g.gridHeight(); ++y)
            for (int32_t x = 0; x < g.gridWidth(); ++x) differing += shotPixel(x, y) != p.pixel(g.x0 + x, g.y0 + y);
        const Colour glassPixel = shotPixel(61 * g.cellWidth, g.cellHeight + 2);
        const Colour imagePixel = shotPixel(g.cellWidth / 2, 10 * g.cellHeight);
        EXPECT_EQ(shotPixel(g.cellWidth / 2, g.cellHeight / 2), (*p.t.palette)[4]);
        EXPECT_EQ(glassPixel, c.glass ? rgb(0, 180, 0) : c.background ? kBlue : kBlack);
        EXPECT_EQ(imagePixel, c.background ? kRed : kBlack);  // cells of background 0 stay unfilled
        EXPECT_EQ(differing == 0, c.background && c.glass);
    }
}

TEST(GdiPaint, VeilGreysTheArea) {
    PaintedTerminal p(80, 25, 100, 100);
    HDC dc = p.target.context.dc();
    SetBkColor(dc, rgb(200, 100, 0));
    const RECT all{0, 0, 100, 100};
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    drawVeil(dc, {10, 10, 90, 90});
    GdiFlush();
    const uint32_t* px = p.target.dib.pixels();
    const auto at = [&](int32_t x, int32_t y) {
        const uint32_t v = px[y * 100 + x];
        return rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    };
    // 128 * 165/255 + c * 90/255 per channel.
    const auto veiled = [](int32_t c) { return (128 * 165 + c * 90) / 255; };
    EXPECT_TRUE(closeTo(at(50, 50), rgb(veiled(200), veiled(100), veiled(0))));
    EXPECT_EQ(at(5, 50), rgb(200, 100, 0));
    EXPECT_EQ(at(90, 50), rgb(200, 100, 0));
}

}  // namespace
}  // namespace orvane
