#pragma once
// What is drawn on the screen over the finished picture and never into the
// back buffer: cursor, selection, notice box. Cursor and selection invert,
// so drawing them twice leaves the target unchanged.
#include <cstdint>
#include <vector>

#include "render/draw_surface.h"
#include "render/grid_layout.h"
#include "terminal/terminal.h"

namespace orvane {

// The rectangles to invert for the cursor; none while it is hidden.
std::vector<PixelRect> cursorStrips(const Terminal& t, const GridLayout& g);

// One rectangle per selected row, in reading order.
std::vector<PixelRect> selectionBands(const Terminal& t, const GridLayout& g);

// Whether the notice is showing at `now`.
bool noticeShowing(const Terminal& t, uint32_t now);

// The notice box for text measuring `text`: above the grid's bottom-left.
PixelRect noticeBox(const GridLayout& g, TextExtent text);

inline constexpr Colour kNoticeFill = rgb(20, 20, 20);
inline constexpr Colour kNoticeFrame = rgb(90, 90, 90);
inline constexpr Colour kNoticeText = rgb(235, 235, 130);
inline constexpr int32_t kNoticePadding = 8;

void drawOverlays(const Terminal& t, const GridLayout& g, DrawSurface& target, uint32_t now);

}  // namespace orvane
