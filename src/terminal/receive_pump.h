#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "diag/stats_counters.h"
#include "terminal/terminal.h"
#include "transport/session.h"

namespace orvane {

inline constexpr uint32_t kFrameIntervalMs = 16;
inline constexpr uint32_t kBellRepeatGuardMs = 200;
inline constexpr uint32_t kVisualBellMs = 700;
// One pump feeds at most this much; the rest waits for the next message or
// tick, so a flood never keeps the window from handling its messages.
inline constexpr size_t kMaxPumpBytes = size_t(4) << 20;

// What the pump needs from the window layer.
class PumpHost {
public:
    virtual ~PumpHost() = default;
    // The 32-bit millisecond tick count.
    virtual uint32_t now() = 0;
    // The performance counter in microseconds.
    virtual int64_t microsecondsNow() = 0;
    // Invalidates the whole terminal window and paints it before returning.
    // The paint must not run the pump again.
    virtual void paintTerminalNow() = 0;
    // Invalidates the terminal window; it paints when messages allow.
    virtual void invalidateTerminal() = 0;
    virtual void messageBeep() = 0;
    // Starts playing a WAV file without waiting; false when it cannot.
    virtual bool playWav(std::wstring_view path) = 0;
    // Starts the one-shot timer that ends the visual bell.
    virtual void startBellTimer() = 0;
    // Hands received bytes to capture (which ignores them when not capturing).
    virtual void captureWrite(const uint8_t* bytes, size_t count) = 0;
    // A measurement bracket from the device: start (kind 1), mark (2) or stop (3).
    virtual void statsMarker(const StatMark& mark) = 0;
    // The device changed the grid size: lay the main window out again.
    virtual void relayoutForGrid() = 0;
};

struct BellSettings {
    std::wstring_view mode = L"ding";  // "off", "ding", "wav" or "visual"
    std::wstring_view wavPath;
};

// Everything one pump run touches besides its own state.
struct PumpContext {
    Terminal& terminal;
    ITermSession* session;  // the active one; none counts as closed
    BellSettings bell;
    StatsCounters& stats;
    PumpHost& host;
};

// The pump's own state; lives as long as the main window.
struct ReceivePump {
    uint8_t repaintPending = 0;
    uint32_t lastPaintTick = 0;
    uint32_t lastRxTick = 0;  // when the last non-empty batch arrived
    uint32_t lastBellTick = 0;
    // Drained but not fed yet: bytes from carryStart on wait for the next run.
    std::vector<uint8_t> carry;
    size_t carryStart = 0;
    std::vector<uint8_t> drained;  // reused scratch
    std::vector<uint8_t> replies;  // reused scratch
};

// Moves received bytes into the terminal, answers the device, rings the
// bell, hands the bytes to capture and paces the repaint.
void pumpRx(ReceivePump& pump, const PumpContext& c);

// A synchronous repaint that restarts the frame interval. `changed` says
// whether anything visible changed since the previous one.
void repaintNow(ReceivePump& pump, const PumpContext& c, bool changed);

// The 16 ms timer: pumps an open session, delivers a deferred repaint and
// hands a device-driven grid change to the window layer.
void pumpTick(ReceivePump& pump, const PumpContext& c);

// The visual bell timer has fired: the indicator goes for good.
void endVisualBell(Terminal& t, PumpHost& host);

// The notice timer has fired.
void endNotice(Terminal& t);

// Forgets bytes drained from a session that has since closed.
void discardCarry(ReceivePump& pump);

}  // namespace orvane
