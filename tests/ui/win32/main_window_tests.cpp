// The main window and the terminal window with their real window procedures, created in this process.
// Each window costs time under Wine, so every test drives one window through a whole story.
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

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace orvane {
namespace {

// Runs the message loop until `done` holds or `limit` milliseconds have passed.
template <typename Done>
bool pumpUntil(Done done, DWORD limit = 2000) {
    for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < limit; Sleep(5)) {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
            if (msg.message != WM_QUIT) TranslateMessage(&msg), DispatchMessageW(&msg);
        }
    }
    return done();
}
void pumpFor(DWORD milliseconds) { pumpUntil([] { return false; }, milliseconds); }

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

LayoutRect rectInParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::u16string rowText(const Terminal& t, int row, int count) {
    std::u16string text;
    for (int col = 0; col < count; ++col) text += t.grid[static_cast<size_t>(row)][static_cast<size_t>(col)].ch;
    return text;
}

COLORREF pixelOfTerminal(HWND terminal, int x, int y) {
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(x + 1, y + 1, 1, 32, nullptr);
    SelectObject(memory, bitmap);
    SendMessageW(terminal, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const COLORREF colour = GetPixel(memory, x, y);
    DeleteDC(memory);  // frees the bitmap from it
    DeleteObject(bitmap);
    return colour;
}

// The items of the open context menu, each with whether it is greyed, read from inside its modal loop.
using ShownMenu = std::vector<std::pair<std::wstring, bool>>;
ShownMenu shownMenu;

void CALLBACK readOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup) return;
    KillTimer(nullptr, timer);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (UINT i = 0; static_cast<int>(i) < GetMenuItemCount(menu); ++i) {
        shownMenu.emplace_back(menuText(menu, i, MF_BYPOSITION), GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED);
    }
    EndMenu();
}

