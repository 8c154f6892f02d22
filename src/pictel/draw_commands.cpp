// The drawing commands: find the canvas, draw the fill and then the outline
// in the current colours, and tell the compositor the canvas changed.
#include "pictel/draw_commands.h"

#include <algorithm>
#include <span>

#include "pictel/raster.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

struct Pens {
    bool fillOn = false;
    uint32_t fill = 0;
    bool strokeOn = false;
    uint32_t stroke = 0;
    int32_t thickness = 1;
};

// The parameter at `index` as a thickness: clamped, 1 when not given.
int32_t thicknessAt(const std::vector<int32_t>& p, size_t index) {
    return p.size() > index ? std::clamp(p[index], kMinThickness, kMaxThickness) : kMinThickness;
}

// Runs draw(canvas, pens) on canvas p[0] when it exists, then drops the
// canvas's prepared bitmap, whether or not anything was drawn. `minimum` is
// the count of required parameters; the optional thickness follows them.
template <class Draw>
void drawOnCanvas(Terminal& t, const std::vector<int32_t>& p, size_t minimum, Draw draw) {
    if (p.size() < minimum) return;
    Canvas* canvas = findCanvas(t.glass, p[0]);
    if (canvas == nullptr) return;
    const GlassLayer& g = t.glass;
    const Pens pens{!g.fillOff, opaquePixel(g.fillColour), !g.strokeOff, opaquePixel(g.strokeColour),
                    thicknessAt(p, minimum)};
    draw(*canvas, pens);
    dropCanvasBitmap(t.glass, p[0]);
}

void drawGlyphCommand(Terminal& t, const std::vector<int32_t>& p, std::span<const GlyphPoint> glyph) {
    drawOnCanvas(t, p, 5, [&](Canvas& c, const Pens& pens) {
        drawGlyph(c, glyph, p[1], p[2], p[3], p[4],
                  GlyphStyle{pens.fillOn, pens.fill, pens.strokeOn, pens.stroke, pens.thickness});
    });
}

// "F" and "R": red, green, blue (low 8 bits each) switch the pen on in that
// colour; no parameter switches it off; one or two parameters do nothing.
void setPen(const std::vector<int32_t>& p, uint32_t& colour, bool& off) {
    if (p.empty()) {
        off = true;
        return;
    }
    if (p.size() < 3) return;
    colour = (uint32_t(p[0]) & 0xFFu) | (uint32_t(p[1]) & 0xFFu) << 8 | (uint32_t(p[2]) & 0xFFu) << 16;
    off = false;
}

}  // namespace

void pictelRectangle(Terminal& t, const std::vector<int32_t>& p) {
    drawOnCanvas(t, p, 5, [&](Canvas& c, const Pens& pens) {
        if (pens.fillOn) fillCanvasRect(c, p[1], p[2], p[3], p[4], pens.fill);
        if (pens.strokeOn) strokeRect(c, p[1], p[2], p[3], p[4], pens.thickness, pens.stroke);
    });
}

void pictelCircle(Terminal& t, const std::vector<int32_t>& p) {
    drawOnCanvas(t, p, 4, [&](Canvas& c, const Pens& pens) {
        if (pens.fillOn) fillCircle(c, p[1], p[2], p[3], pens.fill);
        if (pens.strokeOn) strokeCircle(c, p[1], p[2], p[3], pens.thickness, pens.stroke);
    });
}

void pictelEllipse(Terminal& t, const std::vector<int32_t>& p) {
    drawOnCanvas(t, p, 5, [&](Canvas& c, const Pens& pens) {
        if (pens.fillOn) fillEllipse(c, p[1], p[2], p[3], p[4], pens.fill);
        if (pens.strokeOn) strokeEllipse(c, p[1], p[2], p[3], p[4], pens.thickness, pens.stroke);
    });
}

void pictelLine(Terminal& t, const std::vector<int32_t>& p) {
    // With stroke off there is nothing to draw, and the canvas stays as it was.
    if (t.glass.strokeOff) return;
    drawOnCanvas(t, p, 5, [&](Canvas& c, const Pens& pens) {
        drawLine(c, p[1], p[2], p[3], p[4], pens.thickness, pens.stroke);
    });
}

void pictelArrow(Terminal& t, const std::vector<int32_t>& p) { drawGlyphCommand(t, p, arrowGlyph()); }

void pictelHand(Terminal& t, const std::vector<int32_t>& p) { drawGlyphCommand(t, p, handGlyph()); }

void pictelFillColour(Terminal& t, const std::vector<int32_t>& p) { setPen(p, t.glass.fillColour, t.glass.fillOff); }

void pictelStrokeColour(Terminal& t, const std::vector<int32_t>& p) {
    setPen(p, t.glass.strokeColour, t.glass.strokeOff);
}

}  // namespace orvane
