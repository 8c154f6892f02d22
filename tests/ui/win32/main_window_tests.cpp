// The main window and the terminal window with their real window procedures,
// created in this process.
#include "app/win32/settings_file.h"
#include "diag/stats_counters.h"
#include "terminal/selection.h"
#include "../../transport/win32/net_peers.h"
#include "ui/main_layout.h"
#include "ui/win32/main_window.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/terminal_window.h"

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orvane {
namespace {

void pumpMessagesFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

std::wstring textOf(HWND window) {
    wchar_t text[256]{};
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring menuText(HMENU menu, UINT item, UINT by) {
    wchar_t text[128]{};
    GetMenuStringW(menu, item, text, 128, by);
    return text;
}

RECT rectInParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC = ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES;
        InitCommonControlsEx(&controls);
    }

    void SetUp() override {
        wchar_t folder[MAX_PATH]{};
        GetTempPathW(MAX_PATH, folder);
        iniPath = std::wstring(folder) + L"orvane_ui_" + std::to_wstring(GetCurrentProcessId()) + L".ini";
        DeleteFileW(iniPath.c_str());
        state->instance = GetModuleHandleW(nullptr);
        state->settingsPath = iniPath;
    }

    void TearDown() override {
        if (state->mainWindow) DestroyWindow(state->mainWindow);
        pumpMessagesFor(10);
        DeleteFileW(iniPath.c_str());
    }

    HWND create() {
        HWND window = createMainWindow(*state);
        EXPECT_NE(window, nullptr);
        // Left hidden: showing and destroying a window costs two seconds under Wine without
        // a window manager, and nothing here needs the screen.
        UpdateWindow(window);
        pumpMessagesFor(30);
        return window;
    }

    HWND item(int id) const { return GetDlgItem(state->mainWindow, id); }
    AppSettings savedSettings() const { return loadSettingsFrom(iniPath); }
    void command(int id, int code = 0, HWND control = nullptr) {
        SendMessageW(state->mainWindow, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    }
    void chooseInBox(int id, const wchar_t* text) {
        HWND box = item(id);
        SendMessageW(box, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        command(id, CBN_SELCHANGE, box);
    }
    std::wstring boxText(int id) const { return textOf(item(id)); }
    bool checked(int command) const { return GetMenuState(state->menuBar, command, MF_BYCOMMAND) & MF_CHECKED; }
    bool greyed(UINT item, UINT by) const { return GetMenuState(state->menuBar, item, by) & MF_GRAYED; }

    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    std::wstring iniPath;
};

TEST_F(MainWindowTest, TitleClassAndEveryControlAtItsLayoutPlace) {
    HWND window = create();
    EXPECT_EQ(textOf(window), L"Orvane  1.2.4");
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ((LayoutSize{outer.right - outer.left, outer.bottom - outer.top}), (LayoutSize{920, 600}));
    wchar_t className[64]{};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"OrvaneMainWnd");
    RECT client{};
    GetClientRect(window, &client);
    int created = 0;
    for (const ControlPlace& place : scaledToolbarLayout(client.right, state->dpi)) {
        HWND control = item(place.id);
        if (!control) continue;  // the LED bar comes with its own part
        ++created;
        const RECT r = rectInParent(control);
        wchar_t kind[32]{};
        GetClassNameW(control, kind, 32);
        EXPECT_EQ(r.left, place.rect.x) << place.id;
        EXPECT_EQ(r.top, place.rect.y) << place.id;
        EXPECT_EQ(r.right - r.left, place.rect.width) << place.id;
        // A closed drop-down list is shorter than its placed height, which includes the list.
        if (_wcsicmp(kind, L"ComboBox") != 0) {
            EXPECT_EQ(r.bottom - r.top, place.rect.height) << place.id;
        }
    }
    EXPECT_EQ(created, static_cast<int>(kToolbarControlCount) - 1);
    RECT status{};
    GetWindowRect(state->statusBar, &status);
    const LayoutRect expected = terminalRect(client.right, client.bottom, status.bottom - status.top, state->dpi);
    const RECT terminal = rectInParent(state->terminalWindow);
    EXPECT_EQ((LayoutRect{terminal.left, terminal.top, terminal.right - terminal.left, terminal.bottom - terminal.top}),
              expected);
    EXPECT_EQ(GetDlgCtrlID(state->terminalWindow), IDC_TERMINAL);
}

TEST_F(MainWindowTest, StatusBarStartsReadyAndShowsNotices) {
    create();
    EXPECT_EQ(textOf(state->statusBar), L"Ready");
    showNotice(*state, L"Connect first");
    EXPECT_EQ(textOf(state->statusBar), L"Connect first");
}

TEST_F(MainWindowTest, MenuBarTextsAndCommands) {
    create();
    const std::vector<std::wstring> topLevel = {L"&File", L"&Terminal", L"&Pictel", L"&Help"};
    ASSERT_EQ(GetMenuItemCount(state->menuBar), static_cast<int>(topLevel.size()));
    for (size_t i = 0; i < topLevel.size(); ++i) {
        EXPECT_EQ(menuText(state->menuBar, static_cast<UINT>(i), MF_BYPOSITION), topLevel[i]);
    }
    const std::map<UINT, std::wstring> items = {
        {2060, L"Load &background image..."}, {2061, L"C&lear background image"}, {2062, L"&Stretch to fill"},
        {2063, L"Lock &aspect ratio"}, {2064, L"&Center (native size)"}, {2065, L"Background &opacity..."},
        {2066, L"Take &screenshot\tF12"}, {2067, L"Screenshot set&up..."}, {2001, L"E&xit"},
        {2040, L"&Slim GUI mode\tF11"}, {2020, L"80 x 24"}, {2021, L"80 x 25"}, {2022, L"132 x 24"},
        {2023, L"132 x 25"}, {2030, L"&Off (ignore BEL)"}, {2031, L"&Ding (system sound)"},
        {2032, L"&Sound file..."}, {2033, L"&Visual only (bell icon)"}, {2070, L"&Block"}, {2071, L"&Outline"},
        {2072, L"&Double underline"}, {2073, L"Bl&ink"}, {2010, L"Enable media-&cache"},
        {2011, L"Enable media-&repo"}, {2013, L"Enable device &sounds"}, {2014, L"S&top sound\tCtrl+Shift+S"},
        {2012, L"Clear media cache"}, {2003, L"&View Help"}, {2004, L"End-User &Disclaimer..."}, {2002, L"&About"},
    };
    for (const auto& [id, text] : items) EXPECT_EQ(menuText(state->menuBar, id, MF_BYCOMMAND), text) << id;
    EXPECT_TRUE(greyed(IDM_CLEAR_BACKGROUND, MF_BYCOMMAND));
    EXPECT_EQ(menuText(state->menuBar, IDM_SHOW_STATS, MF_BYCOMMAND), L"");
}

TEST_F(MainWindowTest, DiagnosticsMenuOnlyWithStatistics) {
    processStats().enabled = true;
    create();
    processStats().enabled = false;
    ASSERT_EQ(GetMenuItemCount(state->menuBar), 5);
    EXPECT_EQ(menuText(state->menuBar, 3, MF_BYPOSITION), L"&Diagnostics");
    EXPECT_EQ(menuText(state->menuBar, 4, MF_BYPOSITION), L"&Help");
    EXPECT_EQ(menuText(state->menuBar, IDM_SHOW_STATS, MF_BYCOMMAND), L"&Show stats...");
    EXPECT_EQ(menuText(state->menuBar, IDM_RESET_STATS, MF_BYCOMMAND), L"&Reset stats");
}

TEST(Accelerators, F11AndF12AsPlainVirtualKeys) {
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8]{};
    const int count = CopyAcceleratorTableW(table, entries, 8);
    ASSERT_EQ(count, 2);
    std::map<WORD, WORD> commandByKey;
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[i].fVirt & ~FNOINVERT, FVIRTKEY) << entries[i].key;
        commandByKey[entries[i].key] = entries[i].cmd;
    }
    EXPECT_EQ(commandByKey, (std::map<WORD, WORD>{{VK_F11, IDM_SLIM}, {VK_F12, IDM_SCREENSHOT}}));
    DestroyAcceleratorTable(table);
}

