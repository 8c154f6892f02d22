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
void showModeChildren(AppState& state);
// Playback delays, playback line end, host, network port and protocol into the settings.
void readControlsIntoSettings(AppState& state);

void fillBaudBox(HWND box);
// "CR", "CRLF", "LF", and in LAN mode "<none>"; selects the setting's entry.
void fillLineTerminatorBox(AppState& state);

// Selects the item equal to text (case included), else the first; false then.
bool selectExactItem(HWND box, const std::wstring& text);
std::wstring comboText(HWND box);
std::wstring windowText(HWND window);
// Leading decimal digits of text (0 when none), saturating.
int leadingNumber(const std::wstring& text);

}  // namespace orvane
