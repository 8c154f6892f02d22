#include "ui/win32/terminal_settings.h"

namespace orvane {

std::string narrowName(const std::wstring& name) {
    std::string out;
    out.reserve(name.size());
    for (wchar_t ch : name) out.push_back(ch < 0x80 ? static_cast<char>(ch) : '?');
    return out;
}

std::string terminatorForLabel(const std::wstring& label) {
    if (label == L"CRLF") return "\r\n";
    if (label == L"LF") return "\n";
    if (label == L"<none>") return "";
    return "\r";
}

void switchLineMode(AppState& state, bool on) {
    state.terminal.lineMode = on ? 1 : 0;
    // A pending line belongs to line mode only.
    if (!on) state.terminal.lineBuffer.clear();
}

void applySettingsToTerminal(AppState& state) {
    const AppSettings& s = state.settings;
    Terminal& t = state.terminal;
    setPalette(t, narrowName(s.palette));
    setDisplayMode(t, narrowName(s.displayMode));
    switchLineMode(state, s.inputMode == L"line");
    t.localEcho = s.localEcho ? 1 : 0;
    t.lineTerminator = terminatorForLabel(s.lineTerminator);
    t.autoScroll = s.autoScroll ? 1 : 0;
    setCursorStyle(t, narrowName(s.cursorStyle));
    setCursorBlink(t, s.cursorBlink);
    t.mediaCacheEnabled = s.mediaCache;
    t.mediaRepoEnabled = s.mediaRepo;
    t.soundsEnabled = s.sounds;
}

}  // namespace orvane
