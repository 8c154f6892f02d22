#include "render_fakes.h"

#include <cstdio>

namespace orvane {

namespace {

std::string hex(Colour c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06x", unsigned(c));
    return text;
}

std::string point(int32_t x, int32_t y) { return std::to_string(x) + "," + std::to_string(y); }

const char* fontLetter(TextFont font) {
    switch (font) {
        case TextFont::kGrid: return "g";
        case TextFont::kGridItalic: return "i";
        case TextFont::kNotice: return "n";
    }
    return "?";
}

// Adds a line naming the surface it went to, so order across calls shows.
void note(DrawSurface& s, const std::string& line) {
    if (auto* r = dynamic_cast<RecordingSurface*>(&s)) r->ops.push_back(line);
}

}  // namespace

std::string describe(const PixelRect& r) {
    return point(r.left, r.top) + "," + point(r.right, r.bottom);
}

std::string narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? char(c) : '?';
    return out;
}

void RecordingSurface::selectGridFont(int32_t pixelSize) {
    ops.push_back("font " + std::to_string(pixelSize));
}

void RecordingSurface::fillRect(const PixelRect& r, Colour colour) {
    ops.push_back("fill " + describe(r) + " " + hex(colour));
}

void RecordingSurface::drawText(int32_t x, int32_t y, std::u16string_view text, Colour colour,
                                TextFont font) {
    ops.push_back("text " + point(x, y) + " " + hex(colour) + " " + fontLetter(font) + " '" +
                  narrow(text) + "'");
}

void RecordingSurface::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) {
    ops.push_back("line " + point(x1, y1) + "-" + point(x2, y2) + " " + hex(colour));
}

void RecordingSurface::copyRect(const PixelRect& from, int32_t toX, int32_t toY) {
    ops.push_back("copy " + describe(from) + " to " + point(toX, toY));
}

void RecordingSurface::invertRect(const PixelRect& r) { ops.push_back("invert " + describe(r)); }

void RecordingSurface::frameRect(const PixelRect& r, Colour colour) {
    ops.push_back("frame " + describe(r) + " " + hex(colour));
}

TextExtent RecordingSurface::measureText(std::u16string_view text, TextFont font) {
    ops.push_back(std::string("measure ") + fontLetter(font) + " '" + narrow(text) + "'");
    return {int32_t(text.size()) * 8, 16};
}

std::vector<std::string> RecordingSurface::opsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& op : ops)
        if (op.rfind(prefix, 0) == 0) found.push_back(op);
    return found;
}

DrawSurface* FakePaintHost::backBuffer(int32_t width, int32_t height) {
    if (!bufferAvailable) return nullptr;
    buffer.ops.push_back("buffer " + point(width, height));
    return &buffer;
}

bool FakePaintHost::copyLayerCache(DrawSurface& back, const GridLayout& g, int32_t width,
                                   int32_t height) {
    if (!layerCacheAvailable) return false;
    note(back, "layercache " + point(width, height) + " grid " + describe(g.gridRect()) + " cell " +
                   point(g.cellWidth, g.cellHeight));
    return true;
}

void FakePaintHost::drawUnderTextLayers(DrawSurface& surface, const GridLayout& g) {
    note(surface, "layers " + describe(g.gridRect()));
}

void FakePaintHost::drawBellIndicator(DrawSurface& surface, const GridLayout& g) {
    note(surface, "bell " + point(g.x0, g.y0));
}

void FakePaintHost::presentBackBuffer(int32_t left, int32_t top, int32_t width, int32_t height) {
    screen.ops.push_back("present " + point(left, top) + " " + point(width, height));
}

}  // namespace orvane