TEST_F(MainWindowTest, ControlsStartFromTheSettings) {
    struct Case {
        int id;
        std::wstring AppSettings::*field;
        const wchar_t* stored;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {IDC_PALETTE, &AppSettings::palette, L"VGA", L"VGA"},
        {IDC_DISPLAY_MODE, &AppSettings::displayMode, L"HEX", L"HEX"},
        {IDC_BAUD_BOX, &AppSettings::baud, L"57600", L"57600"},
        {IDC_FRAMING_BOX, &AppSettings::framing, L"8E1", L"8E1"},
        {IDC_INPUT_MODE, &AppSettings::inputMode, L"line", L"line"},
        {IDC_LINE_END, &AppSettings::lineTerminator, L"LF", L"LF"},
        {IDC_PLAY_EOL, &AppSettings::playEol, L"CRLF", L"CRLF"},
        {IDC_PROTOCOL, &AppSettings::proto, L"UDP", L"UDP"},
    };
    for (const Case& c : cases) state->settings.*c.field = c.stored;
    state->settings.localEcho = true;
    state->settings.autoScroll = false;
    state->settings.host = L"device.local";
    create();
    for (const Case& c : cases) EXPECT_EQ(boxText(c.id), c.shown) << c.id;
    EXPECT_EQ(IsDlgButtonChecked(state->mainWindow, IDC_ECHO), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(state->mainWindow, IDC_AUTOSCROLL), BST_UNCHECKED);
    EXPECT_EQ(textOf(item(IDC_HOST)), L"device.local");
    EXPECT_EQ(state->terminal.lineMode, 1);
    EXPECT_EQ(state->terminal.lineTerminator, "\n");
    EXPECT_EQ(state->terminal.displayMode, kModeHex);
}

