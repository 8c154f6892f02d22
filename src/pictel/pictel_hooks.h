#pragma once

#include <cstdint>

namespace orvane {

struct Terminal;

// Where the terminal hands over Pictel traffic and grid changes.
// A complete APC string is in t.apcText; the CSI parameters in t.params.
void dispatchPictelApc(Terminal& t);
void dispatchPictelCsi(Terminal& t, uint8_t finalByte);
// The grid changed size: canvases placed on it must be re-anchored.
void onGridResized(Terminal& t, int32_t cols, int32_t rows);

}  // namespace orvane
