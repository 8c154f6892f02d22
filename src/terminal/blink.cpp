#include "terminal/blink.h"

#include <algorithm>

namespace orvane {
namespace {

bool anyCellBlinks(const Terminal& t) {
    return std::ranges::any_of(t.grid, [](const Row& row) {
        return std::ranges::any_of(row, [](const Cell& c) { return c.blink != 0; });
    });
}

}  // namespace

bool blinkTick(Terminal& t, uint32_t now, uint32_t lastRxTick) {
    if (uint32_t(now - lastRxTick) < kBlinkQuietMs) return false;
    if ((t.cursorVisible && t.cursorBlink) || anyCellBlinks(t)) {
        t.blinkPhase = t.blinkPhase ? 0 : 1;
        return true;
    }
    if (t.blinkPhase) return false;
    t.blinkPhase = 1;
    return true;
}

}  // namespace orvane
