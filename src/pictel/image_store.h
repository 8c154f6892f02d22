#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pictel/canvas.h"

namespace orvane {

struct Terminal;

// Encoded image files the media commands read or receive.
inline constexpr uint64_t kMaxEncodedImageBytes = 0x2000000;

// Decodes bytes into out for canvas id. Fails like an unreadable image when
// the picture would not fit within the glass layer's total pixel cap.
bool decodeForCanvas(Terminal& t, int32_t id, const std::vector<uint8_t>& bytes, Canvas& out);
// Drops the stale bitmap and stores the canvas as id; false when it does
// not fit the pixel cap (nothing stored).
bool showCanvas(Terminal& t, int32_t id, Canvas canvas);

}  // namespace orvane
