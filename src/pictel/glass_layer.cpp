// The canvas store and the total-pixel budget.
#include "pictel/glass_layer.h"

namespace orvane {

namespace {

int64_t pixelCount(const Canvas& c) { return int64_t(c.width) * int64_t(c.height); }

int64_t totalPixels(const GlassLayer& glass) {
    int64_t total = 0;
    for (const auto& [id, canvas] : glass.canvases) total += pixelCount(canvas);
    return total;
}

}  // namespace

Canvas* findCanvas(GlassLayer& glass, int32_t id) {
    const auto it = glass.canvases.find(id);
    if (it == glass.canvases.end() || !it->second.valid) return nullptr;
    return &it->second;
}

bool canvasFits(const GlassLayer& glass, int32_t id, int64_t pixels) {
    if (pixels < 0 || pixels > kMaxCanvasPixels) return false;
    const auto existing = glass.canvases.find(id);
    if (existing == glass.canvases.end() && glass.canvases.size() >= kMaxCanvases) return false;
    int64_t others = totalPixels(glass);
    if (existing != glass.canvases.end()) others -= pixelCount(existing->second);
    return others + pixels <= kMaxTotalCanvasPixels;
}

bool storeCanvas(GlassLayer& glass, int32_t id, Canvas canvas) {
    if (!canvasFits(glass, id, pixelCount(canvas))) return false;
    canvas.revision = ++glass.lastCanvasRevision;
    glass.canvases[id] = std::move(canvas);
    return true;
}

void dropCanvasBitmap(GlassLayer& glass, int32_t id) {
    // Every change to a canvas's content drops its bitmap; it moves the revision too.
    if (Canvas* canvas = findCanvas(glass, id)) canvas->revision = ++glass.lastCanvasRevision;
    if (glass.bitmapCache) glass.bitmapCache->dropCanvasBitmap(id);
}

void dropAllCanvasBitmaps(GlassLayer& glass) {
    if (glass.bitmapCache) glass.bitmapCache->dropAllCanvasBitmaps();
}

}  // namespace orvane
