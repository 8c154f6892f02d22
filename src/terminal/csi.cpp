// Control functions of complete CSI sequences.
#include <algorithm>
#include <string>

#include "pictel/pictel_hooks.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

uint32_t param(const Terminal& t, size_t i) { return i < t.params.size() ? t.params[i] : 0; }

// Counts are signed: a parameter of 2^31 or more reads as not positive.
int32_t countParam(const Terminal& t) {
    const uint32_t p1 = param(t, 0);
    return int32_t(p1 == 0 ? 1u : p1);
}

void appendReply(Terminal& t, const std::string& text) {
    t.replies.insert(t.replies.end(), text.begin(), text.end());
}

void moveCursorBy(Terminal& t, int64_t dRow, int64_t dCol) {
    const int64_t row = std::clamp<int64_t>(t.cursorRow + dRow, 0, t.rows - 1);
    const int64_t col = std::clamp<int64_t>(t.cursorCol + dCol, 0, t.cols - 1);
    setCursor(t, int32_t(row), int32_t(col));
}

void cursorUp(Terminal& t, int32_t n) {
    int64_t r = int64_t(t.cursorRow) - n;
    if (t.cursorRow >= t.scrollTop && r < t.scrollTop) r = t.scrollTop;
    moveCursorBy(t, r - t.cursorRow, 0);
}

void cursorDown(Terminal& t, int32_t n) {
    int64_t r = int64_t(t.cursorRow) + n;
    if (t.cursorRow <= t.scrollBottom && r > t.scrollBottom) r = t.scrollBottom;
    moveCursorBy(t, r - t.cursorRow, 0);
}

void cursorPosition(Terminal& t) {
    const uint32_t row = std::max(param(t, 0), 1u);
    const uint32_t col = std::max(param(t, 1), 1u);
    // The grid takes signed positions; values of 2^31 and more wrap negative
    // and clamp to the first row or column.
    const auto rowArg = int32_t(row - 1u);
    const auto colArg = int32_t(col - 1u);
    if (t.originMode) {
        // scrollTop >= 0 keeps the sum inside the signed range.
        const int64_t r = std::min<int64_t>(int64_t(t.scrollTop) + rowArg, t.scrollBottom);
        setCursor(t, int32_t(r), colArg);
    } else {
        setCursor(t, rowArg, colArg);
    }
}

template <typename Step>
void repeat(int32_t n, int32_t limit, Step step) {
    for (int32_t i = std::min(n, limit); i > 0; --i) step();
}

void setScrollRegion(Terminal& t) {
    int64_t top = 1;
    int64_t bottom = t.rows;
    const bool bare = t.params.size() == 1 && t.paramEmpty;
    if (!bare) {
        if (!t.params.empty() && t.params[0] != 0) top = t.params[0];
        if (t.params.size() >= 2 && t.params[1] != 0) bottom = t.params[1];
    }
    const int64_t first = std::max<int64_t>(top - 1, 0);
    const int64_t last = std::min<int64_t>(bottom, t.rows) - 1;
    if (first >= last) return;
    t.scrollTop = int32_t(first);
    t.scrollBottom = int32_t(last);
    setCursor(t, t.originMode ? t.scrollTop : 0, 0);
}

bool isGridSize(uint32_t rows, uint32_t cols) {
    return (rows == 24 || rows == 25) && (cols == 80 || cols == 132);
}

void windowOperation(Terminal& t) {
    if (t.params.size() < 3 || t.params[0] != 8) return;
    const uint32_t rows = t.params[1];
    const uint32_t cols = t.params[2];
    if (!isGridSize(rows, cols)) return;
    if (int32_t(rows) == t.rows && int32_t(cols) == t.cols) return;
    setGeometry(t, int32_t(cols), int32_t(rows));
}

void deviceStatus(Terminal& t) {
    const uint32_t p1 = param(t, 0);
    if (p1 == 5) {
        appendReply(t, "\x1b[0n");
    } else if (p1 == 6) {
        const int32_t row = t.cursorRow + 1 - (t.originMode ? t.scrollTop : 0);
        appendReply(t, "\x1b[" + std::to_string(row) + ";" + std::to_string(t.cursorCol + 1) + "R");
    }
}

void tabClear(Terminal& t) {
    const uint32_t p1 = param(t, 0);
    if (p1 == 0) {
        setTabStopAtCursor(t, false);
    } else if (p1 == 3) {
        std::fill(t.tabStops.begin(), t.tabStops.end(), false);
    }
}

void decPrivateMode(Terminal& t, uint32_t mode, bool set) {
    switch (mode) {
    case 6:
        t.originMode = set ? 1 : 0;
        setCursor(t, set ? t.scrollTop : 0, 0);
        break;
    case 7:
        t.autoWrap = set ? 1 : 0;
        t.pendingWrap = 0;
        break;
    case 25: t.cursorVisible = set ? 1 : 0; break;
    case 47:
    case 1047: setAltScreen(t, set, false); break;
    case 1048:
        if (set) {
            t.altSavedRow = t.cursorRow;
            t.altSavedCol = t.cursorCol;
        } else {
            setCursor(t, t.altSavedRow, t.altSavedCol);
        }
        break;
    case 1049: setAltScreen(t, set, true); break;
    default: break;
    }
}

void dispatchStandard(Terminal& t, uint8_t f) {
    const int32_t n = countParam(t);
    switch (f) {
    case '@': insertChars(t, n); break;
    case 'A': cursorUp(t, n); break;
    case 'B': cursorDown(t, n); break;
    case 'C': moveCursorBy(t, 0, n); break;
    case 'D': moveCursorBy(t, 0, -int64_t(n)); break;
    case 'H':
    case 'f': cursorPosition(t); break;
    case 'I': repeat(n, t.cols, [&] { nextTabStop(t); }); break;
    case 'J': eraseInDisplay(t, int32_t(param(t, 0))); break;
    case 'K': eraseInLine(t, int32_t(param(t, 0))); break;
    case 'L': insertLines(t, n); break;
    case 'M': deleteLines(t, n); break;
    case 'P': deleteChars(t, n); break;
    case 'S': repeat(n, t.rows, [&] { scrollUp(t); }); break;
    case 'T': repeat(n, t.rows, [&] { scrollDown(t); }); break;
    case 'X': eraseChars(t, n); break;
    case 'Z': repeat(n, t.cols, [&] { previousTabStop(t); }); break;
    case 'c':
        if (!t.privateMark) appendReply(t, "\x1b[?62;4;9001c");
        break;
    case 'g': tabClear(t); break;
    case 'm': applySgr(t, t.params); break;
    case 'n':
        if (!t.privateMark) deviceStatus(t);
        break;
    case 'r':
        if (!t.privateMark) setScrollRegion(t);
        break;
    case 's':
        t.savedRow = t.cursorRow;
        t.savedCol = t.cursorCol;
        break;
    case 't': windowOperation(t); break;
    case 'u': setCursor(t, t.savedRow, t.savedCol); break;
    default: break;
    }
}

}  // namespace

void dispatchCsi(Terminal& t, uint8_t finalByte) {
    t.pendingWrap = 0;
    if (t.prefix == '=') {
        dispatchPictelCsi(t, finalByte);
        return;
    }
    if (t.prefix == '<' || t.prefix == '>') return;
    if (t.privateMark && (finalByte == 'h' || finalByte == 'l')) {
        for (uint32_t mode : t.params) decPrivateMode(t, mode, finalByte == 'h');
        return;
    }
    dispatchStandard(t, finalByte);
}

}  // namespace orvane