TEST_F(MainWindowTest, ValuesOutsideTheListsFallBack) {
    state->settings.baud = L"12345";
    state->settings.framing = L"9X9";
    state->settings.palette = L"Solarized";
    create();
    EXPECT_EQ(boxText(IDC_BAUD_BOX), L"115200");
    EXPECT_EQ(boxText(IDC_FRAMING_BOX), L"8N1");
    EXPECT_EQ(boxText(IDC_PALETTE), L"Campbell");
    // The fastest rates carry a warning; the list is wide enough for it.
    const LRESULT last = SendMessageW(item(IDC_BAUD_BOX), CB_GETCOUNT, 0, 0) - 1;
    wchar_t text[64]{};
    SendMessageW(item(IDC_BAUD_BOX), CB_GETLBTEXT, last, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"921600  (May be HW limited)");
}

TEST_F(MainWindowTest, ListChoicesReachTheTerminalAndTheFile) {
    create();
    chooseInBox(IDC_DISPLAY_MODE, L"ASCII");
    chooseInBox(IDC_PALETTE, L"PuTTY");
    chooseInBox(IDC_INPUT_MODE, L"line");
    chooseInBox(IDC_LINE_END, L"CRLF");
    EXPECT_EQ(state->terminal.displayMode, kModeAscii);
    EXPECT_EQ(state->terminal.lineMode, 1);
    EXPECT_EQ(state->terminal.lineTerminator, "\r\n");
    state->terminal.lineBuffer = u"pending";
    chooseInBox(IDC_INPUT_MODE, L"char");
    EXPECT_TRUE(state->terminal.lineBuffer.empty());
    CheckDlgButton(state->mainWindow, IDC_ECHO, BST_CHECKED);
    command(IDC_ECHO, BN_CLICKED, item(IDC_ECHO));
    EXPECT_EQ(state->terminal.localEcho, 1);
    const AppSettings saved = savedSettings();
    EXPECT_EQ(saved.displayMode, L"ASCII");
    EXPECT_EQ(saved.palette, L"PuTTY");
    EXPECT_EQ(saved.inputMode, L"char");
    EXPECT_EQ(saved.lineTerminator, L"CRLF");
    EXPECT_TRUE(saved.localEcho);
}

