#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "render/win32/gdi_fonts.h"
#include "win32/gdi_test_support.h"

namespace orvane {
namespace {

using orvane::testing::PaintedTerminal;

Canvas picture(int32_t w, int32_t h) {
    Canvas c;
    c.width = w;
    c.height = h;
    c.valid = true;
    c.pixels.assign(size_t(w) * size_t(h), 0xFF336699u);
    return c;
}

// Paints through every kind of object the renderer and compositor make: fonts, back buffer,
// layer cache, scaled background, canvas bitmaps with and without the key colour; each is gone
// with the renderer. (Wine counts no GDI objects per process, so the handles are checked one by one.)
TEST(GdiResources, EveryHeldObjectIsFreedWithTheRenderer) {
    std::vector<HGDIOBJ> held;
    {
        auto p = std::make_unique<PaintedTerminal>(80, 25, 660, 420);
        p->renderer.background.image = picture(64, 32);
        p->t.glass.canvases[1] = picture(16, 16);
        p->t.glass.canvases[2] = picture(8, 24);
        p->t.glass.placements = {{1, 0, 0, 0, 0, 10, 0, true}, {2, 5, 0, 20, 0, 4, 0, true}};
        for (int i = 0; i < 12; ++i) {
            setBackgroundFit(p->t, p->renderer.background, i % 3 == 0 ? "stretch" : i % 3 == 1 ? "aspect" : "center");
            p->t.glass.keyColourSet = i % 2;
            p->t.glass.placements[0].widthCells = 5 + i;
            ++p->t.layerGeneration;
            p->feedText("\x1b[3" + std::to_string(i % 8) + ";3mline\r\n");
            p->paint(i % 4 != 0);
            drawVeil(p->target.context.dc(), p->target.rect);
        }
        const GdiRenderer& r = p->renderer;
        held = {r.fonts.regular(), r.fonts.italic(), r.backBuffer.dc(), GetCurrentObject(r.backBuffer.dc(), OBJ_BITMAP),
                r.compositor.layerCacheContext(), GetCurrentObject(r.compositor.layerCacheContext(), OBJ_BITMAP),
                r.compositor.scaledBackground().bitmap()};
        r.compositor.canvasBitmaps().forEachBitmap([&](const DibSection& d) { held.push_back(d.bitmap()); });
        ASSERT_EQ(held.size(), 9u);
        for (HGDIOBJ h : held) EXPECT_NE(GetObjectType(h), 0u) << h;
    }
    for (HGDIOBJ h : held) EXPECT_EQ(GetObjectType(h), 0u) << h;
}

TEST(GdiResources, ConsolasCellsGrowWithTheSizeAndTheOemFontStandsIn) {
    PaintedTerminal p(80, 25, 100, 100);
    GdiFontMetrics metrics(p.target.context.dc());
    int32_t lastHeight = 0;
    for (int32_t size : {8, 12, 16, 24, 32}) {
        const std::optional<CellMetrics> cell = metrics.measureConsolas(size);
        ASSERT_TRUE(cell) << size;
        EXPECT_GT(cell->height, std::max(size, lastHeight)) << size;  // character height, leading and one more
        EXPECT_GE(cell->width, 1) << size;
        lastHeight = cell->height;
    }
    p.paint();  // 25 rows cannot fit 100 pixels at 4 pixels or more: the stock OEM font
    EXPECT_EQ(p.renderer.cache.fontPixelSize, 0);
    EXPECT_EQ((CellMetrics{p.renderer.cache.cellWidth, p.renderer.cache.cellHeight}), metrics.oemFixedMetrics());
    GridFonts fonts;
    fonts.ensure(0);
    EXPECT_EQ(fonts.regular(), GetStockObject(OEM_FIXED_FONT));
    EXPECT_EQ(fonts.italic(), fonts.regular());
    fonts.ensure(16);
    EXPECT_NE(fonts.regular(), GetStockObject(OEM_FIXED_FONT));
    EXPECT_NE(fonts.italic(), fonts.regular());
}

}  // namespace
}  // namespace orvane
