#pragma once

#include "ui/win32/app_state.h"

#include <windows.h>

#include <string>

namespace orvane {

// The toolbar controls of the main window, made once and filled from the settings.
void createToolbarControls(AppState& state);
void initialiseControlsFromSettings(AppState& state);
void layoutToolbar(AppState& state, int clientWidth);
// Shows the serial or the LAN controls of the first row.
void showModeChildren(AppState& state, bool lanMode);
// Playback delays, playback line end, host, network port and protocol into the settings.
void readControlsIntoSettings(AppState& state);

// The baud rates, with a drop-down list as wide as the widest entry needs.
void fillBaudBox(HWND box);

// Selects the item equal to text (case included), else the first; false then.
bool selectExactItem(HWND box, const std::wstring& text);
std::wstring comboText(HWND box);
std::wstring windowText(HWND window);

}  // namespace orvane
