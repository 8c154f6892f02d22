#pragma once

#include <string>

#include "pictel/canvas.h"

namespace orvane {

// The placeholder picture: text in white, centred and word-wrapped, on dark
// grey inside a white frame. If the bitmap cannot be made it stays black.
void renderTextImage(const std::wstring& text, Canvas& out);

}  // namespace orvane