ShownMenu openContextMenu(HWND terminal) {
    shownMenu.clear();
    const UINT_PTR reader = SetTimer(nullptr, 0, 50, readOpenMenu);
    SendMessageW(terminal, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(terminal), MAKELPARAM(-1, -1));
    KillTimer(nullptr, reader);
    return shownMenu;
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override { renew(); }
    void TearDown() override { renew(); }

    // Destroys the window, if any, and starts again from a fresh program state and no settings file.
    void renew() {
        if (state && state->mainWindow) DestroyWindow(state->mainWindow);
        pumpFor(10);
        DeleteFileW(iniPath.c_str());
        state = std::make_unique<AppState>();
        state->instance = GetModuleHandleW(nullptr);
        state->settingsPath = iniPath;
    }

    HWND create() {
        HWND window = createMainWindow(*state);
        EXPECT_NE(window, nullptr);
        // Left hidden unless a test needs the screen: showing a window costs seconds under Wine.
        UpdateWindow(window);
        pumpFor(30);
        return window;
    }

    // Every created toolbar control at its layout place, and the terminal below them.
    void expectLayout(uint32_t dpi) {
        RECT client{}, status{};
        GetClientRect(state->mainWindow, &client);
        int created = 0;
        for (const ControlPlace& place : scaledToolbarLayout(client.right, dpi)) {
            if (!item(place.id)) continue;  // the LED bar is not built yet
            ++created;
            wchar_t kind[32]{};
            GetClassNameW(item(place.id), kind, 32);
            LayoutRect r = rectInParent(item(place.id));
            // A closed drop-down list is shorter than its placed height, which includes the list.
            if (_wcsicmp(kind, L"ComboBox") == 0) r.height = place.rect.height;
            EXPECT_EQ(r, place.rect) << place.id << " at " << dpi;
        }
        EXPECT_EQ(created, static_cast<int>(kToolbarControlCount) - 1);
        GetWindowRect(state->statusBar, &status);
        EXPECT_EQ(rectInParent(state->terminalWindow),
                  terminalRect(client.right, client.bottom, status.bottom - status.top, dpi));
    }

    HWND item(int id) const { return GetDlgItem(state->mainWindow, id); }
    AppSettings saved() const { return loadSettingsFrom(iniPath); }
    void command(int id, int code = 0) {
        SendMessageW(state->mainWindow, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(item(id)));
    }
    void choose(int id, const wchar_t* text) {
        SendMessageW(item(id), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        command(id, CBN_SELCHANGE);
    }
    std::wstring menuAt(UINT id, UINT by = MF_BYCOMMAND) const { return menuText(state->menuBar, id, by); }
    std::vector<std::wstring> menuTitles() const {
        std::vector<std::wstring> titles;
        for (int i = 0, n = GetMenuItemCount(state->menuBar); i < n; ++i) {
            titles.push_back(menuAt(static_cast<UINT>(i), MF_BYPOSITION));
        }
        return titles;
    }
    bool checked(int id) const { return GetMenuState(state->menuBar, id, MF_BYCOMMAND) & MF_CHECKED; }
    bool greyed(UINT id, UINT by = MF_BYCOMMAND) const { return GetMenuState(state->menuBar, id, by) & MF_GRAYED; }

    const std::wstring iniPath = [] {
        wchar_t folder[MAX_PATH]{};
        GetTempPathW(MAX_PATH, folder);
        return std::wstring(folder) + L"orvane_ui_" + std::to_wstring(GetCurrentProcessId()) + L".ini";
    }();
    std::unique_ptr<AppState> state;
};

TEST_F(MainWindowTest, FreshWindowControlsMenusKeysVeilTimersSelectionClipboardAndDpiChange) {
    HWND window = create();
    EXPECT_EQ(textOf(window), L"Orvane  1.2.4");
    wchar_t className[64]{};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"OrvaneMainWnd");
    const LayoutRect outer = rectInParent(window);
    EXPECT_EQ((LayoutSize{outer.width, outer.height}), (LayoutSize{920, 600}));
    expectLayout(96);
    EXPECT_EQ(GetDlgCtrlID(state->terminalWindow), IDC_TERMINAL);
    EXPECT_EQ(textOf(state->statusBar), L"Ready");
    showNotice(*state, L"Connect first");
    EXPECT_EQ(textOf(state->statusBar), L"Connect first");

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
    for (const auto& [id, text] : items) EXPECT_EQ(menuAt(id), text) << id;
    EXPECT_TRUE(greyed(IDM_CLEAR_BACKGROUND));

    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ACCEL keys[8]{};
    const int count = CopyAcceleratorTableW(table, keys, 8);
    DestroyAcceleratorTable(table);
    std::map<WORD, WORD> commandByKey;  // plain virtual keys only
    for (int i = 0; i < count; ++i) commandByKey[keys[i].key] = (keys[i].fVirt & ~FNOINVERT) == FVIRTKEY ? keys[i].cmd : 0;
    EXPECT_EQ(count, 2);
    EXPECT_EQ(commandByKey, (std::map<WORD, WORD>{{VK_F11, IDM_SLIM}, {VK_F12, IDM_SCREENSHOT}}));

    // Without an open link keys do nothing and the terminal is veiled: RGB(45,45,45) under grey at 165 of 255.
    SendMessageW(state->terminalWindow, WM_CHAR, L'x', 0);
    EXPECT_EQ(rowText(state->terminal, 0, 1), u" ");
    EXPECT_TRUE(state->terminal.lineBuffer.empty());
    const COLORREF veil = pixelOfTerminal(state->terminalWindow, 5, 5);
    for (int channel : {GetRValue(veil), GetGValue(veil), GetBValue(veil)}) EXPECT_NEAR(channel, 45 + 83 * 165 / 255, 2);

    // Ending timers clear their deadlines, not leave them to expire: a wrapped tick count never brings them back.
    state->terminal.bellFlashUntil = GetTickCount() + 700;
    state->terminal.noticeUntil = GetTickCount() + 1600;
    state->terminal.noticeText = u"Saved";
    for (UINT_PTR timer : {TIMER_VISUAL_BELL, TIMER_NOTICE}) SendMessageW(window, WM_TIMER, timer, 0);
    EXPECT_EQ((std::vector<uint32_t>{state->terminal.bellFlashUntil, state->terminal.noticeUntil}),
              (std::vector<uint32_t>{0, 0}));
    EXPECT_TRUE(state->terminal.noticeText.empty());

    // Wine never sends it; the port list behind it is connection control's, tested there.
    EXPECT_EQ(SendMessageW(window, WM_DEVICECHANGE, 7 /* DBT_DEVNODES_CHANGED */, 0), TRUE);
    EXPECT_GE(SendMessageW(item(IDC_PORT_BOX), CB_GETCOUNT, 0, 0), 1) << "a port or the none-found entry";

    // Shown for the context menu: it offers Copy only with a selection, which a drag makes.
    ShowWindow(window, SW_SHOWNORMAL);
    pumpFor(50);
    HWND terminal = state->terminalWindow;
    const std::wstring copy = L"&Copy\tCtrl+Shift+C", selectAllItem = L"Select &All\tCtrl+Shift+A";
    EXPECT_EQ(openContextMenu(terminal), (ShownMenu{{copy, true}, {selectAllItem, false}}));
    putText(state->terminal, u"abcdef");
    SendMessageW(terminal, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), terminal);
    SendMessageW(terminal, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5 + 8 * 40, 5));
    SendMessageW(terminal, WM_LBUTTONUP, 0, MAKELPARAM(5 + 8 * 40, 5));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(state->terminal.selectionPresent, 1);
    EXPECT_EQ(selectionText(state->terminal).substr(0, 6), u"abcdef");
    EXPECT_EQ(openContextMenu(terminal), (ShownMenu{{copy, false}, {selectAllItem, false}}));

    copySelection(*state);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const std::u16string copied = data ? static_cast<const char16_t*>(GlobalLock(data)) : u"";
    if (data) GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(copied, selectionText(state->terminal));

    MINMAXINFO info{};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ((LayoutSize{info.ptMinTrackSize.x, info.ptMinTrackSize.y}), (LayoutSize{kMinTrackWidth, kMinTrackHeight}));
    RECT suggested{10, 10, 10 + 1500, 10 + 950};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    pumpFor(20);
    expectLayout(144);
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 1425);
}

