// Orvane's own window, created in this process exactly as the program does
// it, connected to a flood device: it runs until the device hangs up and then
// prints the statistics counters of the flood, above all how many paints took
// the scroll-blit path. The device prints the throughput.
//   flood_probe PORT [SECONDS]   (SECONDS: give up after this long, default 600)
#include "app/command_line.h"
#include "diag/stats_counters.h"
#include "ui/win32/app_state.h"
#include "ui/win32/main_window.h"

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench_main.h"

namespace orvane::bench {
namespace {

double percent(int64_t part, int64_t whole) {
    return whole > 0 ? 100.0 * double(part) / double(whole) : 0.0;
}

double perCall(int64_t total, int64_t calls) {
    return calls > 0 ? double(total) / double(calls) : 0.0;
}

void printCounters(const StatsCounters& s, DWORD milliseconds) {
    const int64_t paints = s.paints.load();
    std::printf("fast path: %lld of %lld paints (%.1f %%)\n", static_cast<long long>(s.fastPathBlits.load()),
                static_cast<long long>(paints), percent(s.fastPathBlits.load(), paints));
    std::printf("  full re-renders %lld, fast-path eligible %lld, gate passes buf/cache/shadow/bbBare/bare/geom/blink:",
                static_cast<long long>(s.fullRenders.load()), static_cast<long long>(s.fastEligible.load()));
    for (const StatsCounter& g : s.gatePass) std::printf(" %lld", static_cast<long long>(g.load()));
    std::printf("\n  connected %.2f s: received %lld bytes in %lld reads (largest %lld)\n", milliseconds / 1000.0,
                static_cast<long long>(s.rxBytes.load()), static_cast<long long>(s.rxBursts.load()),
                static_cast<long long>(s.rxMaxBurst.load()));
    std::printf("  pump runs %lld (empty %lld), feed %.3f s in all (longest %.1f ms)\n",
                static_cast<long long>(s.pumpCalls.load()), static_cast<long long>(s.pumpEmpty.load()),
                s.feedUsTotal.load() / 1e6, s.feedUsMax.load() / 1e3);
    std::printf("  paints %lld: %.3f s in all, %.0f us each (longest %.1f ms); composite %.3f s, rows %.3f s, "
                "copy and overlays %.3f s\n",
                static_cast<long long>(paints), s.paintUsTotal.load() / 1e6, perCall(s.paintUsTotal.load(), paints),
                s.paintUsMax.load() / 1e3, s.compositeUsTotal.load() / 1e6, s.renderUsTotal.load() / 1e6,
                s.blitUsTotal.load() / 1e6);
    std::printf("  repaints forced by data %lld, folded bursts %lld, skipped %lld, wasted %lld, missed updates %lld\n",
                static_cast<long long>(s.forcedByRx.load()), static_cast<long long>(s.burstsFolded.load()),
                static_cast<long long>(s.repaintsSkipped.load()), static_cast<long long>(s.wastedRepaints.load()),
                static_cast<long long>(s.missedUpdates.load()));
}

// The row above the cursor: the flood's last line, as a check that the
// grid holds what was sent.
std::string lastLine(const Terminal& t) {
    const int row = t.cursorRow > 0 ? t.cursorRow - 1 : 0;
    std::string text;
    for (const Cell& cell : t.grid[size_t(row)]) text += cell.ch < 0x80 ? char(cell.ch) : '?';
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

std::wstring widen(const char* text) {
    return std::wstring(text, text + std::strlen(text));
}

// The program's start-up without the disclaimer and the saved geometry: the
// same command line, passes and a shown window.
std::unique_ptr<AppState> startConnected(const std::wstring& port, const std::wstring& iniPath) {
    auto state = std::make_unique<AppState>();
    state->instance = GetModuleHandleW(nullptr);
    state->settingsPath = iniPath;
    const std::vector<std::wstring> args = {L"orvane.exe", L"-lan",  L"-host", L"127.0.0.1", L"-netport",
                                            port,          L"-proto", L"tcp",  L"-connect"};
    applyCommandLine(args, CommandPass::beforeWindow, state->commandTarget);
    if (!createMainWindow(*state)) return nullptr;
    ShowWindow(state->mainWindow, SW_SHOWNORMAL);
    UpdateWindow(state->mainWindow);
    applyStartupActions(args, state->commandTarget);
    return state;
}

int probe(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: flood_probe PORT [SECONDS]\n");
        return 2;
    }
    const DWORD limitMs = DWORD(argc > 2 ? std::atoi(argv[2]) : 600) * 1000;
    processStats().enabled = true;
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    wchar_t folder[MAX_PATH]{};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring iniPath = std::wstring(folder) + L"orvane_flood_probe.ini";
    std::unique_ptr<AppState> state = startConnected(widen(argv[1]), iniPath);
    if (!state) {
        std::fprintf(stderr, "flood_probe: the main window could not be created\n");
        return 1;
    }
    if (!activeSession(*state).isOpen()) {
        std::fprintf(stderr, "flood_probe: not connected to port %s\n", argv[1]);
        return 1;
    }
    // Only the flood counts: what start-up painted is forgotten.
    resetStats(processStats(), int64_t(GetTickCount64()));
    const DWORD start = GetTickCount();
    MSG msg;
    while (activeSession(*state).isOpen() && GetTickCount() - start < limitMs && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    const DWORD elapsed = GetTickCount() - start;
    const bool hungUp = !activeSession(*state).isOpen();
    printCounters(processStats(), elapsed);
    std::printf("  last line on the grid: %s\n", lastLine(state->terminal).c_str());
    DestroyWindow(state->mainWindow);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    DeleteFileW(iniPath.c_str());
    WSACleanup();
    if (!hungUp) std::fprintf(stderr, "flood_probe: the device did not hang up within %lu s\n", limitMs / 1000);
    return hungUp ? 0 : 1;
}

}  // namespace
}  // namespace orvane::bench

int main(int argc, char** argv) {
    return orvane::bench::runReportingErrors("flood_probe", orvane::bench::probe, argc, argv);
}
