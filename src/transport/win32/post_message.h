#pragma once

#include "transport/session.h"

#include <cstdint>

namespace orvane {

// Posts `message` with `wParam` and lParam 0 to the window.
void postToWindow(WindowHandle window, unsigned message, uintptr_t wParam);

}  // namespace orvane