TEST_F(MainWindowTest, ControlsStartFromTheSettingsOrFallBackAndStatisticsAddADiagnosticsMenu) {
    using S = AppSettings;
    using Cases = std::vector<std::tuple<int, std::wstring S::*, const wchar_t*, const wchar_t*>>;
    // Each control's stored value and what it shows; echo on and auto-scroll off, or the other way with statistics.
    const auto start = [this](const Cases& cases, bool statistics) {
        renew();
        for (const auto& [id, field, stored, shown] : cases) state->settings.*field = stored;
        state->settings.localEcho = !statistics;
        state->settings.autoScroll = processStats().enabled = statistics;
        create();
        processStats().enabled = false;
        for (const auto& [id, field, stored, shown] : cases) EXPECT_EQ(textOf(item(id)), shown) << id;
        EXPECT_EQ(IsDlgButtonChecked(state->mainWindow, IDC_ECHO), statistics ? BST_UNCHECKED : BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(state->mainWindow, IDC_AUTOSCROLL), statistics ? BST_CHECKED : BST_UNCHECKED);
    };
    start({{IDC_PALETTE, &S::palette, L"VGA", L"VGA"}, {IDC_DISPLAY_MODE, &S::displayMode, L"HEX", L"HEX"},
           {IDC_BAUD_BOX, &S::baud, L"57600", L"57600"}, {IDC_FRAMING_BOX, &S::framing, L"8E1", L"8E1"},
           {IDC_INPUT_MODE, &S::inputMode, L"line", L"line"}, {IDC_LINE_END, &S::lineTerminator, L"LF", L"LF"},
           {IDC_PLAY_EOL, &S::playEol, L"CRLF", L"CRLF"}, {IDC_PROTOCOL, &S::proto, L"UDP", L"UDP"},
           {IDC_HOST, &S::host, L"device.local", L"device.local"}},
          false);
    EXPECT_EQ(state->terminal.lineMode, 1);
    EXPECT_EQ(state->terminal.lineTerminator, "\n");
    EXPECT_EQ(state->terminal.displayMode, kModeHex);
    EXPECT_EQ(menuTitles(), (std::vector<std::wstring>{L"&File", L"&Terminal", L"&Pictel", L"&Help"}));
    EXPECT_EQ(menuAt(IDM_SHOW_STATS), L"");

    start({{IDC_BAUD_BOX, &S::baud, L"12345", L"115200"}, {IDC_FRAMING_BOX, &S::framing, L"9X9", L"8N1"},
           {IDC_PALETTE, &S::palette, L"Solarized", L"Campbell"}},
          true);
    EXPECT_EQ(menuTitles(), (std::vector<std::wstring>{L"&File", L"&Terminal", L"&Pictel", L"&Diagnostics", L"&Help"}));
    EXPECT_EQ(menuAt(IDM_SHOW_STATS), L"&Show stats...");
    EXPECT_EQ(menuAt(IDM_RESET_STATS), L"&Reset stats");
    // The fastest rates carry a warning; the list is wide enough for it.
    wchar_t fastest[64]{};
    SendMessageW(item(IDC_BAUD_BOX), CB_GETLBTEXT, SendMessageW(item(IDC_BAUD_BOX), CB_GETCOUNT, 0, 0) - 1,
                 reinterpret_cast<LPARAM>(fastest));
    EXPECT_STREQ(fastest, L"921600  (May be HW limited)");
}

