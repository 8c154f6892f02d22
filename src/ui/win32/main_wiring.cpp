#include "ui/win32/main_wiring.h"

#include "transport/port_list.h"
#include "transport/win32/port_enumeration.h"
#include "ui/win32/main_controls.h"
#include "ui/win32/main_window.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/terminal_settings.h"

#include <algorithm>
#include <vector>

namespace orvane {

namespace {

// Cell size before any font was fitted.
constexpr CellSize kUnfittedCell{8, 16};
// Blinking pauses while bytes keep arriving.
constexpr uint32_t kBlinkQuietMs = 250;

CellSize currentCell(const AppState& state) {
    return state.cell.width > 0 && state.cell.height > 0 ? state.cell : kUnfittedCell;
}

// Margin of the grid inside the window along one axis.
int gridMargin(int window, int grid) { return window - grid >= 6 ? (window - grid) / 2 : 3; }

void repaintTerminal(AppState& state) { InvalidateRect(state.terminalWindow, nullptr, FALSE); }

}  // namespace

void paintTerminalContent(AppState&, HDC dc, const RECT& client) {
    HBRUSH background = CreateSolidBrush(RGB(45, 45, 45));
    FillRect(dc, &client, background);
    DeleteObject(background);
}

CellFitter terminalFontFit(AppState& state) {
    const CellSize cell = currentCell(state);
    return [cell](int32_t, int32_t) { return cell; };
}

CellPos cellAtPoint(AppState& state, int x, int y, const RECT& client) {
    const CellSize cell = currentCell(state);
    const Terminal& t = state.terminal;
    const int width = client.right - client.left, height = client.bottom - client.top;
    const int col = (x - gridMargin(width, cell.width * t.cols)) / cell.width;
    const int row = (y - gridMargin(height, cell.height * t.rows)) / cell.height;
    return {std::clamp(row, 0, t.rows - 1), std::clamp(col, 0, t.cols - 1)};
}

void stopDeviceSound(AppState&) {}

void pumpReceived(AppState& state) {
    if (!state.active->isOpen()) return;
    std::vector<uint8_t> bytes;
    if (state.active->drainReceived(bytes) == 0) return;
    state.lastRxTick = GetTickCount();
    feed(state.terminal, bytes.data(), bytes.size());
    std::vector<uint8_t> replies;
    if (takeReplies(state.terminal, replies)) state.active->write(replies.data(), replies.size());
    if (state.terminal.dirty) {
        state.terminal.dirty = 0;
        repaintTerminal(state);
    }
}

void pumpTick(AppState& state) { pumpReceived(state); }

void blinkTick(AppState& state) {
    if (GetTickCount() - state.lastRxTick < kBlinkQuietMs) return;
    state.terminal.blinkPhase ^= 1;
    repaintTerminal(state);
}

void slowTick(AppState&) {}

bool terminalKeyDown(AppState&, WPARAM) { return false; }

bool terminalChar(AppState& state, WPARAM unit) {
    if (unit < 32 || unit >= 128) return false;
    const uint8_t byte = static_cast<uint8_t>(unit);
    state.active->write(&byte, 1);
    return true;
}

void connectButtonPressed(AppState& state) {
    if (state.connected) {
        state.active->close();
        state.connected = false;
        showNotice(state, L"Disconnected");
    } else if (state.lanMode) {
        const std::wstring host = windowText(GetDlgItem(state.mainWindow, IDC_HOST));
        const int port = leadingNumber(windowText(GetDlgItem(state.mainWindow, IDC_NET_PORT)));
        state.connected = port >= 1 && port <= 65535 && state.net.connectTcp(host, static_cast<uint16_t>(port));
        showNotice(state, state.connected ? L"Connected " + host : L"LAN connect failed: " + state.net.lastError());
    } else {
        const LRESULT index = SendMessageW(GetDlgItem(state.mainWindow, IDC_PORT_BOX), CB_GETCURSEL, 0, 0);
        if (index < 0 || static_cast<size_t>(index) >= state.portList.size()) {
            showNotice(state, L"Select a serial port first");
            return;
        }
        const std::wstring& port = state.portList[static_cast<size_t>(index)].portName;
        state.connected = state.serial.open(port, static_cast<uint32_t>(leadingNumber(state.settings.baud)),
                                            narrowName(state.settings.framing));
        showNotice(state, state.connected ? L"Connected " + port : L"Serial open failed: " + state.serial.lastError());
    }
    updateConnectControls(state);
    repaintTerminal(state);
}

void modeBoxChanged(AppState& state) {
    if (state.connected) connectButtonPressed(state);
    state.lanMode = SendMessageW(GetDlgItem(state.mainWindow, IDC_MODE_BOX), CB_GETCURSEL, 0, 0) == 1;
    state.active = state.lanMode ? static_cast<ITermSession*>(&state.net) : &state.serial;
    state.settings.mode = state.lanMode ? L"lan" : L"serial";
    saveSettingsIfPersisting(state);
    showModeControls(state);
    repaintTerminal(state);
}

void lineSettingsChanged(AppState& state) { saveSettingsIfPersisting(state); }

void refreshPortsPressed(AppState& state) {
    HWND box = GetDlgItem(state.mainWindow, IDC_PORT_BOX);
    state.portList = enumerateSerialPorts();
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const PortInfo& port : state.portList) {
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(portDisplayText(port).c_str()));
    }
    if (state.portList.empty()) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"No serial ports found"));
    SendMessageW(box, CB_SETCURSEL, std::max(findPortIndex(state.portList, state.settings.lastPort), 0), 0);
}

void sessionClosed(AppState& state) {
    if (!state.connected) return;
    state.active->close();
    state.connected = false;
    updateConnectControls(state);
    repaintTerminal(state);
    showNotice(state, L"Connection closed by peer");
}

void devicesChanged(AppState& state) {
    if (!state.lanMode && !state.connected) refreshPortsPressed(state);
}

void reconnectTick(AppState&) {}

int applyForwardedCommandLine(AppState&, const std::wstring&) { return 0; }

}  // namespace orvane
