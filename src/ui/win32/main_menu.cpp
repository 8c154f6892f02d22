// Menu marks, the grid-size commands, the GUI lock and the enabled state
// of controls and menu items.
#include "render/font_fit.h"
#include "render/layer_background.h"
#include "render/win32/gdi_fonts.h"
#include "ui/win32/main_controls.h"
#include "ui/win32/main_window.h"
#include "ui/win32/resource_ids.h"

#include <array>
#include <string_view>

namespace orvane {

namespace {

// A radio group: the setting's value names in command order.
struct RadioGroup {
    int firstCommand;
    std::array<std::wstring_view, 4> names;
    int count;
};

constexpr RadioGroup kBellGroup{IDM_BELL_OFF, {L"off", L"ding", L"wav", L"visual"}, 4};
constexpr RadioGroup kCursorGroup{IDM_CURSOR_BLOCK, {L"block", L"outline", L"double"}, 3};
constexpr RadioGroup kFitGroup{IDM_FIT_STRETCH, {L"stretch", L"aspect", L"center"}, 3};

void markRadio(HMENU menu, const RadioGroup& group, const std::wstring& value) {
    int index = 0;
    while (index < group.count && group.names[static_cast<size_t>(index)] != value) ++index;
    // A value outside the group marks nothing.
    for (int i = 0; i < group.count; ++i) {
        CheckMenuItem(menu, group.firstCommand + i, MF_BYCOMMAND | (i == index ? MF_CHECKED : MF_UNCHECKED));
    }
}

void markCheck(HMENU menu, int command, bool on) {
    CheckMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void enableItem(HMENU menu, UINT item, UINT by, bool on) { EnableMenuItem(menu, item, by | (on ? MF_ENABLED : MF_GRAYED)); }

void markGridSize(AppState& state) {
    if (!state.menuBar) return;
    const int marked = gridMenuCommand({state.terminal.cols, state.terminal.rows});
    CheckMenuRadioItem(state.menuBar, IDM_GRID_80X24, IDM_GRID_132X25, marked, MF_BYCOMMAND);
}

// The enabled state each control has when the GUI is not locked.
bool controlEnabledByRule(const AppState& state, int id) {
    switch (id) {
    case IDC_PLAY: return state.playbackFileChosen;
    case IDC_HOST:
    case IDC_NET_PORT:
    case IDC_PROTOCOL: return state.lanFieldsEnabled;
    case IDC_PORT_LABEL:
    case IDC_PORT_BOX: return state.portBoxEnabled;
    default: return true;
    }
}

// The renderer's snug size for the current grid, measuring fonts on dc.
SnugGrid rendererSnugGrid(AppState& state, HDC dc) {
    return [&state, dc](LayoutSize candidate) {
        GdiFontMetrics metrics(dc);
        const PixelSize snug =
            snugGridSize(metrics, state.terminal.cols, state.terminal.rows, {candidate.width, candidate.height});
        return LayoutSize{snug.width, snug.height};
    };
}

}  // namespace

void updateMenuMarks(AppState& state) {
    HMENU menu = state.menuBar;
    if (!menu) return;
    const AppSettings& s = state.settings;
    markGridSize(state);
    markRadio(menu, kBellGroup, s.bellMode);
    markRadio(menu, kCursorGroup, s.cursorStyle);
    markRadio(menu, kFitGroup, s.bgFit);
    markCheck(menu, IDM_CURSOR_BLINK, s.cursorBlink);
    markCheck(menu, IDM_MEDIA_CACHE, s.mediaCache);
    markCheck(menu, IDM_MEDIA_REPO, s.mediaRepo);
    markCheck(menu, IDM_DEVICE_SOUNDS, s.sounds);
}

void applyEnabledStates(AppState& state) {
    for (HWND child = GetWindow(state.mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        EnableWindow(child, !state.guiLocked && controlEnabledByRule(state, GetDlgCtrlID(child)));
    }
    if (HMENU menu = state.menuBar) {
        for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) enableItem(menu, i, MF_BYPOSITION, !state.guiLocked);
        for (int id = IDM_GRID_80X24; id <= IDM_GRID_132X25; ++id) {
            enableItem(menu, id, MF_BYCOMMAND, state.gridCommandsEnabled);
        }
        enableItem(menu, IDM_CLEAR_BACKGROUND, MF_BYCOMMAND, backgroundLoaded(state.renderer.background));
        DrawMenuBar(state.mainWindow);
    }
}

void setGuiLocked(AppState& state, bool locked) {
    state.guiLocked = locked;
    applyEnabledStates(state);
    showNotice(state, locked ? L"GUI locked - CLI control only (the [X] still closes it)" : L"GUI unlocked");
}

void applyGridSize(AppState& state, bool save, bool snap) {
    state.settings.geometry = gridSizeName({state.terminal.cols, state.terminal.rows});
    if (save) saveSettingsIfPersisting(state);
    markGridSize(state);
    if (snap) snapWindowToGrid(state);
    InvalidateRect(state.terminalWindow, nullptr, FALSE);
}

void setGridSizeByName(AppState& state, std::wstring_view name, bool fromMenu) {
    const std::optional<GridSize> size = gridSizeFromName(name);
    if (!size) return;
    Terminal& t = state.terminal;
    const bool differs = size->cols != t.cols || size->rows != t.rows;
    if (differs) setGeometry(t, size->cols, size->rows);
    t.geometryChanged = 0;
    applyGridSize(state, fromMenu, fromMenu && differs);
}

void snapWindowToGrid(AppState& state) {
    if (!state.mainWindow || !state.terminalWindow) return;
    RECT window{}, terminal{};
    GetWindowRect(state.mainWindow, &window);
    GetWindowRect(state.terminalWindow, &terminal);
    SnapInput in;
    in.window = {window.right - window.left, window.bottom - window.top};
    in.terminal = {terminal.right - terminal.left, terminal.bottom - terminal.top};
    in.cell = {state.renderer.cache.cellWidth, state.renderer.cache.cellHeight};
    in.cols = state.terminal.cols;
    in.rows = state.terminal.rows;
    in.minimised = IsIconic(state.mainWindow);
    in.maximised = IsZoomed(state.mainWindow);
    in.slim = state.slimMode;
    in.dpi = state.dpi;
    HDC dc = GetDC(state.terminalWindow);
    const std::optional<LayoutSize> size = snapWindowSize(in, rendererSnugGrid(state, dc));
    ReleaseDC(state.terminalWindow, dc);
    if (!size) return;
    SetWindowPos(state.mainWindow, nullptr, 0, 0, size->width, size->height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace orvane