TEST_F(MainWindowTest, ChoicesAndCommandsReachTheTerminalTheMenuMarksAndTheFile) {
    HWND window = create();
    const auto marks = [this](const std::vector<int>& group, int on) {
        for (int id : group) EXPECT_EQ(checked(id), id == on) << "item " << id << " with " << on << " chosen";
    };
    const std::vector<int> bells = {2030, 2031, 2032, 2033}, cursors = {2070, 2071, 2072}, grids = {2020, 2021, 2022, 2023};
    // Named sizes outside the menu are ignored; one not chosen from the menu saves nothing.
    setGridSizeByName(*state, L"100x30", true);
    EXPECT_EQ(state->terminal.cols, 80);
    setGridSizeByName(*state, L"80x24", false);
    EXPECT_EQ(state->terminal.rows, 24);
    marks(grids, IDM_GRID_80X24);
    EXPECT_EQ(GetFileAttributesW(iniPath.c_str()), INVALID_FILE_ATTRIBUTES);

    choose(IDC_DISPLAY_MODE, L"ASCII");
    state->renderer.cache.shadowValid = true;
    choose(IDC_PALETTE, L"PuTTY");
    EXPECT_FALSE(state->renderer.cache.shadowValid) << "the gate does not see the palette: repaint it all";
    EXPECT_EQ(state->terminal.palette, &kPuttyPalette);
    choose(IDC_INPUT_MODE, L"line");
    choose(IDC_LINE_END, L"CRLF");
    EXPECT_EQ(state->terminal.displayMode, kModeAscii);
    EXPECT_EQ(state->terminal.lineMode, 1);
    EXPECT_EQ(state->terminal.lineTerminator, "\r\n");
    state->terminal.lineBuffer = u"pending";
    choose(IDC_INPUT_MODE, L"char");
    EXPECT_TRUE(state->terminal.lineBuffer.empty());
    CheckDlgButton(window, IDC_ECHO, BST_CHECKED);
    command(IDC_ECHO, BN_CLICKED);
    EXPECT_EQ(state->terminal.localEcho, 1);

    for (const auto& [id, group] : std::vector<std::pair<int, std::vector<int>>>{
             {IDM_BELL_VISUAL, bells}, {IDM_BELL_OFF, bells}, {IDM_CURSOR_OUTLINE, cursors}, {IDM_CURSOR_DOUBLE, cursors},
             {IDM_GRID_80X25, grids}}) {
        command(id);
        marks(group, id);
    }
    EXPECT_EQ(state->settings.bellMode, L"off");
    EXPECT_EQ(state->terminal.cursorStyle, 2);
    const bool blink = state->settings.cursorBlink;
    command(IDM_CURSOR_BLINK);
    EXPECT_NE(checked(IDM_CURSOR_BLINK), blink);
    command(IDM_MEDIA_REPO);
    EXPECT_FALSE(checked(IDM_MEDIA_REPO) || state->terminal.mediaRepoEnabled);

    SetWindowPos(window, nullptr, 0, 0, 1400, 900, SWP_NOMOVE | SWP_NOZORDER);
    pumpFor(20);
    command(IDM_GRID_132X24);
    EXPECT_EQ((GridSize{state->terminal.cols, state->terminal.rows}), (GridSize{132, 24}));
    marks(grids, IDM_GRID_132X24);
    EXPECT_EQ(saved().geometry, L"132x24");
    // 132 x 24 cells of 8 x 16 hug the grid: lower and no wider than before, never under the minimum.
    const LayoutRect snapped = rectInParent(window);
    EXPECT_LT(snapped.height, 900);
    EXPECT_TRUE(snapped.width >= kMinTrackWidth && snapped.width <= 1400) << snapped.width;
    // A size the device asked for is applied and marked on the next tick.
    setGeometry(state->terminal, 132, 25);
    state->terminal.geometryChanged = 1;
    pumpFor(120);
    EXPECT_EQ(state->terminal.geometryChanged, 0);
    marks(grids, IDM_GRID_132X25);
    const AppSettings file = saved();
    EXPECT_EQ((std::vector<std::wstring>{file.displayMode, file.palette, file.inputMode, file.lineTerminator,
                                         file.cursorStyle, file.geometry}),
              (std::vector<std::wstring>{L"ASCII", L"PuTTY", L"char", L"CRLF", L"double", L"132x25"}));
    EXPECT_EQ(std::make_tuple(file.localEcho, file.cursorBlink, file.mediaRepo), std::make_tuple(true, !blink, false));

    // Closing saves the normal rectangle even when minimised, and the fields' texts (clamped).
    SetWindowPos(window, nullptr, 40, 30, 1000, 650, SWP_NOZORDER);
    pumpFor(20);
    ShowWindow(window, SW_MINIMIZE);
    pumpFor(20);
    SetWindowTextW(item(IDC_CHAR_MS), L"900");
    SetWindowTextW(item(IDC_HOST), L"10.0.0.7");
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(state->mainWindow, nullptr);
    const AppSettings closed = saved();
    EXPECT_EQ(std::make_tuple(closed.windowGeom, closed.playCharDelayMs, closed.host),
              std::make_tuple(std::wstring(L"1000x650+40+30"), 500, std::wstring(L"10.0.0.7")));
}

