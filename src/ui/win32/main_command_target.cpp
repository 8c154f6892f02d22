#include "ui/win32/main_command_target.h"

#include "app/win32/settings_file.h"
#include "pictel/media_cache.h"
#include "pictel/sounds.h"
#include "render/layer_background.h"
#include "transport/connection_boxes.h"
#include "ui/key_input.h"
#include "ui/win32/app_state.h"
#include "ui/win32/main_controls.h"
#include "ui/win32/main_window.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/terminal_settings.h"

namespace orvane {

namespace {

// Released when a "-send" playback ends; a waiting forwarding process watches it.
constexpr wchar_t kPlayDoneEvent[] = L"Local\\Orvane_PlayDone";

HWND control(const AppState& state, int id) { return GetDlgItem(state.mainWindow, id); }

void repaint(AppState& state) { InvalidateRect(state.terminalWindow, nullptr, FALSE); }

void withPlayDoneEvent(BOOL (*action)(HANDLE)) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, kPlayDoneEvent);
    if (!event) return;
    action(event);
    CloseHandle(event);
}

}  // namespace

AppSettings& MainCommandTarget::settings() { return state.settings; }
StartupFlags& MainCommandTarget::startupFlags() { return state.startupFlags; }
void MainCommandTarget::saveSettingsNow() { saveSettingsTo(state.settings, state.settingsPath); }

void MainCommandTarget::switchMode(bool lan) {
    SendMessageW(control(state, IDC_MODE_BOX), CB_SETCURSEL, lan ? 1 : 0, 0);
    state.connection.switchMode();
}

void MainCommandTarget::refreshPorts(const std::wstring& preferredPort) { state.connection.refreshPortList(preferredPort); }
void MainCommandTarget::setHostText(const std::wstring& host) { SetWindowTextW(control(state, IDC_HOST), host.c_str()); }
void MainCommandTarget::setNetPortText(const std::wstring& port) {
    SetWindowTextW(control(state, IDC_NET_PORT), port.c_str());
}

void MainCommandTarget::setProto(const std::wstring&) {
    SendMessageW(control(state, IDC_PROTOCOL), CB_SETCURSEL, udpSelected(state.settings) ? 1 : 0, 0);
    state.connection.updateConnectControls();
}

void MainCommandTarget::selectBaud(const std::wstring& baud) {
    SendMessageW(control(state, IDC_BAUD_BOX), CB_SETCURSEL, initialBaudIndex(baud), 0);
}

void MainCommandTarget::selectFraming(const std::wstring& framing) {
    SendMessageW(control(state, IDC_FRAMING_BOX), CB_SETCURSEL, initialFramingIndex(framing), 0);
}

void MainCommandTarget::reapplyLineSettings() { state.connection.reapplyLineSettings(GetTickCount()); }

void MainCommandTarget::setPalette(const std::wstring& name) {
    selectExactItem(control(state, IDC_PALETTE), name);
    orvane::setPalette(state.terminal, narrowName(name));
    // The renderer's gate does not see the palette: the next paint starts afresh.
    state.renderer.cache.shadowValid = false;
    repaint(state);
}

void MainCommandTarget::setLocalEcho(bool on) {
    state.terminal.localEcho = on ? 1 : 0;
    CheckDlgButton(state.mainWindow, IDC_ECHO, on ? BST_CHECKED : BST_UNCHECKED);
}

void MainCommandTarget::setInputMode(const std::wstring& mode) {
    selectExactItem(control(state, IDC_INPUT_MODE), mode);
    setLineMode(state.terminal, mode == L"line");
}

void MainCommandTarget::setLineTerminator(const std::wstring& terminator) {
    const bool lan = state.connection.state().lanMode;
    SendMessageW(control(state, IDC_LINE_END), CB_SETCURSEL, lineTerminatorIndex(terminator, lan), 0);
    state.terminal.lineTerminator = lineTerminatorBytes(comboText(control(state, IDC_LINE_END)));
}

void MainCommandTarget::setAutoScroll(bool on) {
    state.terminal.autoScroll = on ? 1 : 0;
    CheckDlgButton(state.mainWindow, IDC_AUTOSCROLL, on ? BST_CHECKED : BST_UNCHECKED);
}

void MainCommandTarget::setDisplayMode(const std::wstring& mode) {
    selectExactItem(control(state, IDC_DISPLAY_MODE), mode);
    orvane::setDisplayMode(state.terminal, narrowName(mode));
    repaint(state);
}

