#pragma once

#include <string_view>

namespace orvane::bench {

// A recording of full-screen program output (an editor, then a file
// manager), ending back at a shell prompt.
std::string_view programMixRecording();

}  // namespace orvane::bench
