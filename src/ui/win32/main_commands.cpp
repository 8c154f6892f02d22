#include "ui/win32/main_commands.h"

#include "pictel/media_cache.h"
#include "pictel/sounds.h"
#include "render/layer_background.h"
#include "ui/win32/dialogs.h"
#include "ui/win32/main_controls.h"
#include "ui/win32/main_window.h"
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
    state.commandTarget.setCursorStyle(style);
    saveSettingsIfPersisting(state);
}

void toggleCursorBlink(AppState& state) {
    state.settings.cursorBlink = !state.settings.cursorBlink;
    state.commandTarget.setCursorBlink(state.settings.cursorBlink);
    saveSettingsIfPersisting(state);
}

void togglePictelSwitch(AppState& state, int id) {
    AppSettings& s = state.settings;
    MainCommandTarget& target = state.commandTarget;
    if (id == IDM_MEDIA_CACHE) target.setMediaCache(s.mediaCache = !s.mediaCache);
    if (id == IDM_MEDIA_REPO) target.setMediaRepo(s.mediaRepo = !s.mediaRepo);
    if (id == IDM_DEVICE_SOUNDS) target.setSounds(s.sounds = !s.sounds);
    saveSettingsIfPersisting(state);
}

void clearMediaCacheCommand(AppState& state) {
    if (state.terminal.mediaCacheDir.empty()) return;
    showNotice(state, L"Cleared " + std::to_wstring(state.commandTarget.clearMediaCache()) + L" cached image(s)");
}

void loadBackgroundCommand(AppState& state) {
    wchar_t path[MAX_PATH]{};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = state.mainWindow;
    dialog.lpstrFilter = L"Images (*.png;*.jpg;*.jpeg;*.bmp;*.gif)\0*.png;*.jpg;*.jpeg;*.bmp;*.gif\0All files\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameW(&dialog)) return;
    if (!loadBackground(state.terminal, state.renderer.background, path)) {
        MessageBoxW(state.mainWindow, L"The image could not be read.", L"Orvane", MB_OK | MB_ICONWARNING);
        return;
    }
    state.settings.bgImage = path;
    saveSettingsIfPersisting(state);
    applyEnabledStates(state);
    repaintTerminal(state);
}

void clearBackgroundCommand(AppState& state) {
    state.settings.bgImage.clear();
    state.commandTarget.setBackgroundImage(L"");
    saveAndMark(state);
}

void backgroundFitCommand(AppState& state, const wchar_t* fit) {
    state.settings.bgFit = fit;
    state.commandTarget.setBackgroundFit(fit);
    saveSettingsIfPersisting(state);
}

HWND child(const AppState& state, int id) { return GetDlgItem(state.mainWindow, id); }

void comboChanged(AppState& state, int id) {
    AppSettings& s = state.settings;
    MainCommandTarget& target = state.commandTarget;
    const std::wstring text = comboText(child(state, id));
    switch (id) {
    case IDC_MODE_BOX: state.connection.switchMode(); return;
    case IDC_PORT_BOX: state.connection.onPortSelected(); return;
    case IDC_BAUD_BOX:
    case IDC_FRAMING_BOX: state.connection.reapplyLineSettings(GetTickCount()); return;
    case IDC_PROTOCOL: state.connection.onProtocolChanged(); return;
    case IDC_INPUT_MODE: target.setInputMode(s.inputMode = text); break;
    case IDC_LINE_END:
        if (text.empty()) return;
        target.setLineTerminator(s.lineTerminator = text);
        break;
    case IDC_DISPLAY_MODE: target.setDisplayMode(s.displayMode = text); break;
    case IDC_PALETTE: target.setPalette(s.palette = text); break;
    default: return;
    }
    saveSettingsIfPersisting(state);
}

void checkBoxClicked(AppState& state, int id) {
    const bool on = IsDlgButtonChecked(state.mainWindow, id) == BST_CHECKED;
    if (id == IDC_ECHO) state.commandTarget.setLocalEcho(state.settings.localEcho = on);
    if (id == IDC_AUTOSCROLL) state.commandTarget.setAutoScroll(state.settings.autoScroll = on);
    saveSettingsIfPersisting(state);
}

void clearTerminal(AppState& state) {
    clearScreen(state.terminal);
    repaintTerminal(state);
}

// Menu and button commands; the rest arrive with later parts of the program.
void runCommand(AppState& state, int id) {
    switch (id) {
    case IDM_EXIT: SendMessageW(state.mainWindow, WM_CLOSE, 0, 0); return;
    case IDM_ABOUT: showAboutBox(state); return;
    case IDM_VIEW_HELP: openHelpDocument(state.mainWindow); return;
    case IDM_DISCLAIMER: showDisclaimer(state.mainWindow, false); return;
    case IDM_MEDIA_CACHE:
    case IDM_MEDIA_REPO:
    case IDM_DEVICE_SOUNDS: togglePictelSwitch(state, id); return;
    case IDM_CLEAR_MEDIA_CACHE: clearMediaCacheCommand(state); return;
    case IDM_STOP_SOUND: stopSound(state.terminal); return;
    case IDM_GRID_80X24:
    case IDM_GRID_80X25:
    case IDM_GRID_132X24:
    case IDM_GRID_132X25: {
        static constexpr const wchar_t* kNames[] = {L"80x24", L"80x25", L"132x24", L"132x25"};
        setGridSizeByName(state, kNames[id - IDM_GRID_80X24], true);
        return;
    }
    case IDM_BELL_OFF: setBellMode(state, L"off"); return;
    case IDM_BELL_DING: setBellMode(state, L"ding"); return;
    case IDM_BELL_WAV: chooseBellSound(state); return;
    case IDM_BELL_VISUAL: setBellMode(state, L"visual"); return;
    case IDM_LOAD_BACKGROUND: loadBackgroundCommand(state); return;
    case IDM_CLEAR_BACKGROUND: clearBackgroundCommand(state); return;
    case IDM_FIT_STRETCH: backgroundFitCommand(state, L"stretch"); return;
    case IDM_FIT_ASPECT: backgroundFitCommand(state, L"aspect"); return;
    case IDM_FIT_CENTER: backgroundFitCommand(state, L"center"); return;
    case IDM_CURSOR_BLOCK: setCursorStyleCommand(state, L"block"); return;
    case IDM_CURSOR_OUTLINE: setCursorStyleCommand(state, L"outline"); return;
    case IDM_CURSOR_DOUBLE: setCursorStyleCommand(state, L"double"); return;
    case IDM_CURSOR_BLINK: toggleCursorBlink(state); return;
    case IDC_REFRESH: state.connection.onRefreshButton(); return;
    case IDC_CONNECT: state.connection.pressConnectButton(); return;
    case IDC_CLEAR: clearTerminal(state); return;
    case IDC_ECHO:
    case IDC_AUTOSCROLL: checkBoxClicked(state, id); return;
    default: return;
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
