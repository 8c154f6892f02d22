#include "ui/win32/terminal_settings.h"

#include "pictel/media_cache.h"
#include "pictel/sounds.h"
#include "render/layer_background.h"
#include "transport/connection_boxes.h"
#include "ui/key_input.h"

namespace orvane {

std::string narrowName(const std::wstring& name) {
    std::string out;
    out.reserve(name.size());
    for (wchar_t ch : name) out.push_back(ch < 0x80 ? static_cast<char>(ch) : '?');
    return out;
}

void applySettingsToTerminal(AppState& state) {
    const AppSettings& s = state.settings;
    Terminal& t = state.terminal;
    setPalette(t, narrowName(s.palette));
    setDisplayMode(t, narrowName(s.displayMode));
    setLineMode(t, s.inputMode == L"line");
    t.localEcho = s.localEcho ? 1 : 0;
    t.lineTerminator = lineTerminatorBytes(s.lineTerminator);
    t.autoScroll = s.autoScroll ? 1 : 0;
    setCursorStyle(t, narrowName(s.cursorStyle));
    setCursorBlink(t, s.cursorBlink);
    setMediaCacheEnabled(t, s.mediaCache);
    t.mediaRepoEnabled = s.mediaRepo;
    setSoundsEnabled(t, s.sounds);
    BackgroundState& bg = state.renderer.background;
    setBackgroundFit(t, bg, narrowName(s.bgFit));
    setBackgroundOpacity(t, bg, s.bgOpacity);
    if (!s.bgImage.empty()) loadBackground(t, bg, s.bgImage);
}

}  // namespace orvane
