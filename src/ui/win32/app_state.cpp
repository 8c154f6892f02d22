#include "ui/win32/app_state.h"

#include "app/win32/settings_file.h"
#include "diag/stats_counters.h"

namespace orvane {

AppState::AppState() : settingsPath(settingsFilePath()) {}

AppState* appStateOf(HWND window) {
    // Children keep no state of their own: they ask their top-level window.
    HWND top = GetAncestor(window, GA_ROOT);
    return reinterpret_cast<AppState*>(GetWindowLongPtrW(top ? top : window, GWLP_USERDATA));
}

ITermSession& activeSession(AppState& state) { return state.connection.activeSession(); }

bool statisticsOn() { return processStats().enabled; }

void saveSettingsIfPersisting(AppState& state) {
    if (persistSettings) saveSettingsTo(state.settings, state.settingsPath);
}

}  // namespace orvane