TEST_F(MainWindowTest, MenuRadioGroupsFollowTheirCommands) {
    create();
    struct Case {
        int command;
        std::vector<int> group;
    };
    const Case cases[] = {
        {IDM_BELL_VISUAL, {2030, 2031, 2032, 2033}}, {IDM_BELL_OFF, {2030, 2031, 2032, 2033}},
        {IDM_CURSOR_OUTLINE, {2070, 2071, 2072}},    {IDM_CURSOR_DOUBLE, {2070, 2071, 2072}},
        {IDM_GRID_132X24, {2020, 2021, 2022, 2023}}, {IDM_GRID_80X24, {2020, 2021, 2022, 2023}},
    };
    for (const Case& c : cases) {
        command(c.command);
        for (int id : c.group) EXPECT_EQ(checked(id), id == c.command) << "after " << c.command << ", item " << id;
    }
    EXPECT_EQ(state->settings.bellMode, L"off");
    EXPECT_EQ(state->terminal.cursorStyle, 2);
    const bool blink = state->settings.cursorBlink;
    command(IDM_CURSOR_BLINK);
    EXPECT_NE(checked(IDM_CURSOR_BLINK), blink);
    command(IDM_MEDIA_REPO);
    EXPECT_FALSE(checked(IDM_MEDIA_REPO));
    EXPECT_FALSE(state->terminal.mediaRepoEnabled);
    const AppSettings saved = savedSettings();
    EXPECT_EQ(saved.cursorStyle, L"double");
    EXPECT_NE(saved.cursorBlink, blink);
    EXPECT_FALSE(saved.mediaRepo);
}

TEST_F(MainWindowTest, GridSizeFromTheMenuResizesSavesAndSnaps) {
    HWND window = create();
    SetWindowPos(window, nullptr, 0, 0, 1400, 900, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessagesFor(20);
    command(IDM_GRID_132X24);
    EXPECT_EQ(state->terminal.cols, 132);
    EXPECT_EQ(state->terminal.rows, 24);
    EXPECT_EQ(savedSettings().geometry, L"132x24");
    EXPECT_TRUE(checked(IDM_GRID_132X24));
    RECT r{};
    GetWindowRect(window, &r);
    // 132 x 24 cells of 8 x 16 hug the grid: narrower and lower than before, never under the minimum.
    EXPECT_LT(r.bottom - r.top, 900);
    EXPECT_GE(r.right - r.left, kMinTrackWidth);
    EXPECT_LE(r.right - r.left, 1400);
}

TEST_F(MainWindowTest, GridChangedByTheDeviceIsMarkedOnTheNextTick) {
    create();
    setGeometry(state->terminal, 132, 25);
    state->terminal.geometryChanged = 1;
    pumpMessagesFor(120);
    EXPECT_EQ(state->terminal.geometryChanged, 0);
    EXPECT_TRUE(checked(IDM_GRID_132X25));
    EXPECT_FALSE(checked(IDM_GRID_80X25));
    EXPECT_EQ(savedSettings().geometry, L"132x25");
}

TEST_F(MainWindowTest, NamedGridSizesOutsideTheMenuAreIgnored) {
    create();
    setGridSizeByName(*state, L"100x30", true);
    EXPECT_EQ(state->terminal.cols, 80);
    setGridSizeByName(*state, L"80x24", false);
    EXPECT_EQ(state->terminal.rows, 24);
    EXPECT_TRUE(checked(IDM_GRID_80X24));
    // Not from the menu: nothing saved.
    EXPECT_EQ(GetFileAttributesW(iniPath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainWindowTest, GuiLockDisablesEverythingAndUnlockRestoresTheRules) {
    create();
    // What connection control asks for while a serial port waits to be reopened.
    state->connectionView.setConnectCaption(L"Disconnect");
    state->connectionView.enableLanFields(false);
    state->connectionView.enablePortBox(false);
    state->connectionView.enableGeometryCommands(false);
    std::map<int, bool> before;
    for (HWND child = GetWindow(state->mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        before[GetDlgCtrlID(child)] = IsWindowEnabled(child);
    }
    EXPECT_FALSE(before.at(IDC_HOST));
    EXPECT_FALSE(before.at(IDC_PORT_BOX));
    EXPECT_FALSE(before.at(IDC_PLAY));
    EXPECT_TRUE(before.at(IDC_CLEAR));
    EXPECT_TRUE(greyed(IDM_GRID_80X25, MF_BYCOMMAND));

    setGuiLocked(*state, true);
    EXPECT_EQ(textOf(state->statusBar), L"GUI locked - CLI control only (the [X] still closes it)");
    for (const auto& [id, enabled] : before) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(state->mainWindow, id))) << id;
    for (UINT i = 0; i < 4; ++i) EXPECT_TRUE(greyed(i, MF_BYPOSITION)) << i;
    // Locked: list choices and accelerator commands are ignored.
    chooseInBox(IDC_DISPLAY_MODE, L"HEX");
    EXPECT_EQ(state->terminal.displayMode, kModeAnsi);
    command(IDM_GRID_132X25, 1);
    EXPECT_EQ(state->terminal.cols, 80);

    setGuiLocked(*state, false);
    EXPECT_EQ(textOf(state->statusBar), L"GUI unlocked");
    for (const auto& [id, enabled] : before) {
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(state->mainWindow, id)) != 0, enabled) << id;
    }
    for (UINT i = 0; i < 4; ++i) EXPECT_FALSE(greyed(i, MF_BYPOSITION)) << i;
    EXPECT_TRUE(greyed(IDM_GRID_80X25, MF_BYCOMMAND));
}

