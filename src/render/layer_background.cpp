#include "render/layer_background.h"

#include <algorithm>

#include "pictel/background_image.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

void layersChanged(Terminal& t) {
    ++t.layerGeneration;
    t.dirty = 1;
}

}  // namespace

int32_t backgroundFitFromText(const std::string& text) {
    if (text == "stretch") return kFitStretch;
    if (text == "center") return kFitCenter;
    return kFitAspect;
}

bool backgroundLoaded(const BackgroundState& bg) { return bg.image.valid; }

void setBackgroundFit(Terminal& t, BackgroundState& bg, const std::string& text) {
    const int32_t fit = backgroundFitFromText(text);
    if (fit == bg.fit) return;
    bg.fit = fit;
    ++bg.revision;
    layersChanged(t);
}

void setBackgroundOpacity(Terminal& t, BackgroundState& bg, int64_t value) {
    const int32_t opacity = int32_t(std::clamp<int64_t>(value, 0, 100));
    if (opacity == bg.opacity) return;
    bg.opacity = opacity;
    layersChanged(t);
}

bool loadBackground(Terminal& t, BackgroundState& bg, const std::wstring& path) {
    ++bg.revision;
    return loadBackgroundImage(t, path, bg.image);
}

ScaledCopyPlan planScaledCopy(const ScaledCopyRecord& held, uint64_t revision, int32_t width, int32_t height) {
    if (!held.present) return {false, true, false};
    const bool sameSize = held.width == width && held.height == height;
    if (held.revision != revision) return {true, true, false};
    if (!sameSize) return {true, true, true};
    return {};
}

}  // namespace orvane
