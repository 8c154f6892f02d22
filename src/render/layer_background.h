#pragma once

#include <cstdint>
#include <string>

#include "pictel/canvas.h"
#include "render/compositor_geometry.h"

namespace orvane {

struct Terminal;

// The permanent background picture and how it is shown. Held by the
// terminal window next to the Terminal it paints.
struct BackgroundState {
    Canvas image;
    int32_t fit = kFitAspect;
    int32_t opacity = 100;
    // Moves whenever the scaled copy no longer shows the right picture
    // (another image or fit); the copy remembers the value it was made for.
    uint64_t revision = 0;
};

// "stretch" and "center" name their modes; any other text means aspect.
int32_t backgroundFitFromText(const std::string& text);

bool backgroundLoaded(const BackgroundState& bg);

// Each changes the layers (and asks for a repaint) only when the value moves.
void setBackgroundFit(Terminal& t, BackgroundState& bg, const std::string& text);
void setBackgroundOpacity(Terminal& t, BackgroundState& bg, int64_t value);

// Loads (or, with an empty path, clears) the picture; false leaves the old one.
bool loadBackground(Terminal& t, BackgroundState& bg, const std::wstring& path);

// What the scaled copy was made for; present is false when there is none.
struct ScaledCopyRecord {
    bool present = false;
    uint64_t revision = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct ScaledCopyPlan {
    bool drop = false;            // delete the copy held now
    bool create = false;          // make a new one at the drawn size
    bool layersChanged = false;   // the drop counts as a change of the layers
    friend bool operator==(const ScaledCopyPlan&, const ScaledCopyPlan&) = default;
};

// Before drawing the background at drawn size: keep, replace or make the copy.
ScaledCopyPlan planScaledCopy(const ScaledCopyRecord& held, uint64_t revision, int32_t width, int32_t height);

}  // namespace orvane
