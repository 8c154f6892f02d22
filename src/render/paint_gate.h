#pragma once
// The conditions under which the previous picture in the back buffer can be
// scrolled or patched instead of painted afresh.
#include <cstdint>

#include "render/render_cache.h"
#include "terminal/terminal.h"

namespace orvane {

// A visual bell is showing at `now` (0 means none; ticks wrap).
bool bellShowing(const Terminal& t, uint32_t now);

// Nothing but text in the picture: no background image, no glass placement,
// no key colour.
bool underTextBare(const Terminal& t, bool backgroundImageLoaded);

// Named as in the statistics line "gate pass".
struct GateFlags {
    bool buf = false;     // a back buffer is available
    bool cache = false;   // the font fit is current
    bool shadow = false;  // the last paint left a valid shadow
    bool bbBare = false;  // ... over a bare back buffer
    bool bare = false;    // nothing under the text now
    bool geom = false;    // same grid and paint size as the last paint
    bool blink = false;   // same blink phase, no selection, no bell
    bool all() const { return buf && cache && shadow && bbBare && bare && geom && blink; }
};

struct GateInputs {
    bool haveBackBuffer = false;
    bool backgroundImageLoaded = false;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t now = 0;
};

GateFlags evaluateGate(const Terminal& t, const RenderCache& cache, const GateInputs& in);

}  // namespace orvane
