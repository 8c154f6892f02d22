#pragma once

#include "ui/win32/app_state.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace orvane {

inline constexpr wchar_t kMainWindowClass[] = L"OrvaneMainWnd";
inline constexpr wchar_t kProductName[] = L"Orvane";
inline constexpr wchar_t kVersionText[] = L"1.2.4";
inline constexpr int kMainWindowWidth = 920;
inline constexpr int kMainWindowHeight = 600;

// Registers "OrvaneMainWnd" and "OrvaneTerminal"; harmless when done before.
bool registerMainWindowClasses(HINSTANCE instance);
// Creates the (hidden) main window for the state, with its children, menu
// and timers. Null on failure.
HWND createMainWindow(AppState& state);
// "Orvane  1.2.4".
std::wstring mainWindowTitle();

// The one way to report a short result: the status bar (a notice over the
// grid in slim mode).
void showNotice(AppState& state, const std::wstring& text);
void setGuiLocked(AppState& state, bool locked);
// Enables each child control and menu item by the program's rules (all
// disabled while the GUI is locked), then redraws the menu bar.
void applyEnabledStates(AppState& state);
void layoutMainWindow(AppState& state);

// Grid size: see the Terminal menu.
void applyGridSize(AppState& state, bool save, bool snap);
void setGridSizeByName(AppState& state, std::wstring_view name, bool fromMenu);
void snapWindowToGrid(AppState& state);
// Radio and check marks of every menu item from the settings and terminal.
void updateMenuMarks(AppState& state);

}  // namespace orvane
