#pragma once

#include <cstdint>
#include <vector>

namespace orvane {

struct Terminal;

// Canvas and placement commands. `p` holds the CSI parameters as signed
// values, at least as many as each command needs; `bare` is set when the
// sequence had no parameter at all.
void createCanvas(Terminal& t, const std::vector<int32_t>& p);
void deleteCanvas(Terminal& t, const std::vector<int32_t>& p, bool bare);
void placeCanvas(Terminal& t, const std::vector<int32_t>& p);
void showPlacement(Terminal& t, const std::vector<int32_t>& p, bool bare);
void setHold(Terminal& t, const std::vector<int32_t>& p, bool bare);
void setGlassOrigin(Terminal& t, const std::vector<int32_t>& p);
void setCanvasView(Terminal& t, const std::vector<int32_t>& p);
void clearCanvas(Terminal& t, const std::vector<int32_t>& p);
void setKeyColour(Terminal& t, const std::vector<int32_t>& p);
void resetGlass(Terminal& t);

}  // namespace orvane
