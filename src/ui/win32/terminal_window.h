#pragma once

#include "ui/win32/app_state.h"

#include <windows.h>

namespace orvane {

inline constexpr wchar_t kTerminalWindowClass[] = L"OrvaneTerminal";

bool registerTerminalWindowClass(HINSTANCE instance);
// The terminal child (id 1009) of the state's main window.
HWND createTerminalWindow(AppState& state);
// One frame into dc: the grid, then the veil when no link is open. Used by
// WM_PAINT, WM_PRINTCLIENT and tests.
void paintTerminalWindow(AppState& state, HDC dc);
// The selected text to the clipboard as Unicode text.
void copySelection(AppState& state);

}  // namespace orvane
