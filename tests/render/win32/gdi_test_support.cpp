#include "win32/gdi_test_support.h"

namespace orvane::testing {

PaintTarget::PaintTarget(int32_t width, int32_t height)
    : dib(DibSection::create(nullptr, width, height)), context(nullptr, dib.bitmap()), rect{0, 0, width, height} {}

namespace {
Colour fromDib(uint32_t v) { return rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }
}  // namespace

Colour PaintTarget::pixel(int32_t x, int32_t y) const {
    GdiFlush();
    return fromDib(dib.pixels()[size_t(y) * size_t(dib.width()) + size_t(x)]);
}

PaintedTerminal::PaintedTerminal(int32_t cols, int32_t rows, int32_t width, int32_t height) : target(width, height) {
    setGeometry(t, cols, rows);
}

void PaintedTerminal::feedText(const std::string& bytes) {
    feed(t, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

PaintOutcome PaintedTerminal::paint(bool fastPathAllowed) {
    const PaintOutcome outcome = paintTerminalGdi(t, renderer, windowDc ? windowDc : target.context.dc(), target.rect, 0, fastPathAllowed);
    GdiFlush();
    return outcome;
}

Colour PaintedTerminal::pixel(int32_t x, int32_t y) const {
    const BackBuffer& b = renderer.backBuffer;
    return fromDib(b.pixels()[size_t(y) * size_t(b.width()) + size_t(x)]);
}

GridLayout PaintedTerminal::layout() const {
    const RenderCache& c = renderer.cache;
    return layoutGrid({target.rect.left, target.rect.top, target.rect.right, target.rect.bottom}, t.cols, t.rows,
                      {c.cellWidth, c.cellHeight});
}

}  // namespace orvane::testing
