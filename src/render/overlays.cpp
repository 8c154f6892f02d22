#include "render/overlays.h"

#include <algorithm>

namespace orvane {

namespace {

// Distance of the notice box from the grid's left and bottom edges.
constexpr int32_t kNoticeInset = 10;

bool cursorShown(const Terminal& t) { return t.cursorVisible && !(t.cursorBlink && !t.blinkPhase); }

bool comesBefore(CellPos a, CellPos b) { return a.row < b.row || (a.row == b.row && a.col < b.col); }

}  // namespace

std::vector<PixelRect> cursorStrips(const Terminal& t, const GridLayout& g) {
    if (!cursorShown(t)) return {};
    const PixelRect c = g.cellRect(std::clamp(t.cursorRow, 0, std::max(t.rows - 1, 0)),
                                   std::clamp(t.cursorCol, 0, std::max(t.cols - 1, 0)));
    switch (t.cursorStyle) {
        case 1:  // outline: top, bottom, left, right
            return {{c.left, c.top, c.right, c.top + 1},
                    {c.left, c.bottom - 1, c.right, c.bottom},
                    {c.left, c.top, c.left + 1, c.bottom},
                    {c.right - 1, c.top, c.right, c.bottom}};
        case 2:  // double underline
            return {{c.left, c.bottom - 1, c.right, c.bottom},
                    {c.left, c.bottom - 3, c.right, c.bottom - 2}};
        default:
            return {c};
    }
}

std::vector<PixelRect> selectionBands(const Terminal& t, const GridLayout& g) {
    if (!t.selectionPresent) return {};
    const bool anchorFirst = !comesBefore(t.selectionCaret, t.selectionAnchor);
    const CellPos start = anchorFirst ? t.selectionAnchor : t.selectionCaret;
    const CellPos end = anchorFirst ? t.selectionCaret : t.selectionAnchor;
    std::vector<PixelRect> bands;
    for (int32_t r = std::max(start.row, 0); r <= end.row && r < t.rows; ++r) {
        const int32_t first = r == start.row ? start.col : 0;
        const int32_t last = r == end.row ? end.col : t.cols - 1;
        bands.push_back(g.cellSpan(r, first, last));
    }
    return bands;
}

bool noticeShowing(const Terminal& t, uint32_t now) {
    return t.noticeUntil != 0 && int32_t(t.noticeUntil - now) >= 1 && !t.noticeText.empty();
}

PixelRect noticeBox(const GridLayout& g, TextExtent text) {
    const int32_t left = g.x0 + kNoticeInset;
    const int32_t bottom = g.y0 + g.gridHeight() - kNoticeInset;
    return {left, bottom - (text.cy + 2 * kNoticePadding), left + text.cx + 2 * kNoticePadding,
            bottom};
}

void drawOverlays(const Terminal& t, const GridLayout& g, DrawSurface& target, uint32_t now) {
    for (const PixelRect& r : cursorStrips(t, g)) target.invertRect(r);
    for (const PixelRect& r : selectionBands(t, g)) target.invertRect(r);
    if (!noticeShowing(t, now)) return;
    const PixelRect box = noticeBox(g, target.measureText(t.noticeText, TextFont::kNotice));
    target.fillRect(box, kNoticeFill);
    target.frameRect(box, kNoticeFrame);
    target.drawText(box.left + kNoticePadding, box.top + kNoticePadding, t.noticeText, kNoticeText,
                    TextFont::kNotice);
}

}  // namespace orvane