TEST_F(MainWindowTest, ForwardedLinesAreCheckedAndUnlockingRestoresTheEnabledRules) {
    HWND window = create();
    const auto send = [window](ULONG_PTR tag, const void* data, DWORD bytes) {
        COPYDATASTRUCT copy{tag, bytes, const_cast<void*>(data)};
        return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    };
    const wchar_t line[] = L"orvane.exe -bogus", lockLine[] = L"orvane.exe -lock", unterminated[] = {L'o', L'r'};
    EXPECT_EQ(send(0x4F56, line, sizeof line), 1) << "refused before start-up finished";
    state->forwardGate.openAfterStartup();
    // A wrong tag, no data, an odd size, no terminating NUL, nothing at all.
    for (const auto& [tag, data, bytes] : std::vector<std::tuple<ULONG_PTR, const void*, DWORD>>{
             {0x4F57, line, sizeof line}, {0x4F56, nullptr, sizeof line}, {0x4F56, line, sizeof line - 1},
             {0x4F56, unterminated, sizeof unterminated}, {0x4F56, line, 0}}) {
        EXPECT_EQ(send(tag, data, bytes), 0) << tag << " " << bytes;
    }
    persistSettings = true;
    EXPECT_EQ(send(0x4F56, line, sizeof line), 0);
    EXPECT_TRUE(persistSettings);
    EXPECT_EQ(textOf(state->statusBar), L"Ready") << "a forwarded line reports no unknown options";

    // What connection control asks for while a serial port waits to be reopened.
    state->connectionView.setConnectCaption(L"Disconnect");
    state->connectionView.enableLanFields(false);
    state->connectionView.enablePortBox(false);
    state->connectionView.enableGeometryCommands(false);
    std::map<int, bool> before;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        before[GetDlgCtrlID(child)] = IsWindowEnabled(child);
    }
    EXPECT_EQ((std::vector<bool>{before.at(IDC_HOST), before.at(IDC_PORT_BOX), before.at(IDC_PLAY), before.at(IDC_CLEAR)}),
              (std::vector<bool>{false, false, false, true}));
    const auto greyedMenus = [this] {
        int count = 0;
        for (UINT i = 0; i < 4; ++i) count += greyed(i, MF_BYPOSITION);
        return count;
    };
    EXPECT_TRUE(greyed(IDM_GRID_80X25));
    EXPECT_EQ(send(0x4F56, lockLine, sizeof lockLine), 0);
    EXPECT_TRUE(state->guiLocked);
    EXPECT_EQ(textOf(state->statusBar), L"GUI locked - CLI control only (the [X] still closes it)");
    for (const auto& [id, enabled] : before) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, id))) << id;
    EXPECT_EQ(greyedMenus(), 4);
    // Locked: list choices and accelerator commands are ignored.
    choose(IDC_DISPLAY_MODE, L"HEX");
    EXPECT_EQ(state->terminal.displayMode, kModeAnsi);
    command(IDM_GRID_132X25, 1);
    EXPECT_EQ(state->terminal.cols, 80);

    setGuiLocked(*state, false);
    EXPECT_EQ(textOf(state->statusBar), L"GUI unlocked");
    for (const auto& [id, enabled] : before) EXPECT_EQ(IsWindowEnabled(GetDlgItem(window, id)) != 0, enabled) << id;
    EXPECT_EQ(greyedMenus(), 0);
    EXPECT_TRUE(greyed(IDM_GRID_80X25));
}

