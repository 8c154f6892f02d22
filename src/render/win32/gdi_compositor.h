#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "render/compositor_geometry.h"
#include "render/layer_background.h"
#include "render/layer_bitmap_budget.h"
#include "render/win32/dib_section.h"

namespace orvane {

struct Terminal;

inline constexpr COLORREF kMarginColour = RGB(45, 45, 45);
inline constexpr COLORREF kGridColour = RGB(0, 0, 0);

// The layers under the text drawn with GDI: the background image through
// its scaled copy, the glass placements through one scaled bitmap per
// canvas (within the budget), and the cached picture of all of them with the
// margin for one paint size. While it lives it receives the glass layer's
// bitmap drop notifications.
class GdiCompositor {
public:
    GdiCompositor(Terminal& t, BackgroundState& background);
    GdiCompositor(const GdiCompositor&) = delete;
    GdiCompositor& operator=(const GdiCompositor&) = delete;
    ~GdiCompositor();

    void drawBackgroundImage(HDC dc, const PixelRect& grid);
    void drawGlassPlacements(HDC dc, const GridFrame& frame);
    // One canvas part stretched to dest through its cached scaled bitmap.
    void drawCanvasScaled(HDC dc, int32_t id, const Canvas& canvas, const PixelRect& source, const PixelRect& dest);

    // Margin, black grid, background and glass for a width x height paint,
    // rebuilt when the layers changed; null when it cannot be made.
    HDC layerCacheImage(HDC compatible, int32_t width, int32_t height, const GridFrame& frame);
    void releaseLayerCache();

    const ScaledCanvasCache<DibSection>& canvasBitmaps() const { return canvasBitmaps_; }
    const DibSection& scaledBackground() const { return scaledBackground_; }
    // The layer cache's context while there is one.
    HDC layerCacheContext() const;

private:
    struct LayerCache;

    void rebuildLayers(HDC dc, int32_t width, int32_t height, const GridFrame& frame);
    DibSection* scaledBackgroundFor(HDC dc, const PixelRect& drawn);

    Terminal& t_;
    BackgroundState& background_;
    DibSection scaledBackground_;
    ScaledCopyRecord scaledRecord_;
    ScaledCanvasCache<DibSection> canvasBitmaps_;
    std::unique_ptr<LayerCache> layerCache_;
};

// Greys the whole rectangle out: a mid-grey pixel blended over it.
void drawVeil(HDC dc, const RECT& area);

}  // namespace orvane
