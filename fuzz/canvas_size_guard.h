#pragma once

#include <cstdint>
#include <vector>

#include "pictel_generator.h"

namespace orvane::fuzzing {

// Gives "I" commands anywhere in the program's bytes (generated or raw,
// whole or split across steps) that would create a canvas of more than
// maxPixels, and that the terminal would accept, the unknown final byte
// "Q". The parser's state carries from step to step, so the bytes are read
// as one stream.
void keepCanvasesSmall(std::vector<Step>& steps, int64_t maxPixels);

}  // namespace orvane::fuzzing
