#include "pictel/image_store.h"

#include "pictel/glass_layer.h"
#include "terminal/terminal.h"

namespace orvane {

bool decodeForCanvas(Terminal& t, int32_t id, const std::vector<uint8_t>& bytes, Canvas& out) {
    out = Canvas{};
    if (bytes.empty() || !mediaPlatformOf(t).decodeImage(bytes.data(), bytes.size(), out)) return false;
    const int64_t pixels = int64_t(out.width) * int64_t(out.height);
    return out.valid && out.width >= 1 && out.height >= 1 && pixels <= kMaxCanvasPixels &&
           out.pixels.size() == size_t(pixels) && canvasFits(t.glass, id, pixels);
}

bool showCanvas(Terminal& t, int32_t id, Canvas canvas) {
    dropCanvasBitmap(t.glass, id);
    return storeCanvas(t.glass, id, std::move(canvas));
}

}  // namespace orvane
