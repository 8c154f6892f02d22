// Select Graphic Rendition: how the pen changes.
#include "terminal/terminal.h"

namespace orvane {

namespace {

struct ColourTarget {
    uint8_t& index;
    uint8_t& direct;
    uint32_t& rgb;
};

void setIndexed(ColourTarget c, uint32_t value) {
    c.index = uint8_t(value);
    c.direct = 0;
}

void setDirect(ColourTarget c, uint32_t colour) {
    c.direct = 1;
    c.rgb = colour;
}

// Reads 38/48's arguments starting at params[i] (just after the 38 or 48)
// and returns how many of them were consumed.
size_t applyExtendedColour(ColourTarget c, const std::vector<uint32_t>& params, size_t i) {
    const size_t left = params.size() - i;
    if (left == 0) return 0;
    const uint32_t kind = params[i];
    if (kind == 5) {
        if (left < 2) return left;
        const uint32_t n = params[i + 1];
        if (n < 16) {
            setIndexed(c, n);
        } else {
            setDirect(c, xterm256Colour(n));
        }
        return 2;
    }
    if (kind == 2) {
        if (left < 4) return left;
        setDirect(c, rgb(params[i + 1], params[i + 2], params[i + 3]));
        return 4;
    }
    return 0;
}

void resetPen(Terminal& t) {
    t.penFg = 7;
    t.penBg = 0;
    t.penBold = t.penUnderline = t.penReverse = t.penDim = 0;
    t.penItalic = t.penBlink = t.penStrike = 0;
    t.penFgDirect = t.penBgDirect = 0;
}

// Attributes that one parameter switches; false when the value is not one.
bool applyAttribute(Terminal& t, uint32_t p) {
    switch (p) {
    case 0: resetPen(t); break;
    case 1: t.penBold = 1; break;
    case 2: t.penDim = 1; break;
    case 3: t.penItalic = 1; break;
    case 4: t.penUnderline = 1; break;
    case 5:
    case 6: t.penBlink = 1; break;
    case 7: t.penReverse = 1; break;
    case 9: t.penStrike = 1; break;
    case 22: t.penBold = t.penDim = 0; break;
    case 23: t.penItalic = 0; break;
    case 24: t.penUnderline = 0; break;
    case 25: t.penBlink = 0; break;
    case 27: t.penReverse = 0; break;
    case 29: t.penStrike = 0; break;
    default: return false;
    }
    return true;
}

void applyBasicColour(ColourTarget fg, ColourTarget bg, uint32_t p) {
    if (p >= 30 && p <= 37) setIndexed(fg, p - 30);
    else if (p == 39) setIndexed(fg, 7);
    else if (p >= 40 && p <= 47) setIndexed(bg, p - 40);
    else if (p == 49) setIndexed(bg, 0);
    else if (p >= 90 && p <= 97) setIndexed(fg, p - 82);
    else if (p >= 100 && p <= 107) setIndexed(bg, p - 92);
}

}  // namespace

void applySgr(Terminal& t, const std::vector<uint32_t>& params) {
    if (params.empty()) {
        resetPen(t);
        return;
    }
    const ColourTarget fg{t.penFg, t.penFgDirect, t.penFgRgb};
    const ColourTarget bg{t.penBg, t.penBgDirect, t.penBgRgb};
    for (size_t i = 0; i < params.size(); ++i) {
        const uint32_t p = params[i];
        if (p == 38) {
            i += applyExtendedColour(fg, params, i + 1);
        } else if (p == 48) {
            i += applyExtendedColour(bg, params, i + 1);
        } else if (!applyAttribute(t, p)) {
            applyBasicColour(fg, bg, p);
        }
    }
}

}  // namespace orvane
