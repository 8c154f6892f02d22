#pragma once

#include "transport/session.h"

namespace orvane {

// Posts `message` with wParam and lParam 0 to the window.
void postToWindow(WindowHandle window, unsigned message);

}  // namespace orvane
