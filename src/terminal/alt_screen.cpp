// The alternate screen and the full reset (ESC c).
#include <algorithm>

#include "terminal/cell_fill.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

bool savedScreenFits(const Terminal& t) {
    return !t.savedMainRows.empty() && t.savedMainRows.size() == size_t(t.rows) &&
           t.savedMainRows.front().size() == size_t(t.cols);
}

void blankGrid(Terminal& t) {
    for (Row& row : t.grid) fillCells(row.data(), row.size(), kDefaultBlank);
}

void enterAltScreen(Terminal& t, bool withCursor) {
    t.savedMainRows = t.grid;
    if (withCursor) {
        t.altSavedRow = t.cursorRow;
        t.altSavedCol = t.cursorCol;
    }
    blankGrid(t);
    t.cursorRow = 0;
    t.cursorCol = 0;
}

void leaveAltScreen(Terminal& t, bool withCursor) {
    if (savedScreenFits(t)) {
        t.grid.swap(t.savedMainRows);
    } else {
        blankGrid(t);
    }
    t.savedMainRows.clear();
    if (withCursor) setCursor(t, t.altSavedRow, t.altSavedCol);
}

}  // namespace

void setAltScreen(Terminal& t, bool on, bool withCursor) {
    if (on == (t.altScreen != 0)) return;
    if (on) {
        enterAltScreen(t, withCursor);
    } else {
        leaveAltScreen(t, withCursor);
    }
    t.altScreen = on ? 1 : 0;
    t.pendingWrap = 0;
}

void fullReset(Terminal& t) {
    ++t.layerGeneration;
    t.charset = kCharsetAscii;
    blankGrid(t);
    t.cursorRow = 0;
    t.cursorCol = 0;
    t.pendingWrap = 0;
    t.lineBuffer.clear();
    t.penFg = 7;
    t.penBg = 0;
    t.penBold = t.penUnderline = t.penReverse = t.penDim = 0;
    t.penItalic = t.penBlink = t.penStrike = 0;
    t.penFgDirect = t.penBgDirect = 0;
    t.penFgRgb = t.penBgRgb = 0;
    t.cursorVisible = 1;
    resetTabStops(t);
    t.scrollTop = 0;
    t.scrollBottom = t.rows - 1;
    t.autoWrap = 1;
    t.originMode = 0;
    setAltScreen(t, false, false);
}

}  // namespace orvane
