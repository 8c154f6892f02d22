#include "render/win32/gdi_surface.h"

namespace orvane {

namespace {

RECT toRect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

const wchar_t* wide(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }

}  // namespace

GdiSurface::~GdiSurface() {
    if (originalFont_) SelectObject(dc_, originalFont_);
}

void GdiSurface::selectGridFont(int32_t pixelSize) {
    fonts_.ensure(pixelSize);
    HGDIOBJ previous = SelectObject(dc_, fonts_.regular());
    if (!originalFont_) originalFont_ = previous;
}

template <class Draw>
void GdiSurface::withFont(TextFont font, Draw draw) {
    HFONT created = font == TextFont::kNotice ? createNoticeFont() : nullptr;
    HFONT use = created ? created : font == TextFont::kGridItalic ? fonts_.italic() : fonts_.regular();
    HGDIOBJ previous = SelectObject(dc_, use);
    draw();
    SelectObject(dc_, previous);
    if (created) DeleteObject(created);
}

void GdiSurface::fillRect(const PixelRect& r, Colour colour) {
    // An opaque empty text call is GDI's cheapest solid fill.
    const RECT rect = toRect(r);
    SetBkColor(dc_, colour);
    ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void GdiSurface::drawText(int32_t x, int32_t y, std::u16string_view text, Colour colour, TextFont font) {
    withFont(font, [&] {
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, colour);
        ExtTextOutW(dc_, x, y, 0, nullptr, wide(text), UINT(text.size()), nullptr);
    });
}

void GdiSurface::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) {
    HGDIOBJ previous = SelectObject(dc_, GetStockObject(DC_PEN));
    SetDCPenColor(dc_, colour);
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
    SelectObject(dc_, previous);
}

void GdiSurface::copyRect(const PixelRect& from, int32_t toX, int32_t toY) {
    BitBlt(dc_, toX, toY, from.right - from.left, from.bottom - from.top, dc_, from.left, from.top, SRCCOPY);
}

void GdiSurface::invertRect(const PixelRect& r) {
    PatBlt(dc_, r.left, r.top, r.right - r.left, r.bottom - r.top, DSTINVERT);
}

void GdiSurface::frameRect(const PixelRect& r, Colour colour) {
    const RECT rect = toRect(r);
    SetDCBrushColor(dc_, colour);
    FrameRect(dc_, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

TextExtent GdiSurface::measureText(std::u16string_view text, TextFont font) {
    SIZE size{};
    withFont(font, [&] { GetTextExtentPoint32W(dc_, wide(text), int(text.size()), &size); });
    return {size.cx, size.cy};
}

}  // namespace orvane
