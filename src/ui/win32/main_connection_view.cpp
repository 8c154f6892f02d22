#include "ui/win32/main_connection_view.h"

#include "pictel/sounds.h"
#include "ui/win32/app_state.h"
#include "ui/win32/main_controls.h"
#include "ui/win32/main_window.h"
#include "ui/win32/resource_ids.h"

namespace orvane {

namespace {

HWND control(const AppState& state, int id) { return GetDlgItem(state.mainWindow, id); }

void setEntries(HWND box, const std::vector<std::wstring>& entries, int selected) {
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : entries) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

}  // namespace

void MainConnectionView::setPortEntries(const std::vector<std::wstring>& entries, int selected) {
    setEntries(control(state, IDC_PORT_BOX), entries, selected);
}

int MainConnectionView::portSelection() const {
    return static_cast<int>(SendMessageW(control(state, IDC_PORT_BOX), CB_GETCURSEL, 0, 0));
}

bool MainConnectionView::portDropDownOpen() const {
    return SendMessageW(control(state, IDC_PORT_BOX), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void MainConnectionView::enablePortBox(bool enabled) {
    state.portBoxEnabled = enabled;
    applyEnabledStates(state);
}

std::wstring MainConnectionView::baudText() const { return comboText(control(state, IDC_BAUD_BOX)); }
std::wstring MainConnectionView::framingText() const { return comboText(control(state, IDC_FRAMING_BOX)); }
std::wstring MainConnectionView::hostText() const { return windowText(control(state, IDC_HOST)); }
std::wstring MainConnectionView::netPortText() const { return windowText(control(state, IDC_NET_PORT)); }

bool MainConnectionView::udpSelected() const {
    return SendMessageW(control(state, IDC_PROTOCOL), CB_GETCURSEL, 0, 0) == 1;
}

bool MainConnectionView::lanSelected() const {
    return SendMessageW(control(state, IDC_MODE_BOX), CB_GETCURSEL, 0, 0) == 1;
}

void MainConnectionView::setLineTerminatorEntries(const std::vector<std::wstring>& entries, int selected) {
    setEntries(control(state, IDC_LINE_END), entries, selected);
}

void MainConnectionView::setLineTerminatorBytes(const std::string& bytes) { state.terminal.lineTerminator = bytes; }

void MainConnectionView::setConnectCaption(const std::wstring& caption) {
    SetWindowTextW(control(state, IDC_CONNECT), caption.c_str());
}

void MainConnectionView::enableLanFields(bool enabled) {
    state.lanFieldsEnabled = enabled;
    applyEnabledStates(state);
}

void MainConnectionView::enableGeometryCommands(bool enabled) {
    state.gridCommandsEnabled = enabled;
    applyEnabledStates(state);
}

void MainConnectionView::showModeControls(bool lanMode) {
    showModeChildren(state, lanMode);
    layoutMainWindow(state);
}

void MainConnectionView::showNotice(const std::wstring& text) { orvane::showNotice(state, text); }

void MainConnectionView::repaintTerminal() { InvalidateRect(state.terminalWindow, nullptr, FALSE); }

void MainConnectionView::focusTerminal() { SetFocus(state.terminalWindow); }

void MainConnectionView::refreshLeds() {}

void MainConnectionView::resetTerminal() { clearScreen(state.terminal); }

void MainConnectionView::stopPlaybackAndSounds() { stopSound(state.terminal); }

void MainConnectionView::saveSettings() { saveSettingsIfPersisting(state); }

}  // namespace orvane