TEST_F(MainWindowTest, MinimumTrackingSize) {
    create();
    MINMAXINFO info{};
    SendMessageW(state->mainWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, kMinTrackWidth);
    EXPECT_EQ(info.ptMinTrackSize.y, kMinTrackHeight);
}

TEST_F(MainWindowTest, DpiChangeRefitsTheLayout) {
    HWND window = create();
    RECT suggested{10, 10, 10 + 1500, 10 + 950};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    pumpMessagesFor(20);
    RECT client{};
    GetClientRect(window, &client);
    const ToolbarLayout layout = scaledToolbarLayout(client.right, 144);
    for (int id : {IDC_CONNECT, IDC_CLEAR, IDC_CAPTURE, IDC_ECHO}) {
        const LayoutRect expected = std::find_if(layout.begin(), layout.end(), [id](const ControlPlace& p) {
                                        return p.id == id;
                                    })->rect;
        const RECT r = rectInParent(item(id));
        EXPECT_EQ((LayoutRect{r.left, r.top, r.right - r.left, r.bottom - r.top}), expected) << id;
    }
    MINMAXINFO info{};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 1425);
}

TEST_F(MainWindowTest, CloseSavesTheNormalRectangleEvenWhenMinimised) {
    HWND window = create();
    SetWindowPos(window, nullptr, 40, 30, 1000, 650, SWP_NOZORDER);
    pumpMessagesFor(20);
    ShowWindow(window, SW_MINIMIZE);
    pumpMessagesFor(20);
    SetWindowTextW(item(IDC_CHAR_MS), L"900");
    SetWindowTextW(item(IDC_HOST), L"10.0.0.7");
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(state->mainWindow, nullptr);
    const AppSettings saved = savedSettings();
    EXPECT_EQ(saved.windowGeom, L"1000x650+40+30");
    EXPECT_EQ(saved.playCharDelayMs, 500);
    EXPECT_EQ(saved.host, L"10.0.0.7");
}

TEST_F(MainWindowTest, ForwardedLinesNeedTheTagAStartedProgramAndATerminatedString) {
    HWND window = create();
    auto send = [window](ULONG_PTR tag, const void* data, DWORD bytes) {
        COPYDATASTRUCT copy{tag, bytes, const_cast<void*>(data)};
        return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    };
    const wchar_t line[] = L"orvane.exe -bogus";
    const wchar_t unterminated[] = {L'o', L'r', L'v'};
    EXPECT_EQ(send(0x4F56, line, sizeof line), 1) << "refused before start-up finished";
    state->forwardGate.openAfterStartup();
    EXPECT_EQ(send(0x4F57, line, sizeof line), 0);
    EXPECT_EQ(send(0x4F56, nullptr, sizeof line), 0);
    EXPECT_EQ(send(0x4F56, line, sizeof line - 1), 0) << "odd size";
    EXPECT_EQ(send(0x4F56, unterminated, sizeof unterminated), 0);
    EXPECT_EQ(send(0x4F56, line, 0), 0);
    persistSettings = true;
    EXPECT_EQ(send(0x4F56, line, sizeof line), 0);
    EXPECT_TRUE(persistSettings);
    EXPECT_EQ(textOf(state->statusBar), L"Ready") << "a forwarded line reports no unknown options";
    const wchar_t lockLine[] = L"orvane.exe -lock";
    EXPECT_EQ(send(0x4F56, lockLine, sizeof lockLine), 0);
    EXPECT_TRUE(state->guiLocked);
}

