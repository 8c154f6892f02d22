#include "terminal/receive_pump.h"

#include <algorithm>

#include "terminal/fingerprint.h"

namespace orvane {
namespace {

bool sessionOpen(const PumpContext& c) { return c.session != nullptr && c.session->isOpen(); }

bool statsOn(const PumpContext& c) { return c.stats.enabled.load(std::memory_order_relaxed); }

void count(StatsCounter& counter, int64_t amount = 1) {
    counter.fetch_add(amount, std::memory_order_relaxed);
}

// Appends newly queued chunks behind the bytes still waiting and returns how
// many of the waiting bytes this run feeds.
size_t takeBatch(ReceivePump& p, ITermSession& session) {
    if (session.drainReceived(p.drained) > 0) {
        if (p.carryStart == p.carry.size()) {
            p.carry.swap(p.drained);
            p.carryStart = 0;
        } else {
            p.carry.erase(p.carry.begin(), p.carry.begin() + ptrdiff_t(p.carryStart));
            p.carryStart = 0;
            p.carry.insert(p.carry.end(), p.drained.begin(), p.drained.end());
        }
    }
    return std::min(p.carry.size() - p.carryStart, kMaxPumpBytes);
}

void consumeBatch(ReceivePump& p, size_t n) {
    p.carryStart += n;
    if (p.carryStart == p.carry.size()) discardCarry(p);
}

void feedTimed(const PumpContext& c, const uint8_t* bytes, size_t n, bool stats) {
    if (!stats) {
        feed(c.terminal, bytes, n);
        return;
    }
    const int64_t start = c.host.microsecondsNow();
    feed(c.terminal, bytes, n);
    const int64_t us = c.host.microsecondsNow() - start;
    count(c.stats.feedUsTotal, us);
    raiseToMax(c.stats.feedUsMax, us);
}

void sendReplies(ReceivePump& p, const PumpContext& c) {
    p.replies.clear();
    if (takeReplies(c.terminal, p.replies) && !p.replies.empty()) {
        c.session->write(p.replies.data(), p.replies.size());
    }
}

void ringBell(ReceivePump& p, const PumpContext& c) {
    Terminal& t = c.terminal;
    const bool pending = t.bellPending != 0;
    t.bellPending = 0;
    if (!pending || c.bell.mode == L"off") return;
    const uint32_t now = c.host.now();
    if (uint32_t(now - p.lastBellTick) < kBellRepeatGuardMs) return;
    p.lastBellTick = now;
    if (c.bell.mode == L"visual") {
        t.bellFlashUntil = now + kVisualBellMs;
        c.host.invalidateTerminal();
        c.host.startBellTimer();
    } else if (c.bell.mode == L"wav" && !c.bell.wavPath.empty()) {
        if (!c.host.playWav(c.bell.wavPath)) c.host.messageBeep();
    } else {
        c.host.messageBeep();
    }
}

// Takes a pending measurement bracket. Mark and stop are handled at once; a
// start is returned, since it resets the counters after this batch's repaint
// decision.
StatMark takeStatsMarker(const PumpContext& c) {
    StatMark mark;
    if (c.terminal.statMark.kind == 0) return mark;
    mark = std::move(c.terminal.statMark);
    c.terminal.statMark = StatMark{};
    if (mark.kind == 1) return mark;
    c.host.statsMarker(mark);
    return StatMark{};
}

void decideRepaint(ReceivePump& p, const PumpContext& c, bool stats, uint64_t before) {
    const bool dirty = c.terminal.dirty != 0;
    c.terminal.dirty = 0;
    bool changed = dirty;
    if (stats) {
        changed = visibleStateFingerprint(c.terminal) != before;
        if (!dirty) {
            if (changed) count(c.stats.missedUpdates);
            count(c.stats.repaintsSkipped);
        }
    }
    if (!dirty) return;
    if (uint32_t(c.host.now() - p.lastPaintTick) >= kFrameIntervalMs) {
        repaintNow(p, c, changed);
    } else {
        p.repaintPending = 1;
        if (stats) count(c.stats.burstsFolded);
    }
}

}  // namespace

void pumpRx(ReceivePump& p, const PumpContext& c) {
    if (!sessionOpen(c)) {
        discardCarry(p);
        return;
    }
    const bool stats = statsOn(c);
    const size_t n = takeBatch(p, *c.session);
    if (stats) count(c.stats.pumpCalls);
    if (n == 0) {
        if (stats) count(c.stats.pumpEmpty);
        return;
    }
    p.lastRxTick = c.host.now();
    const uint64_t before = stats ? visibleStateFingerprint(c.terminal) : 0;
    const uint8_t* bytes = p.carry.data() + p.carryStart;
    feedTimed(c, bytes, n, stats);
    sendReplies(p, c);
    ringBell(p, c);
    const StatMark start = stats ? takeStatsMarker(c) : StatMark{};
    decideRepaint(p, c, stats, before);
    if (start.kind == 1) c.host.statsMarker(start);
    c.host.captureWrite(bytes, n);
    consumeBatch(p, n);
}

void repaintNow(ReceivePump& p, const PumpContext& c, bool changed) {
    p.repaintPending = 0;
    p.lastPaintTick = c.host.now();
    const int64_t start = c.host.microsecondsNow();
    c.host.paintTerminalNow();
    const int64_t us = c.host.microsecondsNow() - start;
    if (!statsOn(c)) return;
    count(c.stats.forcedByRx);
    if (!changed) {
        count(c.stats.wastedRepaints);
        count(c.stats.wastedUsTotal, us);
    }
}

void pumpTick(ReceivePump& p, const PumpContext& c) {
    if (sessionOpen(c)) pumpRx(p, c);
    if (p.repaintPending) repaintNow(p, c, true);
    if (c.terminal.geometryChanged) {
        c.terminal.geometryChanged = 0;
        c.host.relayoutForGrid();
    }
}

void endVisualBell(Terminal& t, PumpHost& host) {
    t.bellFlashUntil = 0;
    host.invalidateTerminal();
}

void endNotice(Terminal& t) {
    t.noticeUntil = 0;
    t.noticeText.clear();
}

void discardCarry(ReceivePump& p) {
    p.carry.clear();
    p.carryStart = 0;
}

}  // namespace orvane