TEST_F(MainWindowTest, LanLinkConnectsCarriesBothWaysAndNoticesThePeerLeaving) {
    uint16_t port = 0;
    test::Socket listener = test::listenTcp(AF_INET, port);
    ASSERT_TRUE(listener.valid());
    state->settings.mode = L"lan";
    state->settings.host = L"127.0.0.1";
    state->settings.netPort = std::to_wstring(port);
    create();
    command(IDC_CONNECT, BN_CLICKED);
    test::Socket peer = test::acceptWithin(listener.get(), std::chrono::milliseconds(2000));
    ASSERT_TRUE(peer.valid());
    EXPECT_EQ(textOf(state->statusBar), L"Connected 127.0.0.1:" + std::to_wstring(port) + L" (TCP)");
    const auto expectLinkView = [this](bool open) {
        EXPECT_EQ(textOf(item(IDC_CONNECT)), open ? L"Disconnect" : L"Connect");
        EXPECT_EQ(IsWindowEnabled(item(IDC_HOST)) != 0, !open);
        EXPECT_EQ(greyed(IDM_GRID_80X24), open);
    };
    expectLinkView(true);

    // Typed characters and Enter (CR) go out in char mode.
    for (wchar_t ch : {L'h', L'i'}) SendMessageW(state->terminalWindow, WM_CHAR, ch, 0);
    SendMessageW(state->terminalWindow, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(test::receiveBytes(peer.get(), 3, std::chrono::milliseconds(2000)), (std::vector<uint8_t>{'h', 'i', '\r'}));

    // What the device sends reaches the grid, in its colour, through the pump.
    const char greeting[] = "\x1b[31mHello";
    ASSERT_TRUE(test::sendAll(peer.get(), greeting, sizeof greeting - 1));
    EXPECT_TRUE(pumpUntil([&] { return rowText(state->terminal, 0, 5) == u"Hello"; }));
    EXPECT_EQ(state->terminal.grid[0][0].fg, 1);

    peer.reset();
    EXPECT_TRUE(pumpUntil([&] { return textOf(state->statusBar) == L"Connection closed by peer"; }));
    expectLinkView(false);
}

}  // namespace
}  // namespace orvane