COLORREF pixelOfTerminal(AppState& state, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    RECT client{};
    GetClientRect(state.terminalWindow, &client);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(state.terminalWindow, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const COLORREF colour = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST_F(MainWindowTest, TerminalWithoutAnOpenLinkIsVeiled) {
    create();
    const COLORREF veiled = pixelOfTerminal(*state, 5, 5);
    // RGB(45,45,45) under RGB(128,128,128) at 165 of 255.
    const int expected = 45 + (128 - 45) * 165 / 255;
    for (int channel : {GetRValue(veiled), GetGValue(veiled), GetBValue(veiled)}) EXPECT_NEAR(channel, expected, 2);
}

TEST_F(MainWindowTest, CopyPutsTheSelectedTextOnTheClipboard) {
    create();
    putText(state->terminal, u"Hello");
    selectAll(state->terminal);
    copySelection(*state);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const std::u16string copied(static_cast<const char16_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(copied, selectionText(state->terminal));
    EXPECT_EQ(copied.substr(0, 5), u"Hello");
}

TEST_F(MainWindowTest, DragSelectsCellsUnderTheMouse) {
    create();
    putText(state->terminal, u"abcdef");
    HWND terminal = state->terminalWindow;
    SendMessageW(terminal, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), terminal);
    SendMessageW(terminal, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5 + 8 * 40, 5));
    SendMessageW(terminal, WM_LBUTTONUP, 0, MAKELPARAM(5 + 8 * 40, 5));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(state->terminal.selectionPresent, 1);
    EXPECT_EQ(selectionText(state->terminal).substr(0, 6), u"abcdef");
}

// Runs the message loop until `done` holds or two seconds have passed.
template <typename Done>
bool pumpUntil(Done done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 2000) pumpMessagesFor(10);
    return done();
}

std::u16string rowText(const Terminal& t, int row, int count) {
    std::u16string text;
    for (int col = 0; col < count; ++col) text += t.grid[static_cast<size_t>(row)][static_cast<size_t>(col)].ch;
    return text;
}

