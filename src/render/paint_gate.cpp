#include "render/paint_gate.h"

namespace orvane {

namespace {

bool sameGeometry(const Terminal& t, const RenderCache& cache, const GateInputs& in) {
    return t.cols == cache.lastCols && t.rows == cache.lastRows && in.width == cache.lastWidth &&
           in.height == cache.lastHeight && cache.shadowRows.size() == size_t(t.rows);
}

}  // namespace

bool bellShowing(const Terminal& t, uint32_t now) {
    return t.bellFlashUntil != 0 && int32_t(now - t.bellFlashUntil) < 0;
}

bool underTextBare(const Terminal& t, bool backgroundImageLoaded) {
    return !backgroundImageLoaded && t.glass.placements.empty() && !t.glass.keyColourSet;
}

GateFlags evaluateGate(const Terminal& t, const RenderCache& cache, const GateInputs& in) {
    GateFlags g;
    g.buf = in.haveBackBuffer;
    g.cache = t.fontValid != 0 && cache.fitWidth == in.width && cache.fitHeight == in.height;
    g.shadow = cache.shadowValid;
    g.bbBare = cache.bufferBare;
    g.bare = underTextBare(t, in.backgroundImageLoaded);
    g.geom = sameGeometry(t, cache, in);
    g.blink = (t.blinkPhase != 0) == cache.lastBlinkPhase && !t.selectionPresent &&
              !bellShowing(t, in.now);
    return g;
}

}  // namespace orvane
