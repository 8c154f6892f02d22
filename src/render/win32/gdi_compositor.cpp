#include "render/win32/gdi_compositor.h"

#include "terminal/terminal.h"

namespace orvane {

namespace {

constexpr COLORREF kVeilColour = RGB(128, 128, 128);
constexpr BYTE kVeilAlpha = 165;

void fillSolid(HDC dc, const RECT& r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

bool blendConstant(HDC dc, const PixelRect& to, HDC from, int32_t width, int32_t height, BYTE alpha) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
    return AlphaBlend(dc, to.left, to.top, widthOf(to), heightOf(to), from, 0, 0, width, height, blend);
}

// The source part of a canvas as a bitmap of its own, so that stretching
// reads it with plain top-left coordinates.
DibSection copyOfPart(HDC compatible, const Canvas& canvas, const PixelRect& part) {
    DibSection copy = DibSection::create(compatible, widthOf(part), heightOf(part));
    if (!copy) return copy;
    // Without the fourth byte: nothing blends per pixel, and a key colour
    // must match on the colour alone.
    for (int32_t y = 0; y < copy.height(); ++y) {
        const uint32_t* from = canvas.pixels.data() + size_t(part.top + y) * size_t(canvas.width) + size_t(part.left);
        uint32_t* to = copy.pixels() + size_t(y) * size_t(copy.width());
        for (int32_t x = 0; x < copy.width(); ++x) to[x] = from[x] & 0x00FFFFFFu;
    }
    GdiFlush();
    return copy;
}

// A new bitmap of width x height holding the canvas part stretched with mode.
DibSection scaledCopy(HDC compatible, const Canvas& canvas, const PixelRect& part, int32_t width, int32_t height,
                      int mode) {
    if (canvas.pixels.size() < size_t(canvas.width) * size_t(canvas.height)) return {};
    DibSection source = copyOfPart(compatible, canvas, part);
    DibSection scaled = DibSection::create(compatible, width, height);
    if (!source || !scaled) return {};
    MemoryContext from(compatible, source.bitmap());
    MemoryContext to(compatible, scaled.bitmap());
    if (!from || !to) return {};
    SetStretchBltMode(to.dc(), mode);
    SetBrushOrgEx(to.dc(), 0, 0, nullptr);
    if (!StretchBlt(to.dc(), 0, 0, width, height, from.dc(), 0, 0, source.width(), source.height(), SRCCOPY))
        return {};
    GdiFlush();
    return scaled;
}

}  // namespace

// A compatible (device-format) bitmap, deleted with its owner.
struct OwnedBitmap {
    explicit OwnedBitmap(HBITMAP b) : handle(b) {}
    OwnedBitmap(const OwnedBitmap&) = delete;
    OwnedBitmap& operator=(const OwnedBitmap&) = delete;
    ~OwnedBitmap() {
        if (handle) DeleteObject(handle);
    }
    HBITMAP handle;
};

struct GdiCompositor::LayerCache {
    LayerCache(HDC compatible, int32_t w, int32_t h)
        : bitmap(CreateCompatibleBitmap(compatible, w, h)), context(compatible, bitmap.handle), width(w), height(h) {}
    // Declared in this order so that the context lets go of the bitmap before it is deleted.
    OwnedBitmap bitmap;
    MemoryContext context;
    int32_t width;
    int32_t height;
    std::optional<uint64_t> generation;  // none until first built
    GridFrame frame;
};

GdiCompositor::GdiCompositor(Terminal& t, BackgroundState& background) : t_(t), background_(background) {
    t_.glass.bitmapCache = &canvasBitmaps_;
}

GdiCompositor::~GdiCompositor() {
    if (t_.glass.bitmapCache == &canvasBitmaps_) t_.glass.bitmapCache = nullptr;
}

DibSection* GdiCompositor::scaledBackgroundFor(HDC dc, const PixelRect& drawn) {
    const ScaledCopyPlan plan = planScaledCopy(scaledRecord_, background_.revision, widthOf(drawn), heightOf(drawn));
    if (plan.drop) {
        scaledBackground_ = DibSection{};
        scaledRecord_ = {};
    }
    if (plan.layersChanged) ++t_.layerGeneration;
    if (plan.create) {
        const Canvas& image = background_.image;
        scaledBackground_ = scaledCopy(dc, image, {0, 0, image.width, image.height}, widthOf(drawn),
                                       heightOf(drawn), HALFTONE);
        if (!scaledBackground_) return nullptr;
        scaledRecord_ = {true, background_.revision, widthOf(drawn), heightOf(drawn)};
    }
    return &scaledBackground_;
}

void GdiCompositor::drawBackgroundImage(HDC dc, const PixelRect& grid) {
    const BackgroundState& bg = background_;
    const uint8_t alpha = backgroundAlpha(bg.opacity);
    if (!backgroundLoaded(bg) || alpha == 0) return;
    const std::optional<PixelRect> drawn = backgroundDrawRect(bg.fit, bg.image.width, bg.image.height, grid);
    if (!drawn) return;
    const DibSection* scaled = scaledBackgroundFor(dc, *drawn);
    if (!scaled) return;
    MemoryContext from(dc, scaled->bitmap());
    if (!from) return;
    SavedDcState saved(dc);
    IntersectClipRect(dc, grid.left, grid.top, grid.right, grid.bottom);
    if (alpha < 255) {
        blendConstant(dc, *drawn, from.dc(), scaled->width(), scaled->height(), alpha);
    } else {
        BitBlt(dc, drawn->left, drawn->top, scaled->width(), scaled->height(), from.dc(), 0, 0, SRCCOPY);
    }
}

void GdiCompositor::drawGlassPlacements(HDC dc, const GridFrame& frame) {
    if (t_.glass.placements.empty()) return;
    const std::optional<PixelRect> grid = gridRect(frame);
    if (!grid) return;
    SavedDcState saved(dc);
    IntersectClipRect(dc, grid->left, grid->top, grid->right, grid->bottom);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    for (const GlassBlit& blit : glassBlits(t_.glass, frame)) {
        drawCanvasScaled(dc, blit.canvasId, t_.glass.canvases.at(blit.canvasId), blit.source, blit.dest);
    }
}

void GdiCompositor::drawCanvasScaled(HDC dc, int32_t id, const Canvas& canvas, const PixelRect& source,
                                     const PixelRect& dest) {
    const bool keyed = t_.glass.keyColourSet;
    const int32_t width = widthOf(dest);
    const int32_t height = heightOf(dest);
    DibSection* bitmap = canvasBitmaps_.find(id, width, height, keyed);
    if (!bitmap) {
        if (!canvasBitmaps_.makeRoom(id, width, height)) return;
        DibSection made = scaledCopy(dc, canvas, source, width, height, keyed ? COLORONCOLOR : HALFTONE);
        if (!made) return;
        bitmap = &canvasBitmaps_.store(id, width, height, keyed, std::move(made));
    }
    MemoryContext from(dc, bitmap->bitmap());
    if (!from) return;
    if (keyed) {
        TransparentBlt(dc, dest.left, dest.top, width, height, from.dc(), 0, 0, width, height,
                       t_.glass.canvasBackground);
    } else {
        BitBlt(dc, dest.left, dest.top, width, height, from.dc(), 0, 0, SRCCOPY);
    }
}

void GdiCompositor::rebuildLayers(HDC dc, int32_t width, int32_t height, const GridFrame& frame) {
    SelectClipRgn(dc, nullptr);
    fillSolid(dc, {0, 0, width, height}, kMarginColour);
    const std::optional<PixelRect> grid = gridRect(frame);
    if (!grid) return;
    fillSolid(dc, {grid->left, grid->top, grid->right, grid->bottom}, kGridColour);
    drawBackgroundImage(dc, *grid);
    drawGlassPlacements(dc, frame);
}

HDC GdiCompositor::layerCacheImage(HDC compatible, int32_t width, int32_t height, const GridFrame& frame) {
    if (layerCache_ && (layerCache_->width != width || layerCache_->height != height)) releaseLayerCache();
    if (!layerCache_) {
        layerCache_ = std::make_unique<LayerCache>(compatible, width, height);
        if (!layerCache_->bitmap.handle || !layerCache_->context) {
            releaseLayerCache();
            return nullptr;
        }
    }
    LayerCache& cache = *layerCache_;
    const bool sameFrame = cache.frame.x0 == frame.x0 && cache.frame.y0 == frame.y0 &&
                           cache.frame.cellWidth == frame.cellWidth && cache.frame.cellHeight == frame.cellHeight &&
                           cache.frame.cols == frame.cols && cache.frame.rows == frame.rows;
    if (cache.generation != t_.layerGeneration || !sameFrame) {
        rebuildLayers(cache.context.dc(), width, height, frame);
        cache.generation = t_.layerGeneration;
        cache.frame = frame;
    }
    return cache.context.dc();
}

void GdiCompositor::releaseLayerCache() { layerCache_.reset(); }

HDC GdiCompositor::layerCacheContext() const { return layerCache_ ? layerCache_->context.dc() : nullptr; }

void drawVeil(HDC dc, const RECT& area) {
    DibSection grey = DibSection::create(dc, 1, 1);
    if (!grey) return;
    grey.pixels()[0] = kVeilColour;  // grey: the byte order does not matter
    MemoryContext from(dc, grey.bitmap());
    if (!from) return;
    blendConstant(dc, {area.left, area.top, area.right, area.bottom}, from.dc(), 1, 1, kVeilAlpha);
}

}  // namespace orvane
