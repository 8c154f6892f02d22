// Grid operations: writing, line feeds, scrolling, erasing, inserting and
// deleting. Rows are separate vectors so scrolling rotates row handles
// instead of copying cells; a row brought in is refilled in place.
#include <algorithm>

#include "pictel/pictel_hooks.h"
#include "terminal/cell_fill.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

int32_t clampInt(int64_t v, int32_t lo, int32_t hi) {
    return int32_t(std::clamp<int64_t>(v, lo, hi));
}

void clampCursor(Terminal& t) {
    t.cursorRow = clampInt(t.cursorRow, 0, t.rows - 1);
    t.cursorCol = clampInt(t.cursorCol, 0, t.cols - 1);
}

// Cells [from, to) of a row.
void fillSpan(Row& row, int32_t from, int32_t to, const Cell& blank) {
    fillCells(row.data() + from, size_t(to - from), blank);
}

void fillRow(Row& row, const Cell& blank) { fillCells(row.data(), row.size(), blank); }

// A count for a repeated operation, reduced to what can make a difference.
int32_t boundedCount(int32_t n, int32_t limit) { return std::min(n, limit); }

bool cursorInRegion(const Terminal& t) {
    return t.cursorRow >= t.scrollTop && t.cursorRow <= t.scrollBottom;
}

// Rotates rows [first, last] by `shift` towards the top (positive) or the
// bottom (negative) and blanks the rows that came round.
void shiftRows(Terminal& t, int32_t first, int32_t last, int32_t shift, const Cell& blank) {
    auto begin = t.grid.begin() + first;
    auto end = t.grid.begin() + last + 1;
    if (shift > 0) {
        std::rotate(begin, begin + shift, end);
        for (auto it = end - shift; it != end; ++it) fillRow(*it, blank);
    } else {
        std::rotate(begin, end + shift, end);
        for (auto it = begin; it != begin - shift; ++it) fillRow(*it, blank);
    }
}

}  // namespace

Cell penCell(const Terminal& t, char16_t ch) {
    Cell c;
    c.ch = ch;
    const bool rev = t.penReverse != 0;
    c.fg = rev ? t.penBg : t.penFg;
    c.bg = rev ? t.penFg : t.penBg;
    c.fgDirect = rev ? t.penBgDirect : t.penFgDirect;
    c.bgDirect = rev ? t.penFgDirect : t.penBgDirect;
    c.fgRgb = rev ? t.penBgRgb : t.penFgRgb;
    c.bgRgb = rev ? t.penFgRgb : t.penBgRgb;
    c.bold = t.penBold;
    c.underline = t.penUnderline;
    c.dim = t.penDim;
    c.italic = t.penItalic;
    c.blink = t.penBlink;
    c.strike = t.penStrike;
    return c;
}

Cell eraseBlank(const Terminal& t) {
    Cell c = penCell(t, u' ');
    c.bold = c.underline = c.dim = c.italic = c.blink = c.strike = 0;
    return c;
}

void resizeGrid(Terminal& t) {
    ++t.layerGeneration;
    t.grid.assign(size_t(t.rows), Row(size_t(t.cols), kDefaultBlank));
    t.cursorRow = 0;
    t.cursorCol = 0;
    resetTabStops(t);
    t.scrollTop = 0;
    t.scrollBottom = t.rows - 1;
    t.savedMainRows.clear();
    t.altScreen = 0;
}

void setGeometry(Terminal& t, int32_t cols, int32_t rows) {
    t.cols = cols;
    t.rows = rows;
    resizeGrid(t);
    t.fontValid = 0;
    t.geometryChanged = 1;
    onGridResized(t, t.cols, t.rows);
    t.selecting = 0;
    t.selectionPresent = 0;
}

void putGlyph(Terminal& t, char16_t ch) {
    if (t.pendingWrap) {
        t.pendingWrap = 0;
        t.cursorCol = 0;
        if (t.cursorRow == t.scrollBottom) {
            scrollUp(t);
        } else if (t.cursorRow < t.rows - 1) {
            ++t.cursorRow;
        }
    }
    clampCursor(t);
    t.grid[size_t(t.cursorRow)][size_t(t.cursorCol)] = penCell(t, ch);
    if (t.cursorCol < t.cols - 1) {
        ++t.cursorCol;
    } else {
        t.pendingWrap = t.autoWrap;
    }
}

void putText(Terminal& t, const char16_t* text) {
    for (; *text != 0; ++text) putGlyph(t, *text);
}

void index(Terminal& t) {
    if (t.cursorRow == t.scrollBottom) {
        scrollUp(t);
    } else if (t.cursorRow < t.rows - 1) {
        ++t.cursorRow;
    }
}