void MainCommandTarget::setGeometry(const std::wstring& geometry) { setGridSizeByName(state, geometry, false); }

void MainCommandTarget::setCursorStyle(const std::wstring& style) {
    orvane::setCursorStyle(state.terminal, narrowName(style));
    updateMenuMarks(state);
    repaint(state);
}

void MainCommandTarget::setCursorBlink(bool on) {
    orvane::setCursorBlink(state.terminal, on);
    updateMenuMarks(state);
    repaint(state);
}

void MainCommandTarget::setRts(bool on) { state.serial.setRts(on); }
void MainCommandTarget::setDtr(bool on) { state.serial.setDtr(on); }

void MainCommandTarget::setMediaCache(bool on) {
    setMediaCacheEnabled(state.terminal, on);
    updateMenuMarks(state);
}

void MainCommandTarget::setMediaRepo(bool on) {
    state.terminal.mediaRepoEnabled = on;
    updateMenuMarks(state);
}

void MainCommandTarget::setSounds(bool on) {
    setSoundsEnabled(state.terminal, on);
    if (!on) stopSound(state.terminal);
    updateMenuMarks(state);
}

void MainCommandTarget::setBackgroundImage(const std::wstring& path) {
    if (!loadBackground(state.terminal, state.renderer.background, path)) {
        orvane::showNotice(state, L"Background image could not be read");
    }
    applyEnabledStates(state);
    repaint(state);
}

void MainCommandTarget::setBackgroundFit(const std::wstring& fit) {
    orvane::setBackgroundFit(state.terminal, state.renderer.background, narrowName(fit));
    updateMenuMarks(state);
    repaint(state);
}

void MainCommandTarget::setBackgroundOpacity(int percent) {
    orvane::setBackgroundOpacity(state.terminal, state.renderer.background, percent);
    repaint(state);
}

void MainCommandTarget::setPlayCharDelay(int milliseconds) {
    SetDlgItemInt(state.mainWindow, IDC_CHAR_MS, static_cast<UINT>(milliseconds), FALSE);
}

void MainCommandTarget::setPlayEolDelay(int milliseconds) {
    SetDlgItemInt(state.mainWindow, IDC_LINE_MS, static_cast<UINT>(milliseconds), FALSE);
}

void MainCommandTarget::setPlayEol(const std::wstring& eol) { selectExactItem(control(state, IDC_PLAY_EOL), eol); }

void MainCommandTarget::maximizeWindow() { ShowWindow(state.mainWindow, SW_MAXIMIZE); }

// Slim mode arrives with its own part of the program.
void MainCommandTarget::enterSlim() {}

void MainCommandTarget::resizeWindow(WindowSize size) {
    SetWindowPos(state.mainWindow, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER);
}

void MainCommandTarget::minimizeWindow() { ShowWindow(state.mainWindow, SW_MINIMIZE); }
void MainCommandTarget::restoreWindow() { ShowWindow(state.mainWindow, SW_RESTORE); }
void MainCommandTarget::lockUi() { setGuiLocked(state, true); }
void MainCommandTarget::unlockUi() { setGuiLocked(state, false); }
int MainCommandTarget::clearMediaCache() { return orvane::clearMediaCache(state.terminal); }
bool MainCommandTarget::isConnected() { return state.connection.state().connected; }

void MainCommandTarget::connect() {
    if (isConnected()) return;
    if (state.connection.state().lanMode) {
        state.connection.connectLan();
    } else {
        state.connection.connectSerial();
    }
}

void MainCommandTarget::disconnect() {
    if (isConnected()) state.connection.disconnectLink();
}

// Capture, playback and screenshots arrive with their own parts of the program.
void MainCommandTarget::startCapture(const std::wstring&) {}
bool MainCommandTarget::startPlayback(const std::wstring&) { return false; }
bool MainCommandTarget::saveScreenshot(const std::wstring&) { return false; }
void MainCommandTarget::snapScreenshot() {}

void MainCommandTarget::resetPlayDone() { withPlayDoneEvent(ResetEvent); }
void MainCommandTarget::signalPlayDone() { withPlayDoneEvent(SetEvent); }

void MainCommandTarget::showNotice(const std::wstring& text) { orvane::showNotice(state, text); }

}  // namespace orvane
