#include "ui/win32/main_pump_host.h"

#include "diag/stats_counters.h"
#include "ui/win32/app_state.h"
#include "ui/win32/main_window.h"
#include "ui/win32/resource_ids.h"

#include <mmsystem.h>

#include <string>

namespace orvane {

namespace {

// The visual bell is cleaned up a little after it ends.
constexpr UINT kVisualBellTimerMs = 750;

int64_t counterFrequency() {
    static const int64_t frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return f.QuadPart > 0 ? f.QuadPart : 1;
    }();
    return frequency;
}

}  // namespace

uint32_t MainPumpHost::now() { return GetTickCount(); }

int64_t MainPumpHost::microsecondsNow() {
    LARGE_INTEGER ticks{};
    QueryPerformanceCounter(&ticks);
    return ticksToMicroseconds(ticks.QuadPart, counterFrequency());
}

void MainPumpHost::paintTerminalNow() {
    RedrawWindow(state.terminalWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void MainPumpHost::invalidateTerminal() { InvalidateRect(state.terminalWindow, nullptr, FALSE); }

void MainPumpHost::messageBeep() { MessageBeep(0); }

bool MainPumpHost::playWav(std::wstring_view path) {
    const std::wstring file(path);
    return PlaySoundW(file.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

void MainPumpHost::startBellTimer() { SetTimer(state.mainWindow, TIMER_VISUAL_BELL, kVisualBellTimerMs, nullptr); }

// Capture arrives with its own part of the program.
void MainPumpHost::captureWrite(const uint8_t*, size_t) {}

// The statistics report and log arrive with their own part of the program.
void MainPumpHost::statsMarker(const StatMark&) {}

void MainPumpHost::relayoutForGrid() { applyGridSize(state, true, true); }

PumpContext pumpContextOf(AppState& state) {
    return PumpContext{state.terminal, &activeSession(state), BellSettings{state.settings.bellMode, state.settings.bellWav},
                       processStats(), state.pumpHost};
}

}  // namespace orvane
