#include "pictel/win32/text_image.h"

#include <windows.h>

#include <cstring>

#include "pictel/media_platform.h"

namespace orvane {

namespace {

constexpr wchar_t kFontFace[] = L"Consolas";
constexpr int kFontHeight = 18;  // character height in pixels
constexpr int kTextMargin = 12;
constexpr COLORREF kBackground = RGB(40, 40, 40);
constexpr COLORREF kInk = RGB(255, 255, 255);

HFONT createFont(const wchar_t* face) {
    return CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, face);
}

// Consolas where the system has it, else whichever fixed-pitch face the font
// mapper offers for an unnamed modern font.
HFONT createPlaceholderFont(HDC dc) {
    HFONT font = createFont(kFontFace);
    if (!font) return createFont(L"");
    const HGDIOBJ previous = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, previous);
    if (lstrcmpiW(face, kFontFace) == 0) return font;
    DeleteObject(font);
    return createFont(L"");
}

void drawFrame(HDC dc) {
    const RECT all = {0, 0, kPlaceholderWidth, kPlaceholderHeight};
    if (const HBRUSH background = CreateSolidBrush(kBackground)) {
        FillRect(dc, &all, background);
        DeleteObject(background);
    }
    const HPEN pen = CreatePen(PS_SOLID, 2, kInk);
    if (!pen) return;
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 1, 1, kPlaceholderWidth - 1, kPlaceholderHeight - 1);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void drawMessage(HDC dc, const std::wstring& text) {
    const HFONT font = createPlaceholderFont(dc);
    const HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SetTextColor(dc, kInk);
    SetBkMode(dc, TRANSPARENT);
    RECT box = {kTextMargin, kTextMargin, kPlaceholderWidth - kTextMargin, kPlaceholderHeight - kTextMargin};
    DrawTextW(dc, text.c_str(), int(text.size()), &box, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    if (font) {
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }
}

void drawInto(Canvas& out, const std::wstring& text) {
    const HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kPlaceholderWidth;
    info.bmiHeader.biHeight = -kPlaceholderHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        drawFrame(dc);
        drawMessage(dc, text);
        GdiFlush();
        std::memcpy(out.pixels.data(), bits, out.pixels.size() * sizeof(uint32_t));
        SelectObject(dc, oldBitmap);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace

void renderTextImage(const std::wstring& text, Canvas& out) {
    out = Canvas{};
    out.width = kPlaceholderWidth;
    out.height = kPlaceholderHeight;
    out.valid = true;
    out.pixels.assign(size_t(kPlaceholderWidth) * size_t(kPlaceholderHeight), 0u);
    drawInto(out, text);
}

}  // namespace orvane
