#pragma once

// The Pictel drawing commands. The dispatcher calls them with the CSI
// parameters as signed 32-bit values, at least as many as each command needs;
// "F" and "R" take an empty vector for the form without parameters.

#include <cstdint>
#include <vector>

namespace orvane {

struct Terminal;

void pictelRectangle(Terminal& t, const std::vector<int32_t>& p);  // "B": id, x, y, w, h [, thickness]
void pictelCircle(Terminal& t, const std::vector<int32_t>& p);     // "C": id, cx, cy, r [, thickness]
void pictelEllipse(Terminal& t, const std::vector<int32_t>& p);    // "E": id, cx, cy, rx, ry [, thickness]
void pictelLine(Terminal& t, const std::vector<int32_t>& p);       // "L": id, x1, y1, x2, y2 [, thickness]
void pictelArrow(Terminal& t, const std::vector<int32_t>& p);      // "M": id, x, y, size, angle [, thickness]
void pictelHand(Terminal& t, const std::vector<int32_t>& p);       // "N": id, x, y, size, angle [, thickness]
void pictelFillColour(Terminal& t, const std::vector<int32_t>& p);    // "F": red, green, blue, or nothing
void pictelStrokeColour(Terminal& t, const std::vector<int32_t>& p);  // "R": red, green, blue, or nothing

}  // namespace orvane
