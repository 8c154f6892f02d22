#include "render/win32/gdi_fonts.h"

#include <cwchar>

namespace orvane {

namespace {

constexpr BYTE kFixedModern = FIXED_PITCH | FF_MODERN;  // 49

HFONT createConsolasFont(LONG height, LONG weight, bool italic, BYTE quality) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWidth = 0;
    lf.lfWeight = weight;
    lf.lfItalic = italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = kFixedModern;
    wcscpy(lf.lfFaceName, L"Consolas");
    return CreateFontIndirectW(&lf);
}

HFONT oemFixedFont() { return static_cast<HFONT>(GetStockObject(OEM_FIXED_FONT)); }

}  // namespace

HFONT createConsolas(int32_t pixelSize, bool italic) {
    return createConsolasFont(-pixelSize, FW_NORMAL, italic, DEFAULT_QUALITY);
}

HFONT createNoticeFont() { return createConsolasFont(-16, FW_SEMIBOLD, false, CLEARTYPE_QUALITY); }

CellMetrics cellOfSelectedFont(HDC dc) {
    TEXTMETRICW tm{};
    if (!GetTextMetricsW(dc, &tm)) return {1, 1};
    return {tm.tmAveCharWidth, tm.tmHeight + tm.tmExternalLeading + 1};
}

GridFonts::~GridFonts() { release(); }

void GridFonts::release() {
    if (regular_) DeleteObject(regular_);
    if (italic_) DeleteObject(italic_);
    regular_ = italic_ = nullptr;
    pixelSize_.reset();
}

void GridFonts::ensure(int32_t pixelSize) {
    if (pixelSize_ == pixelSize) return;
    release();
    pixelSize_ = pixelSize;
    if (pixelSize <= 0) return;
    regular_ = createConsolas(pixelSize, false);
    if (regular_) italic_ = createConsolas(pixelSize, true);
}

HFONT GridFonts::regular() const { return regular_ ? regular_ : oemFixedFont(); }

HFONT GridFonts::italic() const { return italic_ ? italic_ : regular(); }

std::optional<CellMetrics> GdiFontMetrics::measureConsolas(int32_t pixelSize) {
    HFONT font = createConsolas(pixelSize, false);
    if (!font) return std::nullopt;
    HGDIOBJ previous = SelectObject(dc_, font);
    const CellMetrics cell = cellOfSelectedFont(dc_);
    SelectObject(dc_, previous);
    DeleteObject(font);
    return cell;
}

CellMetrics GdiFontMetrics::oemFixedMetrics() {
    HGDIOBJ previous = SelectObject(dc_, oemFixedFont());
    const CellMetrics cell = cellOfSelectedFont(dc_);
    SelectObject(dc_, previous);
    return cell;
}

}  // namespace orvane
