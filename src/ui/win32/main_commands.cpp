#include "ui/win32/main_commands.h"

#include "ui/win32/dialogs.h"
#include "ui/win32/main_controls.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_wiring.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/terminal_settings.h"

#include <commdlg.h>
#include <mmsystem.h>

#include <cwchar>

namespace orvane {

namespace {

void saveAndMark(AppState& state) {
    saveSettingsIfPersisting(state);
    updateMenuMarks(state);
}

void repaintTerminal(AppState& state) { InvalidateRect(state.terminalWindow, nullptr, FALSE); }

void setBellMode(AppState& state, const wchar_t* mode) {
    state.settings.bellMode = mode;
    saveAndMark(state);
}

void chooseBellSound(AppState& state) {
    wchar_t path[MAX_PATH]{};
    wcsncpy_s(path, MAX_PATH, state.settings.bellWav.c_str(), _TRUNCATE);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = state.mainWindow;
    dialog.lpstrFilter = L"Wave files (*.wav)\0*.wav\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = L"Select a sound for the terminal bell";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameW(&dialog)) return;
    state.settings.bellWav = path;
    state.settings.bellMode = L"wav";
    saveAndMark(state);
    PlaySoundW(path, nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

void setCursorStyleCommand(AppState& state, const wchar_t* style) {
    state.settings.cursorStyle = style;
    setCursorStyle(state.terminal, narrowName(style));
    saveAndMark(state);
    repaintTerminal(state);
}

void toggleCursorBlink(AppState& state) {
    state.settings.cursorBlink = !state.settings.cursorBlink;
    setCursorBlink(state.terminal, state.settings.cursorBlink);
    saveAndMark(state);
    repaintTerminal(state);
}

void togglePictelSwitch(AppState& state, int id) {
    AppSettings& s = state.settings;
    Terminal& t = state.terminal;
    if (id == IDM_MEDIA_CACHE) t.mediaCacheEnabled = s.mediaCache = !s.mediaCache;
    if (id == IDM_MEDIA_REPO) t.mediaRepoEnabled = s.mediaRepo = !s.mediaRepo;
    if (id == IDM_DEVICE_SOUNDS) t.soundsEnabled = s.sounds = !s.sounds;
    saveAndMark(state);
}

HWND child(const AppState& state, int id) { return GetDlgItem(state.mainWindow, id); }

void comboChanged(AppState& state, int id) {
    AppSettings& s = state.settings;
    Terminal& t = state.terminal;
    const std::wstring text = comboText(child(state, id));
    switch (id) {
    case IDC_MODE_BOX: modeBoxChanged(state); return;
    case IDC_PORT_BOX: lineSettingsChanged(state); return;
    case IDC_BAUD_BOX:
        s.baud = std::to_wstring(leadingNumber(text));
        lineSettingsChanged(state);
        return;
    case IDC_FRAMING_BOX:
        s.framing = text;
        lineSettingsChanged(state);
        return;
    case IDC_PROTOCOL:
        s.proto = text;
        saveSettingsIfPersisting(state);
        updateConnectControls(state);
        return;
    case IDC_INPUT_MODE:
        s.inputMode = text;
        switchLineMode(state, text == L"line");
        break;
    case IDC_LINE_END:
        if (text.empty()) return;
        s.lineTerminator = text;
        t.lineTerminator = terminatorForLabel(text);
        break;
    case IDC_DISPLAY_MODE:
        s.displayMode = text;
        setDisplayMode(t, narrowName(text));
        repaintTerminal(state);
        break;
    case IDC_PALETTE:
        s.palette = text;
        setPalette(t, narrowName(text));
        // The renderer's gate does not see the palette: everything is redrawn.
        t.fontValid = 0;
        repaintTerminal(state);
        break;
    default: return;
    }
    saveSettingsIfPersisting(state);
}

void checkBoxClicked(AppState& state, int id) {
    const bool on = IsDlgButtonChecked(state.mainWindow, id) == BST_CHECKED;
    if (id == IDC_ECHO) state.terminal.localEcho = state.settings.localEcho = on;
    if (id == IDC_AUTOSCROLL) state.terminal.autoScroll = state.settings.autoScroll = on;
    saveSettingsIfPersisting(state);
}

void clearTerminal(AppState& state) {
    clearScreen(state.terminal);
    repaintTerminal(state);
}

// Menu and button commands; the rest arrive with later parts of the program.
bool runCommand(AppState& state, int id) {
    switch (id) {
    case IDM_EXIT: SendMessageW(state.mainWindow, WM_CLOSE, 0, 0); return true;
    case IDM_ABOUT: showAboutBox(state); return true;
    case IDM_VIEW_HELP: openHelpDocument(state.mainWindow); return true;
    case IDM_DISCLAIMER: showDisclaimer(state.mainWindow, false); return true;
    case IDM_MEDIA_CACHE:
    case IDM_MEDIA_REPO:
    case IDM_DEVICE_SOUNDS: togglePictelSwitch(state, id); return true;
    case IDM_GRID_80X24:
    case IDM_GRID_80X25:
    case IDM_GRID_132X24:
    case IDM_GRID_132X25: {
        static constexpr const wchar_t* kNames[] = {L"80x24", L"80x25", L"132x24", L"132x25"};
        setGridSizeByName(state, kNames[id - IDM_GRID_80X24], true);
        return true;
    }
    case IDM_BELL_OFF: setBellMode(state, L"off"); return true;
    case IDM_BELL_DING: setBellMode(state, L"ding"); return true;
    case IDM_BELL_WAV: chooseBellSound(state); return true;
    case IDM_BELL_VISUAL: setBellMode(state, L"visual"); return true;
    case IDM_CURSOR_BLOCK: setCursorStyleCommand(state, L"block"); return true;
    case IDM_CURSOR_OUTLINE: setCursorStyleCommand(state, L"outline"); return true;
    case IDM_CURSOR_DOUBLE: setCursorStyleCommand(state, L"double"); return true;
    case IDM_CURSOR_BLINK: toggleCursorBlink(state); return true;
    case IDC_REFRESH: refreshPortsPressed(state); return true;
    case IDC_CONNECT: connectButtonPressed(state); return true;
    case IDC_CLEAR: clearTerminal(state); return true;
    case IDC_ECHO:
    case IDC_AUTOSCROLL: checkBoxClicked(state, id); return true;
    default: return false;
    }
}

bool keepsFocus(HWND control) {
    wchar_t name[16]{};
    GetClassNameW(control, name, 16);
    return _wcsicmp(name, L"ComboBox") == 0 || _wcsicmp(name, L"Edit") == 0;
}

}  // namespace

void onCommand(AppState& state, int id, int code, HWND control) {
    // The lock leaves only the command line in charge: no accelerators, no list choices.
    const bool fromAccelerator = code == 1 && !control;
    if (state.guiLocked && (fromAccelerator || code == CBN_SELCHANGE)) return;
    if (control && code == CBN_CLOSEUP) {
        SetFocus(state.terminalWindow);
        return;
    }
    if (control && code == CBN_SELCHANGE) {
        comboChanged(state, id);
        return;
    }
    if (control && keepsFocus(control)) return;
    runCommand(state, id);
    if (id != IDM_EXIT && state.terminalWindow) SetFocus(state.terminalWindow);
}

}  // namespace orvane
