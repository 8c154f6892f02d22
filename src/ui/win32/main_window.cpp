#include "ui/win32/main_window.h"

#include "app/win32/forwarded_line.h"
#include "pictel/sounds.h"
#include "pictel/win32/media_folders.h"
#include "terminal/blink.h"
#include "ui/win32/main_commands.h"
#include "ui/win32/main_controls.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/terminal_settings.h"
#include "ui/win32/terminal_window.h"

#include <commctrl.h>

namespace orvane {

namespace {

constexpr UINT kPumpPeriodMs = 16;
constexpr UINT kSlowPeriodMs = 60;
constexpr UINT kBlinkPeriodMs = 530;
// How long a notice stays over the grid in slim mode.
constexpr UINT kNoticeMs = 1600;

RECT clientRect(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

HFONT createScaledFont(const LOGFONTW& base, uint32_t dpi) {
    LOGFONTW font = base;
    font.lfHeight = scaleToDpi(base.lfHeight, dpi);
    return CreateFontIndirectW(&font);
}

void createFonts(AppState& state) {
    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    state.guiFont = createScaledFont(gui, state.dpi);
    LOGFONTW led{};
    led.lfHeight = -11;
    led.lfWeight = 600;
    led.lfQuality = CLEARTYPE_QUALITY;
    wcscpy_s(led.lfFaceName, L"Segoe UI");
    state.ledFont = createScaledFont(led, state.dpi);
}

void deleteFonts(AppState& state) {
    DeleteObject(state.guiFont);
    DeleteObject(state.ledFont);
    state.guiFont = state.ledFont = nullptr;
}

void createStatusBar(AppState& state) {
    state.statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, L"Ready", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0,
                                      0, state.mainWindow, reinterpret_cast<HMENU>(IDC_STATUS), state.instance,
                                      nullptr);
    if (state.statusBar) SendMessageW(state.statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(state.guiFont), FALSE);
}

void createMenuBar(AppState& state) {
    state.menuBar = LoadMenuW(state.instance, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    if (!state.menuBar) return;
    if (statisticsOn()) {
        HMENU diagnostics = CreatePopupMenu();
        AppendMenuW(diagnostics, MF_STRING, IDM_SHOW_STATS, L"&Show stats...");
        AppendMenuW(diagnostics, MF_STRING, IDM_RESET_STATS, L"&Reset stats");
        // Before "&Help", the last item.
        InsertMenuW(state.menuBar, GetMenuItemCount(state.menuBar) - 1, MF_BYPOSITION | MF_POPUP,
                    reinterpret_cast<UINT_PTR>(diagnostics), L"&Diagnostics");
    }
    SetMenu(state.mainWindow, state.menuBar);
}

// Files, decoder and player for Pictel, and the two media folders.
void connectMedia(AppState& state) {
    const MediaFolders folders = locateMediaFolders();
    state.terminal.mediaCacheDir = folders.cacheDir;
    state.terminal.mediaRepoDir = folders.repoDir;
    state.terminal.mediaPlatform = &state.media;
}

bool onCreate(AppState& state, HWND window) {
    state.mainWindow = window;
    state.dpi = GetDpiForWindow(window);
    connectMedia(state);
    createFonts(state);
    state.accentBrush = CreateSolidBrush(RGB(0, 120, 215));
    createStatusBar(state);
    createToolbarControls(state);
    initialiseControlsFromSettings(state);
    applySettingsToTerminal(state);
    state.terminalWindow = createTerminalWindow(state);
    state.serial.setRts(state.settings.rts);
    state.serial.setDtr(state.settings.dtr);
    createMenuBar(state);
    setGridSizeByName(state, state.settings.geometry, false);
    updateMenuMarks(state);
    state.serial.setNotifyTarget(window, WM_SESSION_DATA, WM_SESSION_CLOSED);
    state.net.setNotifyTarget(window, WM_SESSION_DATA, WM_SESSION_CLOSED);
    state.connection.initialise();
    SetTimer(window, TIMER_PUMP, kPumpPeriodMs, nullptr);
    SetTimer(window, TIMER_LEDS, kSlowPeriodMs, nullptr);
    SetTimer(window, TIMER_BLINK, kBlinkPeriodMs, nullptr);
    return state.terminalWindow != nullptr;
}

void onSize(AppState& state) { layoutMainWindow(state); }

void onMinMaxInfo(const AppState& state, MINMAXINFO* info) {
    if (state.slimMode) return;
    const LayoutSize minimum = minTrackSize(state.dpi);
    info->ptMinTrackSize = {minimum.width, minimum.height};
}

void onDpiChanged(AppState& state, UINT dpi, const RECT* suggested) {
    state.dpi = dpi;
    deleteFonts(state);
    createFonts(state);
    for (HWND child = GetWindow(state.mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(state.guiFont), TRUE);
    }
    state.terminal.fontValid = 0;
    SetWindowPos(state.mainWindow, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    layoutMainWindow(state);
}

void onTimer(AppState& state, UINT_PTR id) {
    const uint32_t now = GetTickCount();
    switch (id) {
    case TIMER_PUMP:
        pumpTick(state.pump, pumpContextOf(state));
        state.connection.onPumpTick(now);
        break;
    case TIMER_LEDS: state.connection.onLedTick(now); break;
    case TIMER_BLINK:
        if (blinkTick(state.terminal, now, state.pump.lastRxTick)) InvalidateRect(state.terminalWindow, nullptr, FALSE);
        break;
    case TIMER_VISUAL_BELL:
        KillTimer(state.mainWindow, id);
        endVisualBell(state.terminal, state.pumpHost);
        break;
    case TIMER_NOTICE:
        KillTimer(state.mainWindow, id);
        endNotice(state.terminal);
        InvalidateRect(state.terminalWindow, nullptr, FALSE);
        break;
    default: break;
    }
}

// The normal (restored) rectangle in screen coordinates, also while
// minimised or maximised.
RECT normalWindowRect(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    RECT r = placement.rcNormalPosition;
    // The placement is in work-area coordinates; move it to the screen's.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor)) {
        OffsetRect(&r, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    }
    return r;
}

void onClose(AppState& state) {
    const RECT r = normalWindowRect(state.mainWindow);
    state.settings.windowGeom = formatWindowGeom({r.right - r.left, r.bottom - r.top, r.left, r.top});
    readControlsIntoSettings(state);
    saveSettingsIfPersisting(state);
    DestroyWindow(state.mainWindow);
}

void onDestroy(AppState& state) {
    stopSound(state.terminal);
    state.serial.close();
    state.net.close();
    for (UINT_PTR id : {TIMER_PUMP, TIMER_LEDS, TIMER_BLINK, TIMER_SLIM_HOVER}) KillTimer(state.mainWindow, id);
    deleteFonts(state);
    DeleteObject(state.accentBrush);
    state.accentBrush = nullptr;
    state.mainWindow = state.terminalWindow = state.statusBar = nullptr;
    state.menuBar = nullptr;  // attached to the window, destroyed with it
    PostQuitMessage(0);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    AppState* state = reinterpret_cast<AppState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!state || (message != WM_CREATE && !state->mainWindow)) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: return onCreate(*state, window) ? 0 : -1;
    case WM_SIZE: onSize(*state); return 0;
    case WM_GETMINMAXINFO: onMinMaxInfo(*state, reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_DPICHANGED: onDpiChanged(*state, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_COMMAND: onCommand(*state, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
    case WM_TIMER: onTimer(*state, wParam); return 0;
    case WM_SETFOCUS: SetFocus(state->terminalWindow); return 0;
    case WM_ENTERMENULOOP: state->inMenuLoop = true; return 0;
    case WM_EXITMENULOOP: state->inMenuLoop = false; return 0;
    case WM_ENTERSIZEMOVE: state->inSizeMove = true; return 0;
    case WM_EXITSIZEMOVE: state->inSizeMove = false; return 0;
    case WM_COPYDATA: return receiveForwardedLine(lParam, state->forwardGate, state->commandTarget);
    case WM_DEVICECHANGE: state->connection.onDeviceChange(wParam); return TRUE;
    case WM_SESSION_DATA: pumpRx(state->pump, pumpContextOf(*state)); return 0;
    case WM_SESSION_CLOSED: state->connection.onSessionClosed(wParam, GetTickCount()); return 0;
    case WM_CLOSE: onClose(*state); return 0;
    case WM_DESTROY: onDestroy(*state); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

std::wstring mainWindowTitle() { return std::wstring(kProductName) + L"  " + kVersionText; }

bool registerMainWindowClasses(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, kMainWindowClass, &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = mainWindowProc;
        wc.hInstance = instance;
        wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ORVANE), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
        wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ORVANE), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kMainWindowClass;
        if (!RegisterClassExW(&wc)) return false;
    }
    return registerTerminalWindowClass(instance);
}

HWND createMainWindow(AppState& state) {
    if (!registerMainWindowClasses(state.instance)) return nullptr;
    return CreateWindowExW(0, kMainWindowClass, mainWindowTitle().c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           CW_USEDEFAULT, CW_USEDEFAULT, kMainWindowWidth, kMainWindowHeight, nullptr, nullptr,
                           state.instance, &state);
}

void showNotice(AppState& state, const std::wstring& text) {
    if (state.slimMode) {
        state.terminal.noticeText.assign(text.begin(), text.end());
        state.terminal.noticeUntil = GetTickCount() + kNoticeMs;
        InvalidateRect(state.terminalWindow, nullptr, FALSE);
        SetTimer(state.mainWindow, TIMER_NOTICE, kNoticeMs, nullptr);
        return;
    }
    if (state.statusBar) SendMessageW(state.statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void layoutMainWindow(AppState& state) {
    if (!state.mainWindow) return;
    const RECT client = clientRect(state.mainWindow);
    int statusHeight = 0;
    if (state.statusBar) {
        SendMessageW(state.statusBar, WM_SIZE, 0, 0);
        RECT status{};
        GetWindowRect(state.statusBar, &status);
        statusHeight = status.bottom - status.top;
    }
    layoutToolbar(state, client.right);
    const LayoutRect terminal = terminalRect(client.right, client.bottom, statusHeight, state.dpi);
    if (state.terminalWindow) {
        SetWindowPos(state.terminalWindow, nullptr, terminal.x, terminal.y, terminal.width, terminal.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace orvane
