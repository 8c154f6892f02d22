// "I", "K", "D", "S", "H", "O", "V", "X", "T" and "Z": what a device does to
// canvases and placements as a whole.
#include "pictel/glass_commands.h"

#include <algorithm>
#include <new>

#include "pictel/pictel_hooks.h"
#include "pictel/raster.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

uint32_t colourFromParams(int32_t r, int32_t g, int32_t b) {
    return (uint32_t(r) & 0xFFu) | ((uint32_t(g) & 0xFFu) << 8) | ((uint32_t(b) & 0xFFu) << 16);
}

void removePlacements(GlassLayer& glass, int32_t id) {
    std::erase_if(glass.placements, [id](const Placement& pl) { return pl.canvasId == id; });
}

}  // namespace

void createCanvas(Terminal& t, const std::vector<int32_t>& p) {
    const int32_t id = p[0];
    const int64_t w = p[1];
    const int64_t h = p[2];
    if (id < 0 || w < 1 || h < 1 || !canvasFits(t.glass, id, w * h)) return;
    Canvas c;
    try {
        c.pixels.assign(size_t(w * h), opaquePixel(t.glass.canvasBackground));
    } catch (const std::bad_alloc&) {
        return;  // as if the size had been invalid
    }
    c.width = int32_t(w);
    c.height = int32_t(h);
    c.valid = true;
    storeCanvas(t.glass, id, std::move(c));
    dropCanvasBitmap(t.glass, id);
}

void deleteCanvas(Terminal& t, const std::vector<int32_t>& p, bool bare) {
    GlassLayer& g = t.glass;
    if (bare) {
        g.canvases.clear();
        g.pendingTransfers.clear();
        g.placements.clear();
        dropAllCanvasBitmaps(g);
        return;
    }
    const int32_t id = p[0];
    g.canvases.erase(id);
    g.pendingTransfers.erase(id);
    dropCanvasBitmap(g, id);
    removePlacements(g, id);
}

void placeCanvas(Terminal& t, const std::vector<int32_t>& p) {
    removePlacements(t.glass, p[0]);
    if (t.glass.placements.size() >= kMaxPlacements) return;
    t.glass.placements.push_back({p[0], p[1], p[2], p[3], p[4], p[5], p[6], !t.glass.hold});
}

void showPlacement(Terminal& t, const std::vector<int32_t>& p, bool bare) {
    if (bare) return;
    for (Placement& pl : t.glass.placements) {
        if (p.size() >= 2 && pl.canvasId != p[0]) continue;
        pl.visible = (p.size() >= 2 ? p[1] : p[0]) != 0;
    }
}

void setHold(Terminal& t, const std::vector<int32_t>& p, bool bare) {
    if (!bare) t.glass.hold = p[0] != 0;
}

void setGlassOrigin(Terminal& t, const std::vector<int32_t>& p) {
    t.glass.glassOrigin = {p[0], p[1], p[2], p[3]};
}

void setCanvasView(Terminal& t, const std::vector<int32_t>& p) {
    Canvas* c = findCanvas(t.glass, p[0]);
    if (!c) return;
    c->viewX = c->viewY = c->viewWidth = c->viewHeight = 0;
    if (p.size() >= 5) {
        const int32_t x = std::max(p[1], 0);
        const int32_t y = std::max(p[2], 0);
        const int32_t w = p[3];
        const int32_t h = p[4];
        if (x < c->width && y < c->height && w > 0 && h > 0) {
            c->viewX = x;
            c->viewY = y;
            c->viewWidth = std::min(w, c->width - x);
            c->viewHeight = std::min(h, c->height - y);
        }
    }
    dropCanvasBitmap(t.glass, p[0]);
}

void clearCanvas(Terminal& t, const std::vector<int32_t>& p) {
    Canvas* c = findCanvas(t.glass, p[0]);
    if (!c) return;
    const uint32_t pixel = opaquePixel(t.glass.canvasBackground);
    if (p.size() >= 5) {
        fillCanvasRect(*c, p[1], p[2], p[3], p[4], pixel);
    } else {
        std::fill(c->pixels.begin(), c->pixels.end(), pixel);
    }
    dropCanvasBitmap(t.glass, p[0]);
}

void setKeyColour(Terminal& t, const std::vector<int32_t>& p) {
    t.glass.canvasBackground = colourFromParams(p[0], p[1], p[2]);
    t.glass.keyColourSet = true;
}

void resetGlass(Terminal& t) {
    CanvasBitmapCache* cache = t.glass.bitmapCache;
    const uint64_t lastRevision = t.glass.lastCanvasRevision;
    t.glass = GlassLayer{};
    t.glass.bitmapCache = cache;
    t.glass.lastCanvasRevision = lastRevision;
    t.glass.glassOrigin = {t.rows, 0, t.cols, 0};
    dropAllCanvasBitmaps(t.glass);
}

void onGridResized(Terminal& t, int32_t cols, int32_t rows) {
    t.glass.glassOrigin = {rows, 0, cols, 0};
    dropAllCanvasBitmaps(t.glass);
}

}  // namespace orvane
