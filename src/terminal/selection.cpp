#include "terminal/selection.h"

#include <algorithm>

namespace orvane {

namespace {

bool comesBefore(CellPos a, CellPos b) { return a.row < b.row || (a.row == b.row && a.col < b.col); }

CellPos clampToGrid(const Terminal& t, CellPos cell) {
    return {std::clamp(cell.row, 0, t.rows - 1), std::clamp(cell.col, 0, t.cols - 1)};
}

// Cells [first, last] of one row, without its trailing spaces.
std::u16string rowPiece(const Row& row, int32_t first, int32_t last) {
    std::u16string piece;
    for (int32_t c = first; c <= last && c < int32_t(row.size()); ++c) piece += row[size_t(c)].ch;
    piece.erase(piece.find_last_not_of(u' ') + 1);
    return piece;
}

}  // namespace

void beginSelectionAt(Terminal& t, CellPos cell) {
    t.selectionAnchor = t.selectionCaret = clampToGrid(t, cell);
    t.selecting = 1;
    t.selectionPresent = 0;
}

void extendSelectionTo(Terminal& t, CellPos cell) {
    if (!t.selecting) return;
    t.selectionCaret = clampToGrid(t, cell);
    t.selectionPresent = t.selectionCaret == t.selectionAnchor ? 0 : 1;
}

void endSelection(Terminal& t) { t.selecting = 0; }

void selectAll(Terminal& t) {
    t.selecting = 0;
    t.selectionPresent = 1;
    t.selectionAnchor = {0, 0};
    t.selectionCaret = {t.rows - 1, t.cols - 1};
}

std::u16string selectionText(const Terminal& t) {
    if (!t.selectionPresent) return {};
    const bool anchorFirst = comesBefore(t.selectionAnchor, t.selectionCaret);
    const CellPos start = anchorFirst ? t.selectionAnchor : t.selectionCaret;
    const CellPos end = anchorFirst ? t.selectionCaret : t.selectionAnchor;
    std::u16string text;
    for (int32_t r = std::max(start.row, 0); r <= end.row && r < t.rows; ++r) {
        const int32_t first = r == start.row ? std::max(start.col, 0) : 0;
        const int32_t last = r == end.row ? end.col : t.cols - 1;
        text += rowPiece(t.grid[size_t(r)], first, last);
        if (r < end.row) text += u"\r\n";
    }
    return text;
}

}  // namespace orvane