void reverseIndex(Terminal& t) {
    if (t.cursorRow == t.scrollTop) {
        scrollDown(t);
    } else if (t.cursorRow >= 1) {
        --t.cursorRow;
    }
}

void scrollUp(Terminal& t) { shiftRows(t, t.scrollTop, t.scrollBottom, 1, kDefaultBlank); }

void scrollDown(Terminal& t) { shiftRows(t, t.scrollTop, t.scrollBottom, -1, kDefaultBlank); }

void setCursor(Terminal& t, int32_t row, int32_t col) {
    t.cursorRow = row;
    t.cursorCol = col;
    clampCursor(t);
}

void eraseInDisplay(Terminal& t, int32_t mode) {
    const Cell blank = eraseBlank(t);
    Row& cur = t.grid[size_t(t.cursorRow)];
    switch (mode) {
    case 0:
        fillSpan(cur, t.cursorCol, t.cols, blank);
        for (auto it = t.grid.begin() + t.cursorRow + 1; it != t.grid.end(); ++it) fillRow(*it, blank);
        break;
    case 1:
        for (auto it = t.grid.begin(); it != t.grid.begin() + t.cursorRow; ++it) fillRow(*it, blank);
        fillSpan(cur, 0, t.cursorCol + 1, blank);
        break;
    case 2:
        for (Row& row : t.grid) fillRow(row, blank);
        break;
    default:
        break;
    }
}

void eraseInLine(Terminal& t, int32_t mode) {
    const Cell blank = eraseBlank(t);
    Row& cur = t.grid[size_t(t.cursorRow)];
    switch (mode) {
    case 0: fillSpan(cur, t.cursorCol, t.cols, blank); break;
    case 1: fillSpan(cur, 0, t.cursorCol + 1, blank); break;
    case 2: fillRow(cur, blank); break;
    default: break;
    }
}

void eraseChars(Terminal& t, int32_t count) {
    if (count < 1) return;
    Row& cur = t.grid[size_t(t.cursorRow)];
    const int32_t n = boundedCount(count, t.cols - t.cursorCol);
    fillSpan(cur, t.cursorCol, t.cursorCol + n, eraseBlank(t));
}

void insertChars(Terminal& t, int32_t count) {
    if (count < 1) return;
    Row& cur = t.grid[size_t(t.cursorRow)];
    const int32_t n = boundedCount(count, t.cols - t.cursorCol);
    const auto from = cur.begin() + t.cursorCol;
    std::move_backward(from, cur.end() - n, cur.end());
    fillSpan(cur, t.cursorCol, t.cursorCol + n, eraseBlank(t));
}

void deleteChars(Terminal& t, int32_t count) {
    if (count < 1) return;
    Row& cur = t.grid[size_t(t.cursorRow)];
    const int32_t n = boundedCount(count, t.cols - t.cursorCol);
    const auto from = cur.begin() + t.cursorCol;
    std::move(from + n, cur.end(), from);
    fillSpan(cur, t.cols - n, t.cols, eraseBlank(t));
}

void insertLines(Terminal& t, int32_t count) {
    if (!cursorInRegion(t)) return;
    if (count >= 1) {
        const int32_t n = boundedCount(count, t.scrollBottom - t.cursorRow + 1);
        shiftRows(t, t.cursorRow, t.scrollBottom, -n, eraseBlank(t));
    }
    t.cursorCol = 0;
}

void deleteLines(Terminal& t, int32_t count) {
    if (!cursorInRegion(t)) return;
    if (count >= 1) {
        const int32_t n = boundedCount(count, t.scrollBottom - t.cursorRow + 1);
        shiftRows(t, t.cursorRow, t.scrollBottom, n, eraseBlank(t));
    }
    t.cursorCol = 0;
}

void clearScreen(Terminal& t) {
    for (Row& row : t.grid) fillRow(row, kDefaultBlank);
    t.cursorRow = 0;
    t.cursorCol = 0;
    t.pendingWrap = 0;
    t.lineBuffer.clear();
}

void setCursorStyle(Terminal& t, const std::string& style) {
    if (style == "outline") {
        t.cursorStyle = 1;
    } else if (style == "double" || style == "doubleunderline" || style == "underline") {
        t.cursorStyle = 2;
    } else {
        t.cursorStyle = 0;
    }
    t.dirty = 1;
}

void setCursorBlink(Terminal& t, bool on) {
    t.cursorBlink = on ? 1 : 0;
    if (!on) t.blinkPhase = 1;
    t.dirty = 1;
}

}  // namespace orvane
