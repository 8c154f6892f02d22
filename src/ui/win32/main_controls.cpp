#include "ui/win32/main_controls.h"

#include "app/number_text.h"
#include "transport/connection_boxes.h"
#include "ui/win32/main_window.h"
#include "ui/win32/resource_ids.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <string>
#include <vector>

namespace orvane {

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDropList = kChild | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kLabel = kChild;
constexpr DWORD kRightLabel = kChild | SS_RIGHT;
constexpr DWORD kNumberEdit = kChild | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL;
constexpr DWORD kSpin = kChild | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
// Delays of playback, in milliseconds.
constexpr int kMaxPlayDelayMs = 500;
// Extra room of the baud drop-down beyond its widest text.
constexpr int kBaudListExtra = 24;

struct ControlSpec {
    int id;
    const wchar_t* windowClass;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
};

// Creation order is tab order.
constexpr ControlSpec kControls[] = {
    {IDC_MODE_BOX, WC_COMBOBOXW, L"", kDropList, 0},
    {IDC_PORT_LABEL, WC_STATICW, L"Port:", kLabel, 0},
    {IDC_PORT_BOX, WC_COMBOBOXW, L"", kDropList | WS_VSCROLL, 0},
    {IDC_REFRESH, WC_BUTTONW, L"Refresh", kButton, 0},
    {IDC_BAUD_BOX, WC_COMBOBOXW, L"", kDropList | WS_VSCROLL, 0},
    {IDC_FRAMING_BOX, WC_COMBOBOXW, L"", kDropList, 0},
    {IDC_ADDR_LABEL, WC_STATICW, L"Addr:", kLabel, 0},
    {IDC_HOST, WC_EDITW, L"", kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {IDC_NET_PORT_LABEL, WC_STATICW, L"Port:", kRightLabel, 0},
    {IDC_NET_PORT, WC_EDITW, L"", kNumberEdit, WS_EX_CLIENTEDGE},
    {IDC_PROTOCOL, WC_COMBOBOXW, L"", kDropList, 0},
    {IDC_CONNECT, WC_BUTTONW, L"Connect", kButton, 0},
    {IDC_CLEAR, WC_BUTTONW, L"Clear", kButton, 0},
    {IDC_CAPTURE, WC_BUTTONW, L"Capture", kButton, 0},
    {IDC_PLAYBACK, WC_BUTTONW, L"Playback", kButton, 0},
    {IDC_PLAY, WC_BUTTONW, L"Play", kButton | WS_DISABLED, 0},
    {IDC_CHAR_MS_LABEL, WC_STATICW, L"Char ms:", kRightLabel, 0},
    {IDC_CHAR_MS, WC_EDITW, L"", kNumberEdit | ES_RIGHT, WS_EX_CLIENTEDGE},
    {IDC_CHAR_MS_SPIN, UPDOWN_CLASSW, L"", kSpin, 0},
    {IDC_PLAY_EOL_LABEL, WC_STATICW, L"EOL:", kRightLabel, 0},
    {IDC_PLAY_EOL, WC_COMBOBOXW, L"", kDropList, 0},
    {IDC_LINE_MS_LABEL, WC_STATICW, L"Line ms:", kRightLabel, 0},
    {IDC_LINE_MS, WC_EDITW, L"", kNumberEdit | ES_RIGHT, WS_EX_CLIENTEDGE},
    {IDC_LINE_MS_SPIN, UPDOWN_CLASSW, L"", kSpin, 0},
    {IDC_PLAY_FILE, WC_STATICW, L"(no file selected)", kLabel | SS_PATHELLIPSIS, 0},
    {IDC_SCREENSHOT, WC_BUTTONW, L"Screenshot", kButton, 0},
    {IDC_INPUT_LABEL, WC_STATICW, L"Input:", kRightLabel, 0},
    {IDC_INPUT_MODE, WC_COMBOBOXW, L"", kDropList, 0},
    {IDC_LINE_END_LABEL, WC_STATICW, L"EOL Mode:", kRightLabel, 0},
    {IDC_LINE_END, WC_COMBOBOXW, L"", kDropList, 0},
    {IDC_ECHO, WC_BUTTONW, L"Echo", kCheck, 0},
    {IDC_AUTOSCROLL, WC_BUTTONW, L"Auto-scroll", kCheck, 0},
    {IDC_DISPLAY_MODE, WC_COMBOBOXW, L"", kDropList, 0},
    {IDC_PALETTE, WC_COMBOBOXW, L"", kDropList, 0},
    {IDC_LED_BAR, L"OrvaneLedBar", L"", kChild, 0},
};

constexpr int kSerialControls[] = {IDC_PORT_LABEL, IDC_PORT_BOX, IDC_REFRESH, IDC_BAUD_BOX, IDC_FRAMING_BOX,
                                   IDC_LED_BAR};
constexpr int kLanControls[] = {IDC_ADDR_LABEL, IDC_HOST, IDC_NET_PORT_LABEL, IDC_NET_PORT, IDC_PROTOCOL};

void addItems(HWND box, std::initializer_list<const wchar_t*> items) {
    for (const wchar_t* item : items) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

void addEntries(HWND box, const std::vector<std::wstring>& entries) {
    for (const std::wstring& entry : entries) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

HWND control(const AppState& state, int id) { return GetDlgItem(state.mainWindow, id); }

void fillLists(AppState& state) {
    addItems(control(state, IDC_MODE_BOX), {L"Serial", L"LAN"});
    addEntries(control(state, IDC_FRAMING_BOX), framingBoxEntries());
    addItems(control(state, IDC_PROTOCOL), {L"TCP", L"UDP"});
    addItems(control(state, IDC_PLAY_EOL), {L"CR", L"LF", L"CRLF"});
    addItems(control(state, IDC_INPUT_MODE), {L"char", L"line"});
    addItems(control(state, IDC_DISPLAY_MODE), {L"ANSI", L"ASCII", L"HEX"});
    addItems(control(state, IDC_PALETTE), {L"Campbell", L"VGA", L"PuTTY"});
    fillBaudBox(control(state, IDC_BAUD_BOX));
}

void initialiseSpin(HWND spin, HWND buddy, int value) {
    SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessageW(spin, UDM_SETRANGE32, 0, kMaxPlayDelayMs);
    SendMessageW(spin, UDM_SETPOS32, 0, std::clamp(value, 0, kMaxPlayDelayMs));
}

}  // namespace

void fillBaudBox(HWND box) {
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const std::wstring& text : baudBoxEntries()) {
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        widest = std::max(widest, extent.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    SendMessageW(box, CB_SETDROPPEDWIDTH, widest + kBaudListExtra, 0);
}

std::wstring comboText(HWND box) {
    const LRESULT index = SendMessageW(box, CB_GETCURSEL, 0, 0);
    if (index < 0) return {};
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, index, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool selectExactItem(HWND box, const std::wstring& text) {
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        SendMessageW(box, CB_SETCURSEL, i, 0);
        if (comboText(box) == text) return true;
    }
    SendMessageW(box, CB_SETCURSEL, 0, 0);
    return false;
}

void createToolbarControls(AppState& state) {
    for (const ControlSpec& entry : kControls) {
        HWND child = CreateWindowExW(entry.exStyle, entry.windowClass, entry.text, entry.style, 0, 0, 10, 10,
                                     state.mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                                     state.instance, nullptr);
        // A control that cannot be created is left out; layout moves only what exists.
        if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(state.guiFont), FALSE);
    }
    fillLists(state);
}

void initialiseControlsFromSettings(AppState& state) {
    const AppSettings& s = state.settings;
    SendMessageW(control(state, IDC_MODE_BOX), CB_SETCURSEL, lanModeSelected(s) ? 1 : 0, 0);
    SendMessageW(control(state, IDC_BAUD_BOX), CB_SETCURSEL, initialBaudIndex(s.baud), 0);
    SendMessageW(control(state, IDC_FRAMING_BOX), CB_SETCURSEL, initialFramingIndex(s.framing), 0);
    SetWindowTextW(control(state, IDC_HOST), s.host.c_str());
    SetWindowTextW(control(state, IDC_NET_PORT), s.netPort.c_str());
    SendMessageW(control(state, IDC_PROTOCOL), CB_SETCURSEL, udpSelected(s) ? 1 : 0, 0);
    initialiseSpin(control(state, IDC_CHAR_MS_SPIN), control(state, IDC_CHAR_MS), s.playCharDelayMs);
    initialiseSpin(control(state, IDC_LINE_MS_SPIN), control(state, IDC_LINE_MS), s.playEolDelayMs);
    selectExactItem(control(state, IDC_PLAY_EOL), s.playEol);
    selectExactItem(control(state, IDC_INPUT_MODE), s.inputMode);
    CheckDlgButton(state.mainWindow, IDC_ECHO, s.localEcho ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(state.mainWindow, IDC_AUTOSCROLL, s.autoScroll ? BST_CHECKED : BST_UNCHECKED);
    selectExactItem(control(state, IDC_DISPLAY_MODE), s.displayMode);
    selectExactItem(control(state, IDC_PALETTE), s.palette);
}

void layoutToolbar(AppState& state, int clientWidth) {
    for (const ControlPlace& place : scaledToolbarLayout(clientWidth, state.dpi)) {
        HWND child = control(state, place.id);
        if (!child) continue;
        SetWindowPos(child, nullptr, place.rect.x, place.rect.y, place.rect.width, place.rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void showModeChildren(AppState& state, bool lanMode) {
    for (int id : kSerialControls) ShowWindow(control(state, id), lanMode ? SW_HIDE : SW_SHOW);
    for (int id : kLanControls) ShowWindow(control(state, id), lanMode ? SW_SHOW : SW_HIDE);
}

int clampedDelay(HWND edit) { return std::clamp(readNumber(windowText(edit)).value, 0, kMaxPlayDelayMs); }

void readControlsIntoSettings(AppState& state) {
    AppSettings& s = state.settings;
    s.playCharDelayMs = clampedDelay(control(state, IDC_CHAR_MS));
    s.playEolDelayMs = clampedDelay(control(state, IDC_LINE_MS));
    if (std::wstring eol = comboText(control(state, IDC_PLAY_EOL)); !eol.empty()) s.playEol = eol;
    if (std::wstring host = windowText(control(state, IDC_HOST)); !host.empty()) s.host = host;
    if (std::wstring port = windowText(control(state, IDC_NET_PORT)); !port.empty()) s.netPort = port;
    s.proto = SendMessageW(control(state, IDC_PROTOCOL), CB_GETCURSEL, 0, 0) == 1 ? L"UDP" : L"TCP";
}

}  // namespace orvane
