// Entry point for received bytes: the ANSI interpreter, or a literal view
// as ASCII tokens or a hex dump.
#include <algorithm>

#include "terminal/charsets.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

constexpr uint8_t ESC = 0x1B;
constexpr uint8_t BEL = 0x07;

void putHexForm(Terminal& t, uint8_t b) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    putGlyph(t, u'[');
    putGlyph(t, kDigits[b >> 4]);
    putGlyph(t, kDigits[b & 15]);
    putGlyph(t, u']');
    putGlyph(t, u' ');
}

void putAsciiForm(Terminal& t, uint8_t b) {
    switch (b) {
    case 0x09: putText(t, u"<tab>"); return;
    case 0x0A: putText(t, u"<lf>"); return;
    case 0x0D: putText(t, u"<cr>"); return;
    case 0x1B: putText(t, u"<esc>"); return;
    default: break;
    }
    if (b >= 0x20 && b <= 0x7E) {
        putGlyph(t, char16_t(b));
    } else {
        putHexForm(t, b);
    }
}

// Writes printable bytes in Ground exactly as putGlyph would, one row segment
// at a time, so plain text does not pay for the state machine per byte.
const uint8_t* writePrintableRun(Terminal& t, const uint8_t* p, const uint8_t* end) {
    const Cell pen = penCell(t, u' ');
    const GlyphTable& glyphs = glyphTable(t.charset);
    const int32_t last = t.cols - 1;
    while (p < end && isPrintableByte(*p)) {
        if (t.pendingWrap) {
            putGlyph(t, glyphs[*p++]);
            continue;
        }
        Row& row = t.grid[size_t(t.cursorRow)];
        int32_t col = t.cursorCol;
        while (p < end && isPrintableByte(*p)) {
            // Copy the pen, then patch the character: building the cell on
            // the stack first stalls on a store-to-load forward per glyph.
            Cell& dst = row[size_t(col)];
            dst = pen;
            dst.ch = glyphs[*p++];
            if (col == last) {
                t.pendingWrap = t.autoWrap;
                break;
            }
            ++col;
        }
        t.cursorCol = col;
    }
    return p;
}

// Bytes of an APC payload up to its terminator or the size limit; they are
// only collected, so they do not mark the screen for repaint.
const uint8_t* collectApcRun(Terminal& t, const uint8_t* p, const uint8_t* end) {
    const size_t room = kApcLimit - std::min(t.apcText.size(), kApcLimit);
    const uint8_t* stop = p + std::min(size_t(end - p), room);
    const uint8_t* q = p;
    while (q < stop && *q != ESC && *q != BEL) ++q;
    t.apcText.append(reinterpret_cast<const char*>(p), size_t(q - p));
    return q;
}

const uint8_t* feedAnsi(Terminal& t, const uint8_t* p, const uint8_t* end) {
    if (t.parserState == kApcString) {
        const uint8_t* q = collectApcRun(t, p, end);
        if (q != p) return q;
    }
    t.dirty = 1;
    if (t.parserState == kGround && isPrintableByte(*p)) {
        return writePrintableRun(t, p, end);
    }
    return feedSequenceRun(t, p, end);
}

}  // namespace

void feed(Terminal& t, const uint8_t* bytes, size_t count) {
    const uint8_t* p = bytes;
    const uint8_t* const end = bytes + count;
    while (p < end) {
        switch (t.displayMode) {
        case kModeAnsi: p = feedAnsi(t, p, end); continue;
        case kModeAscii: putAsciiForm(t, *p); break;
        case kModeHex: putHexForm(t, *p); break;
        default: break;
        }
        t.dirty = 1;
        ++p;
    }
}

void setDisplayMode(Terminal& t, const std::string& mode) {
    if (mode == "ASCII") {
        t.displayMode = kModeAscii;
    } else if (mode == "HEX") {
        t.displayMode = kModeHex;
    } else {
        t.displayMode = kModeAnsi;
        return;
    }
    abortSequence(t);
}

}  // namespace orvane
