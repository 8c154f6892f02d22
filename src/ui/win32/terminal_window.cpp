#include "ui/win32/terminal_window.h"

#include "diag/stats_counters.h"
#include "pictel/sounds.h"
#include "render/fast_path_switch.h"
#include "render/hit_test.h"
#include "render/win32/gdi_compositor.h"
#include "terminal/selection.h"
#include "ui/key_input.h"
#include "ui/paint_stats.h"
#include "ui/win32/resource_ids.h"

#include <windowsx.h>

#include <cstring>

namespace orvane {

namespace {

constexpr COLORREF kTerminalBackground = RGB(45, 45, 45);

enum ContextCommand : UINT { kCopy = 1, kSelectAll = 2 };

void repaint(HWND window) { InvalidateRect(window, nullptr, FALSE); }

bool keyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

void onPaint(AppState& state, HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    paintTerminalWindow(state, dc);
    EndPaint(window, &ps);
}

// Ctrl+Shift shortcuts; true when the key was one of them.
bool runShortcut(AppState& state, HWND window, WPARAM key) {
    if (!keyHeld(VK_CONTROL) || !keyHeld(VK_SHIFT)) return false;
    switch (key) {
    case 'C': copySelection(state); return true;
    case 'A':
        selectAll(state.terminal);
        repaint(window);
        return true;
    case 'S': stopSound(state.terminal); return true;
    default: return false;
    }
}

// Sends what a key or a character produced, and repaints or beeps as asked.
LRESULT applyInput(AppState& state, HWND window, const InputResult& input, UINT message, WPARAM wParam,
                   LPARAM lParam) {
    if (!input.handled) return DefWindowProcW(window, message, wParam, lParam);
    if (!input.bytes.empty()) activeSession(state).write(input.bytes.data(), input.bytes.size());
    if (input.beep) MessageBeep(0);
    if (input.repaint) repaint(window);
    return 0;
}

LRESULT onKeyDown(AppState& state, HWND window, WPARAM key, LPARAM lParam) {
    if (runShortcut(state, window, key)) return 0;
    const Keystroke keystroke{static_cast<uint32_t>(key), keyHeld(VK_CONTROL), keyHeld(VK_MENU)};
    const InputResult input = translateKey(state.terminal, activeSession(state).isOpen(), keystroke);
    return applyInput(state, window, input, WM_KEYDOWN, key, lParam);
}

LRESULT onChar(AppState& state, HWND window, WPARAM unit, LPARAM lParam) {
    const InputResult input =
        translateChar(state.terminal, activeSession(state).isOpen(), static_cast<char16_t>(unit));
    return applyInput(state, window, input, WM_CHAR, unit, lParam);
}

void onContextMenu(AppState& state, HWND window, LPARAM lParam) {
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1) {
        RECT client{};
        GetClientRect(window, &client);
        at = {client.right / 2, client.bottom / 2};
        ClientToScreen(window, &at);
    }
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | (state.terminal.selectionPresent ? 0 : MF_GRAYED), kCopy, L"&Copy\tCtrl+Shift+C");
    AppendMenuW(menu, MF_STRING, kSelectAll, L"Select &All\tCtrl+Shift+A");
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
    DestroyMenu(menu);
    if (chosen == kCopy) copySelection(state);
    if (chosen == kSelectAll) {
        selectAll(state.terminal);
        repaint(window);
    }
}

PixelRect clientOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.left, client.top, client.right, client.bottom};
}

void onButtonDown(AppState& state, HWND window, LPARAM lParam) {
    SetFocus(window);
    beginSelection(state.terminal, state.renderer.cache, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), clientOf(window));
    SetCapture(window);
    repaint(window);
}

LRESULT onMouseMove(AppState& state, HWND window, WPARAM wParam, LPARAM lParam) {
    if (GetCapture() == window) {
        extendSelection(state.terminal, state.renderer.cache, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                        clientOf(window));
        repaint(window);
        return 0;
    }
    return DefWindowProcW(window, WM_MOUSEMOVE, wParam, lParam);
}

LRESULT onButtonUp(AppState& state, HWND window, WPARAM wParam, LPARAM lParam) {
    if (GetCapture() != window) return DefWindowProcW(window, WM_LBUTTONUP, wParam, lParam);
    endSelection(state.terminal);
    ReleaseCapture();
    return 0;
}

LRESULT CALLBACK terminalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    AppState* state = appStateOf(window);
    if (!state || !state->mainWindow) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: onPaint(*state, window); return 0;
    case WM_PRINTCLIENT: paintTerminalWindow(*state, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_KEYDOWN: return onKeyDown(*state, window, wParam, lParam);
    case WM_CHAR: return onChar(*state, window, wParam, lParam);
    case WM_CONTEXTMENU: onContextMenu(*state, window, lParam); return 0;
    case WM_LBUTTONDOWN: onButtonDown(*state, window, lParam); return 0;
    case WM_MOUSEMOVE: return onMouseMove(*state, window, wParam, lParam);
    case WM_LBUTTONUP: return onButtonUp(*state, window, wParam, lParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Hands a filled block to the clipboard; false when the clipboard did not take it.
bool putOnClipboard(HWND owner, HGLOBAL block) {
    if (!OpenClipboard(owner)) return false;
    const bool taken = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    return taken;
}

}  // namespace

bool registerTerminalWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, kTerminalWindowClass, &wc)) return true;
    wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = terminalWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(kTerminalBackground);  // owned by the class for the process
    wc.lpszClassName = kTerminalWindowClass;
    return RegisterClassExW(&wc) != 0;
}

HWND createTerminalWindow(AppState& state) {
    return CreateWindowExW(WS_EX_CLIENTEDGE, kTerminalWindowClass, L"",
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 10, 10, state.mainWindow,
                           reinterpret_cast<HMENU>(IDC_TERMINAL), state.instance, nullptr);
}

void paintTerminalWindow(AppState& state, HDC dc) {
    RECT client{};
    GetClientRect(state.terminalWindow, &client);
    const PaintOutcome outcome =
        paintTerminalGdi(state.terminal, state.renderer, dc, client, GetTickCount(), fastPathAllowed());
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    countPaint(processStats(), outcome, frequency.QuadPart);
    if (!activeSession(state).isOpen()) drawVeil(dc, client);
}

void copySelection(AppState& state) {
    const std::u16string text = selectionText(state.terminal);
    if (text.empty()) return;
    // The block is filled before the clipboard is emptied, so a failed
    // allocation leaves the old clipboard content alone.
    const size_t bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return;
    void* memory = GlobalLock(block);
    if (!memory) {
        GlobalFree(block);
        return;
    }
    std::memcpy(memory, text.c_str(), bytes);
    GlobalUnlock(block);
    if (!putOnClipboard(state.mainWindow, block)) GlobalFree(block);
}

}  // namespace orvane
