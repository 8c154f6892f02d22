#pragma once

#include "ui/win32/app_state.h"

#include <windows.h>

namespace orvane {

// WM_COMMAND of the main window: menu items, accelerators and controls.
void onCommand(AppState& state, int id, int code, HWND control);

}  // namespace orvane
