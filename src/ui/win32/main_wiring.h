#pragma once

// Where the main window hands work to the receive pump, the renderer, the
// key input, connection control and the command line. Each is one call so
// that the window code does not depend on how those parts do their work.

#include "ui/win32/app_state.h"

#include <windows.h>

#include <string>

namespace orvane {

// Paints the grid (and its layers) into the terminal window's rectangle.
void paintTerminalContent(AppState& state, HDC dc, const RECT& client);
// The cell size a terminal window of the given size would get.
CellFitter terminalFontFit(AppState& state);

// Received data waiting (WM_SESSION_DATA) and the 16 ms tick.
void pumpReceived(AppState& state);
void pumpTick(AppState& state);
// Blink timer; LED and port-list timer.
void blinkTick(AppState& state);
void slowTick(AppState& state);

// The grid cell under a point of the terminal window's client area.
CellPos cellAtPoint(AppState& state, int x, int y, const RECT& client);
void stopDeviceSound(AppState& state);

// Keys and characters typed into the terminal window; false when not handled.
bool terminalKeyDown(AppState& state, WPARAM key);
bool terminalChar(AppState& state, WPARAM unit);

// Connection control.
void connectButtonPressed(AppState& state);
void modeBoxChanged(AppState& state);
void lineSettingsChanged(AppState& state);
void refreshPortsPressed(AppState& state);
void sessionClosed(AppState& state);
void devicesChanged(AppState& state);
void reconnectTick(AppState& state);

// A command line forwarded by a later instance, without the program name
// removed; returns 0 on success, 1 when a requested action failed.
int applyForwardedCommandLine(AppState& state, const std::wstring& commandLine);

}  // namespace orvane
