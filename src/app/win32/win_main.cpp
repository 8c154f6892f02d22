// The entry point: the first instance starts Winsock and the common
// controls, loads the settings, creates the main window and runs the loop.
#include "app/command_line.h"
#include "app/help_text.h"
#include "app/settings.h"
#include "app/startup_scan.h"
#include "app/win32/command_args.h"
#include "app/win32/console_output.h"
#include "app/win32/forwarding_client.h"
#include "app/win32/settings_file.h"
#include "app/win32/window_placement.h"
#include "diag/stats_counters.h"
#include "ui/win32/app_state.h"
#include "ui/win32/dialogs.h"
#include "ui/win32/main_window.h"
#include "ui/win32/resource_ids.h"

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace orvane {
namespace {

// Standard classes, up-down and the status bar.
constexpr DWORD kCommonControlClasses = ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES;

void startCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, kCommonControlClasses};
    InitCommonControlsEx(&controls);
}

// Moves the window to the saved geometry when it lies on a monitor.
void applySavedGeometry(HWND window, const std::wstring& saved) {
    const std::optional<WindowPlacement> geom = savedPlacementToApply(saved);
    if (!geom) return;
    SetWindowPos(window, nullptr, geom->left, geom->top, geom->width, geom->height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// What pass 0 asked of start-up itself: size, maximised or normal show.
void applyStartupFlags(AppState& state, int showCommand) {
    const StartupFlags& flags = state.startupFlags;
    if (flags.size && flags.size->width >= 1 && flags.size->height >= 1) {
        SetWindowPos(state.mainWindow, nullptr, 0, 0, flags.size->width, flags.size->height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(state.mainWindow, flags.maximize ? SW_SHOWMAXIMIZED : showCommand);
    UpdateWindow(state.mainWindow);
    if (flags.slim) state.commandTarget.enterSlim();
}

// First run: false when the user declined.
bool disclaimerAccepted(AppState& state) {
    if (state.settings.acceptedDisclaimerVersion >= 1) return true;
    if (!showDisclaimer(state.mainWindow, true)) return false;
    state.settings.acceptedDisclaimerVersion = 1;
    saveSettingsIfPersisting(state);
    return true;
}

bool isTerminalKey(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR || message == WM_SYSKEYDOWN;
}

int runMessageLoop(AppState& state) {
    HACCEL accelerators = LoadAcceleratorsW(state.instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (state.mainWindow && TranslateAcceleratorW(state.mainWindow, accelerators, &msg)) continue;
        if (state.opacityDialog && IsDialogMessageW(state.opacityDialog, &msg)) continue;
        // Tab, Enter and the arrows belong to the terminal while it has the focus.
        const bool toTerminal = state.terminalWindow && GetFocus() == state.terminalWindow && isTerminalKey(msg.message);
        if (!toTerminal && state.mainWindow && IsDialogMessageW(state.mainWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// Ends a run whose window is gone: whatever is queued is handled first.
void drainMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

int runFirstInstance(HINSTANCE instance, int showCommand, const std::vector<std::wstring>& args) {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    startCommonControls();
    auto state = std::make_unique<AppState>();
    state->instance = instance;
    state->settings = loadSettingsFrom(state->settingsPath);
    applyCommandLine(args, CommandPass::beforeWindow, state->commandTarget);
    HWND window = createMainWindow(*state);
    if (!window) {
        WSACleanup();
        return 1;
    }
    applySavedGeometry(window, state->settings.windowGeom);
    if (!disclaimerAccepted(*state)) {
        // Declined: the window goes without WM_CLOSE, so nothing is saved.
        DestroyWindow(window);
        drainMessages();
        WSACleanup();
        return 0;
    }
    applyStartupFlags(*state, showCommand);
    applyStartupActions(args, state->commandTarget);
    if (const std::wstring& unknown = state->startupFlags.unknownOptions; !unknown.empty()) {
        printUnknownOptions(unknown);
        showNotice(*state, unknownOptionsNotice(unknown));
    }
    state->forwardGate.openAfterStartup();
    const int code = runMessageLoop(*state);
    WSACleanup();
    return code;
}

}  // namespace
}  // namespace orvane

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // A line that cannot be split starts the first instance without options.
    const std::vector<std::wstring> args = orvane::splitCommandLine(GetCommandLineW()).value_or(
        std::vector<std::wstring>{});
    const orvane::StartupRequests requests = orvane::scanStartupRequests(args);
    if (requests.diag) orvane::processStats().enabled = true;
    if (const std::optional<int> handedOff = orvane::handOffStartup(args, requests)) return *handedOff;
    return orvane::runFirstInstance(instance, showCommand, args);
}
