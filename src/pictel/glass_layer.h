#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pictel/canvas.h"

namespace orvane {

struct Placement {
    int32_t canvasId = 0;
    int32_t row = 0;
    int32_t rowHundredths = 0;
    int32_t col = 0;
    int32_t colHundredths = 0;
    int32_t widthCells = 0;
    int32_t widthHundredths = 0;
    bool visible = true;
};

// What a device announced before sending (or instead of sending) an image.
struct OfferRecord {
    uint32_t crc = 0;
    uint64_t length = 0;    // never 0
    std::string extension;  // "jpeg" or "png"
};

struct GlassOrigin {
    int32_t rowRef = 25;
    int32_t rowRefHundredths = 0;
    int32_t colRef = 80;
    int32_t colRefHundredths = 0;
};

// The compositor keeps a scaled bitmap per canvas; it is told here when one
// goes stale. The glass layer never reads the bitmaps.
class CanvasBitmapCache {
public:
    virtual ~CanvasBitmapCache() = default;
    virtual void dropCanvasBitmap(int32_t id) = 0;
    virtual void dropAllCanvasBitmaps() = 0;
};

inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kMagenta = 0xFF00FF;

struct GlassLayer {
    std::map<int32_t, Canvas> canvases;
    std::vector<Placement> placements;  // drawing order, one per canvas id
    std::map<int32_t, std::string> pendingTransfers;
    std::map<int32_t, OfferRecord> offers;
    uint32_t strokeColour = kWhite;  // 0x00BBGGRR
    uint32_t fillColour = kWhite;
    bool strokeOff = false;
    bool fillOff = false;
    bool hold = false;
    uint32_t canvasBackground = kMagenta;
    bool keyColourSet = false;
    GlassOrigin glassOrigin;
    CanvasBitmapCache* bitmapCache = nullptr;  // the compositor's, when there is one
    // Last canvas revision handed out; kept across a reset of the layer so a
    // new canvas never repeats the revision of the one it replaces.
    uint64_t lastCanvasRevision = 0;
};

// Pixels of all canvases together: a device cannot make the terminal hold
// more than 1 GiB of pictures, however many canvases it creates.
inline constexpr int64_t kMaxTotalCanvasPixels = 0x10000000;
// Canvases and placements a device may hold at once. Far more than a screen
// can show; without a cap, tiny ones would grow memory and the per-command
// bookkeeping without bound.
inline constexpr size_t kMaxCanvases = 4096;
inline constexpr size_t kMaxPlacements = 4096;

Canvas* findCanvas(GlassLayer& glass, int32_t id);
// Inserts or replaces canvas id. Fails, storing nothing, when the canvases
// together would pass kMaxTotalCanvasPixels or a new id would pass kMaxCanvases.
bool storeCanvas(GlassLayer& glass, int32_t id, Canvas canvas);
// Whether a canvas of this many pixels could replace canvas id within the cap.
bool canvasFits(const GlassLayer& glass, int32_t id, int64_t pixels);
void dropCanvasBitmap(GlassLayer& glass, int32_t id);
void dropAllCanvasBitmaps(GlassLayer& glass);

}  // namespace orvane