TEST_F(MainWindowTest, LanLinkConnectsCarriesBothWaysAndNoticesThePeerLeaving) {
    uint16_t port = 0;
    test::Socket listener = test::listenTcp(AF_INET, port);
    ASSERT_TRUE(listener.valid());
    state->settings.mode = L"lan";
    state->settings.host = L"127.0.0.1";
    state->settings.netPort = std::to_wstring(port);
    create();
    command(IDC_CONNECT, BN_CLICKED, item(IDC_CONNECT));
    test::Socket peer = test::acceptWithin(listener.get(), std::chrono::milliseconds(2000));
    ASSERT_TRUE(peer.valid());
    EXPECT_EQ(textOf(state->statusBar), L"Connected 127.0.0.1:" + std::to_wstring(port) + L" (TCP)");
    EXPECT_EQ(textOf(item(IDC_CONNECT)), L"Disconnect");
    EXPECT_FALSE(IsWindowEnabled(item(IDC_HOST)));
    EXPECT_TRUE(greyed(IDM_GRID_80X24, MF_BYCOMMAND));

    // Typed characters and Enter (CR) go out in char mode.
    for (wchar_t ch : {L'h', L'i'}) SendMessageW(state->terminalWindow, WM_CHAR, ch, 0);
    SendMessageW(state->terminalWindow, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(test::receiveBytes(peer.get(), 3, std::chrono::milliseconds(2000)),
              (std::vector<uint8_t>{'h', 'i', '\r'}));

    // What the device sends reaches the grid through the pump.
    const char greeting[] = "\x1b[31mHello";
    ASSERT_TRUE(test::sendAll(peer.get(), greeting, sizeof greeting - 1));
    EXPECT_TRUE(pumpUntil([&] { return rowText(state->terminal, 0, 5) == u"Hello"; }));
    EXPECT_EQ(state->terminal.grid[0][0].fg, 1);

    peer.reset();
    EXPECT_TRUE(pumpUntil([&] { return textOf(state->statusBar) == L"Connection closed by peer"; }));
    EXPECT_EQ(textOf(item(IDC_CONNECT)), L"Connect");
    EXPECT_TRUE(IsWindowEnabled(item(IDC_HOST)));
    EXPECT_FALSE(greyed(IDM_GRID_80X24, MF_BYCOMMAND));
}

TEST_F(MainWindowTest, BellAndNoticeTimersClearTheirDeadlines) {
    create();
    state->terminal.bellFlashUntil = GetTickCount() + 700;
    state->terminal.noticeUntil = GetTickCount() + 1600;
    state->terminal.noticeText = u"Saved";
    SendMessageW(state->mainWindow, WM_TIMER, TIMER_VISUAL_BELL, 0);
    SendMessageW(state->mainWindow, WM_TIMER, TIMER_NOTICE, 0);
    // Cleared, not left to expire: a wrapped tick count can never bring them back.
    EXPECT_EQ(state->terminal.bellFlashUntil, 0u);
    EXPECT_EQ(state->terminal.noticeUntil, 0u);
    EXPECT_TRUE(state->terminal.noticeText.empty());
}

TEST_F(MainWindowTest, PaletteChangeForcesAFullRepaint) {
    create();
    state->renderer.cache.shadowValid = true;
    chooseInBox(IDC_PALETTE, L"VGA");
    EXPECT_FALSE(state->renderer.cache.shadowValid);
    EXPECT_EQ(state->terminal.palette, &kVgaPalette);
}

TEST_F(MainWindowTest, DeviceChangeIsAnsweredWithTrue) {
    create();
    // Wine never sends it; the port list behind it is connection control's, tested there.
    EXPECT_EQ(SendMessageW(state->mainWindow, WM_DEVICECHANGE, 7 /* DBT_DEVNODES_CHANGED */, 0), TRUE);
    EXPECT_GE(SendMessageW(item(IDC_PORT_BOX), CB_GETCOUNT, 0, 0), 1) << "a port or the none-found entry";
}

// What the context menu showed, read from inside its modal loop.
struct ShownMenu {
    std::vector<std::wstring> texts;
    std::vector<bool> greyed;
};
ShownMenu shownMenu;

void CALLBACK readOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup) return;
    KillTimer(nullptr, timer);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        shownMenu.texts.push_back(menuText(menu, static_cast<UINT>(i), MF_BYPOSITION));
        shownMenu.greyed.push_back(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED);
    }
    EndMenu();
}

TEST_F(MainWindowTest, ContextMenuOffersCopyOnlyWithASelection) {
    HWND window = create();
    ShowWindow(window, SW_SHOWNORMAL);
    pumpMessagesFor(50);
    for (bool selected : {false, true}) {
        if (selected) selectAll(state->terminal);
        shownMenu = {};
        const UINT_PTR reader = SetTimer(nullptr, 0, 50, readOpenMenu);
        SendMessageW(state->terminalWindow, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(state->terminalWindow),
                     MAKELPARAM(-1, -1));
        KillTimer(nullptr, reader);
        ASSERT_EQ(shownMenu.texts, (std::vector<std::wstring>{L"&Copy\tCtrl+Shift+C", L"Select &All\tCtrl+Shift+A"}));
        EXPECT_EQ(shownMenu.greyed, (std::vector<bool>{!selected, false})) << "selection " << selected;
    }
}

TEST_F(MainWindowTest, KeysDoNothingWithoutAnOpenLink) {
    create();
    SendMessageW(state->terminalWindow, WM_CHAR, L'x', 0);
    EXPECT_EQ(rowText(state->terminal, 0, 1), u" ");
    EXPECT_EQ(state->terminal.lineBuffer, u"");
}

}  // namespace
}  // namespace orvane
