#pragma once

#include "terminal/receive_pump.h"

namespace orvane {

struct AppState;

// What the receive pump asks of the window layer.
class MainPumpHost final : public PumpHost {
public:
    explicit MainPumpHost(AppState& appState) : state(appState) {}
    uint32_t now() override;
    int64_t microsecondsNow() override;
    void paintTerminalNow() override;
    void invalidateTerminal() override;
    void messageBeep() override;
    bool playWav(std::wstring_view path) override;
    void startBellTimer() override;
    void captureWrite(const uint8_t* bytes, size_t count) override;
    void statsMarker(const StatMark& mark) override;
    void relayoutForGrid() override;

private:
    AppState& state;
};

// The pump's view of this run: terminal, active session, bell settings, counters, host.
PumpContext pumpContextOf(AppState& state);

}  // namespace orvane
