#include "render/draw_row.h"

#include <string>

namespace orvane {

namespace {

bool sameAttributes(const Cell& a, const Cell& b) {
    Cell withA = b;
    withA.ch = a.ch;
    return withA == a;
}

constexpr uint32_t averageChannels(uint32_t a, uint32_t b) {
    uint32_t mixed = 0;
    for (uint32_t shift = 0; shift < 24; shift += 8)
        mixed |= ((((a >> shift) & 0xFFu) + ((b >> shift) & 0xFFu)) / 2) << shift;
    return mixed;
}

bool skipsBackground(const Cell& c, Colour background, const UnderText& under) {
    if (under.keyColourSet && background == under.keyColour) return true;
    return under.backgroundImage && !c.bgDirect && c.bg == 0;
}

bool skipsText(const Cell& c, Colour text, const UnderText& under, bool blinkPhase) {
    if (under.keyColourSet && text == under.keyColour) return true;
    return c.blink && !blinkPhase;
}

}  // namespace

int32_t attributeRunLength(const Row& row, int32_t first) {
    int32_t end = first + 1;
    while (end < int32_t(row.size()) && sameAttributes(row[size_t(first)], row[size_t(end)])) ++end;
    return end - first;
}

RunColours runColours(const Cell& cell, const Palette& palette) {
    RunColours colours;
    colours.background = cell.bgDirect ? cell.bgRgb : palette[cell.bg & 15u];
    if (cell.fgDirect)
        colours.text = cell.fgRgb;
    else
        colours.text = palette[(cell.bold && cell.fg < 8 ? cell.fg + 8u : cell.fg) & 15u];
    if (cell.dim) colours.text = averageChannels(colours.text, colours.background);
    return colours;
}

UnderText underTextOf(const Terminal& t, bool backgroundImageLoaded) {
    return {backgroundImageLoaded, t.glass.keyColourSet, t.glass.canvasBackground};
}

void drawRow(const Terminal& t, DrawSurface& surface, int32_t row, int32_t x0, int32_t y0,
             CellMetrics cell, const UnderText& under) {
    const Row& cells = t.grid[size_t(row)];
    const int32_t top = y0 + row * cell.height;
    const int32_t bottom = top + cell.height;
    for (int32_t first = 0; first < int32_t(cells.size());) {
        const int32_t length = attributeRunLength(cells, first);
        const Cell& c = cells[size_t(first)];
        const RunColours colours = runColours(c, *t.palette);
        const int32_t left = x0 + first * cell.width;
        const int32_t right = left + length * cell.width;
        if (!skipsBackground(c, colours.background, under))
            surface.fillRect({left, top, right, bottom}, colours.background);
        if (!skipsText(c, colours.text, under, t.blinkPhase != 0)) {
            std::u16string text;
            for (int32_t i = first; i < first + length; ++i) text += cells[size_t(i)].ch;
            surface.drawText(left, top, text, colours.text,
                             c.italic ? TextFont::kGridItalic : TextFont::kGrid);
            if (c.underline) surface.drawLine(left, bottom - 1, right, bottom - 1, colours.text);
            if (c.strike) {
                const int32_t middle = top + cell.height / 2;
                surface.drawLine(left, middle, right, middle, colours.text);
            }
        }
        first += length;
    }
}

}  // namespace orvane
