#include "render/paint_terminal.h"

#include <algorithm>

#include "render/draw_row.h"
#include "render/font_fit.h"
#include "render/overlays.h"
#include "render/row_diff.h"

namespace orvane {

namespace {

// Outside the grid, and under everything when there is no layer cache.
constexpr Colour kMarginColour = rgb(45, 45, 45);
constexpr Colour kGridAreaColour = rgb(0, 0, 0);

// What one paint works with, gathered once.
struct Frame {
    Terminal& t;
    PaintHost& host;
    DrawSurface& canvas;  // back buffer, or the target without one
    GridLayout layout;    // in canvas coordinates
    UnderText under;
    int32_t width;
    int32_t height;
    PaintOutcome& out;
    int64_t composedAt = 0;  // counter ticks when old pixels or layers were in place

    void drawRows(int32_t first, int32_t end) {
        for (int32_t r = first; r < end; ++r) drawOne(r);
    }
    void drawOne(int32_t r) {
        drawRow(t, canvas, r, layout.x0, layout.y0, {layout.cellWidth, layout.cellHeight}, under);
        out.rowsDrawn.push_back(r);
    }
};

void refitIfNeeded(Terminal& t, RenderCache& cache, PaintHost& host, int32_t width,
                   int32_t height, PaintOutcome& out) {
    if (t.fontValid && cache.fitWidth == width && cache.fitHeight == height) return;
    const FontFit fit = fitFont(host.fontMetrics(), t.cols, t.rows, width, height);
    cache.fitWidth = width;
    cache.fitHeight = height;
    cache.fontPixelSize = fit.pixelSize;
    cache.cellWidth = fit.cell.width;
    cache.cellHeight = fit.cell.height;
    t.fontValid = 1;
    out.refitted = true;
}

bool tryScroll(Frame& f, const RenderCache& cache) {
    const int32_t k = detectScrollUp(f.t.grid, cache.shadowRows);
    if (k == 0) return false;
    const GridLayout& g = f.layout;
    const int32_t top = g.y0 + k * g.cellHeight;
    f.canvas.copyRect({g.x0, top, g.x0 + g.gridWidth(), top + (g.rows - k) * g.cellHeight}, g.x0,
                      g.y0);
    f.composedAt = f.host.counterTicks();
    f.drawRows(g.rows - k, g.rows);
    f.out.path = PaintPath::kScroll;
    f.out.scrollLines = k;
    return true;
}

bool tryDirtyRows(Frame& f, const RenderCache& cache) {
    const DirtyRows dirty = listDirtyRows(f.t.grid, cache.shadowRows);
    if (dirty.count == 0 || dirty.count >= f.t.rows) return false;
    f.composedAt = f.host.counterTicks();
    for (int32_t i = 0; i < dirty.count; ++i) f.drawOne(dirty.index[size_t(i)]);
    f.out.path = PaintPath::kDirtyRows;
    return true;
}

void paintFull(Frame& f, bool backBuffer, bool fastAllowed, uint32_t now) {
    const bool cached = backBuffer && fastAllowed &&
                        f.host.copyLayerCache(f.canvas, f.layout, f.width, f.height);
    if (!cached) {
        if (backBuffer) f.canvas.fillRect({0, 0, f.width, f.height}, kMarginColour);
        f.canvas.fillRect(f.layout.gridRect(), kGridAreaColour);
        f.host.drawUnderTextLayers(f.canvas, f.layout);
    }
    f.out.layerCacheUsed = cached;
    f.composedAt = f.host.counterTicks();
    f.drawRows(0, f.t.rows);
    if (bellShowing(f.t, now)) {
        f.host.drawBellIndicator(f.canvas, f.layout);
        f.out.bellDrawn = true;
    }
}

void rememberFrame(const Terminal& t, RenderCache& cache, const PaintOutcome& out, bool bare,
                   bool bell, int32_t width, int32_t height) {
    cache.shadowRows = t.grid;
    cache.lastCols = t.cols;
    cache.lastRows = t.rows;
    cache.lastWidth = width;
    cache.lastHeight = height;
    cache.lastBlinkPhase = t.blinkPhase != 0;
    cache.lastPalette = t.palette;
    // Only a back buffer keeps the picture for the next paint to build on.
    cache.shadowValid = !bell && out.backBufferUsed;
    cache.bufferBare = cache.shadowValid && bare;
}

}  // namespace

PaintOutcome paintTerminal(Terminal& t, RenderCache& cache, PaintHost& host,
                           const PaintRequest& request) {
    PaintOutcome out;
    const int64_t start = host.counterTicks();
    const int32_t width = request.paint.right - request.paint.left;
    const int32_t height = request.paint.bottom - request.paint.top;
    const int32_t bufferWidth = std::max(width, 1);
    const int32_t bufferHeight = std::max(height, 1);
    DrawSurface* back = host.backBuffer(bufferWidth, bufferHeight);
    out.backBufferUsed = back != nullptr;

    refitIfNeeded(t, cache, host, width, height, out);
    // The colours behind the indexes are not part of the rows compared.
    if (cache.lastPalette != t.palette) invalidateShadow(cache);

    const bool backgroundImage = host.backgroundImageLoaded();
    out.gate = evaluateGate(t, cache, {back != nullptr, backgroundImage, width, height, request.now});
    out.eligible = request.fastPathAllowed && out.gate.all();

    const CellMetrics cell{cache.cellWidth, cache.cellHeight};
    DrawSurface& canvas = back ? *back : host.target();
    canvas.selectGridFont(cache.fontPixelSize);
    const PixelRect canvasArea = back ? PixelRect{0, 0, bufferWidth, bufferHeight} : request.paint;
    Frame f{t,           host,         canvas, layoutGrid(canvasArea, t.cols, t.rows, cell),
            underTextOf(t, backgroundImage), bufferWidth, bufferHeight, out};

    const int64_t composeStart = host.counterTicks();
    const bool fast = out.eligible && (tryScroll(f, cache) || tryDirtyRows(f, cache));
    if (!fast) paintFull(f, back != nullptr, request.fastPathAllowed, request.now);
    const int64_t rendered = host.counterTicks();

    if (back) host.presentBackBuffer(request.paint.left, request.paint.top, bufferWidth, bufferHeight);
    drawOverlays(t, layoutGrid(request.paint, t.cols, t.rows, cell), host.target(), request.now);

    const bool bell = bellShowing(t, request.now);
    rememberFrame(t, cache, out, underTextBare(t, backgroundImage), bell, width, height);

    const int64_t end = host.counterTicks();
    out.ticks.composite = f.composedAt - composeStart;
    out.ticks.render = rendered - f.composedAt;
    out.ticks.blit = end - rendered;
    out.ticks.total = end - start;
    return out;
}

}  // namespace orvane
