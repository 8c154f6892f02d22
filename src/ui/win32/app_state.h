#pragma once

#include "app/command_target.h"
#include "app/forwarding.h"
#include "app/settings.h"
#include "pictel/win32/win32_media_platform.h"
#include "render/win32/gdi_paint_host.h"
#include "terminal/receive_pump.h"
#include "terminal/terminal.h"
#include "transport/connection_control.h"
#include "transport/win32/net_session.h"
#include "transport/win32/serial_session.h"
#include "transport/win32/session_link_openers.h"
#include "ui/main_layout.h"
#include "ui/win32/main_command_target.h"
#include "ui/win32/main_connection_view.h"
#include "ui/win32/main_pump_host.h"

#include <windows.h>

#include <cstdint>
#include <string>

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

    Terminal terminal;
    SerialSession serial;
    NetSession net;
    Win32MediaPlatform media;
    GdiRenderer renderer{terminal};
    ReceivePump pump;

    // The parts of the program that drive the window through an interface of their own.
    MainConnectionView connectionView{*this};
    SessionLinkOpeners links{serial, net};
    ConnectionControl connection{connectionView, links, serial, net, settings};
    MainPumpHost pumpHost{*this};
    MainCommandTarget commandTarget{*this};
    StartupFlags startupFlags;
    ForwardGate forwardGate;

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

    // What decides the enabled state of some controls and menu items while
    // the GUI is not locked.
    bool playbackFileChosen = false;
    bool portBoxEnabled = true;       // connection control's say
    bool lanFieldsEnabled = true;     // connection control's say
    bool gridCommandsEnabled = true;  // connection control's say
};

// The state of a window created by createMainWindow (or one of its children).
AppState* appStateOf(HWND window);
// The session the pump, the keyboard and playback use.
ITermSession& activeSession(AppState& state);
bool statisticsOn();

// Saves the settings to the state's INI file when changes may be saved now.
void saveSettingsIfPersisting(AppState& state);

}  // namespace orvane
