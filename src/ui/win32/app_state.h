#pragma once

#include "app/settings.h"
#include "terminal/terminal.h"
#include "transport/port_list.h"
#include "transport/win32/net_session.h"
#include "transport/win32/serial_session.h"
#include "ui/main_layout.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// Everything the program keeps for its whole run, owned by WinMain (or a
// test) and reached from the main window, so two windows in one process do
// not share state.
struct AppState {
    AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    HINSTANCE instance = nullptr;
    AppSettings settings;
    std::wstring settingsPath;  // the INI file changes are saved to
    bool statisticsOn = false;  // "-diag": adds the Diagnostics menu

    Terminal terminal;
    SerialSession serial;
    NetSession net;
    ITermSession* active = &serial;
    bool lanMode = false;
    bool connected = false;
    bool awaitingReconnect = false;
    std::vector<PortInfo> portList;  // what the port box lists, in its order

    // Windows and GDI objects of the main window.
    HWND mainWindow = nullptr;
    HWND terminalWindow = nullptr;
    HWND statusBar = nullptr;
    HMENU menuBar = nullptr;
    HFONT guiFont = nullptr;
    HFONT ledFont = nullptr;
    HBRUSH accentBrush = nullptr;
    HWND opacityDialog = nullptr;  // modeless, while open
    uint32_t dpi = kLayoutDpi;

    // Frame state.
    bool slimMode = false;
    bool inMenuLoop = false;
    bool inSizeMove = false;
    bool guiLocked = false;
    bool startupFinished = false;    // forwarded lines are refused before
    bool applyingForwarded = false;  // and while one is being applied

    // What decides the enabled state of some controls and menu items.
    bool playbackFileChosen = false;
    bool backgroundLoaded = false;

    // Cell size of the last font fit (zero before the first paint).
    CellSize cell;
    uint32_t lastRxTick = 0;
};

// The state of a window created by createMainWindow (or one of its children).
AppState* appStateOf(HWND window);

// Saves the settings to the state's INI file when changes may be saved now.
void saveSettingsIfPersisting(AppState& state);

}  // namespace orvane
