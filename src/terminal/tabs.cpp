// Horizontal tab stops, one bit per column.
#include "terminal/terminal.h"

namespace orvane {

namespace {

constexpr int32_t kDefaultTabWidth = 8;

bool columnHasStop(const Terminal& t, int32_t col) {
    return col >= 0 && size_t(col) < t.tabStops.size() && t.tabStops[size_t(col)];
}

}  // namespace

void resetTabStops(Terminal& t) {
    t.tabStops.assign(size_t(t.cols), false);
    for (int32_t c = kDefaultTabWidth; c < t.cols; c += kDefaultTabWidth) t.tabStops[size_t(c)] = true;
}

void nextTabStop(Terminal& t) {
    for (int32_t c = t.cursorCol + 1; c < t.cols; ++c) {
        if (columnHasStop(t, c)) {
            t.cursorCol = c;
            return;
        }
    }
    t.cursorCol = t.cols - 1;
}

void previousTabStop(Terminal& t) {
    for (int32_t c = t.cursorCol - 1; c > 0; --c) {
        if (columnHasStop(t, c)) {
            t.cursorCol = c;
            return;
        }
    }
    t.cursorCol = 0;
}

void setTabStopAtCursor(Terminal& t, bool on) {
    if (t.cursorCol < 0 || size_t(t.cursorCol) >= t.tabStops.size()) return;
    t.tabStops[size_t(t.cursorCol)] = on;
}

}  // namespace orvane
