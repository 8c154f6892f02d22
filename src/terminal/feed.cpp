// Entry point for received bytes: the ANSI interpreter, or a literal view
// as ASCII tokens or a hex dump.
#include <algorithm>

#include "terminal/feed_paths.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

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

// Bytes of an APC payload up to its terminator or the size limit; they are
// only collected, so they do not mark the screen for repaint.
const uint8_t* collectApcRun(Terminal& t, const uint8_t* p, const uint8_t* end) {
    const size_t room = kApcLimit - std::min(t.apcText.size(), kApcLimit);
    const uint8_t* stop = p + std::min(size_t(end - p), room);
    const uint8_t* q = p;
    while (q < stop && *q != kEsc && *q != kBel) ++q;
    t.apcText.append(reinterpret_cast<const char*>(p), size_t(q - p));
    return q;
}

// In Ground: text and controls a run at a time and common CSI sequences
// whole, until a sequence needs the byte machine or the bytes run out.
const uint8_t* feedGround(Terminal& t, PenCache& pen, const uint8_t* p, const uint8_t* end) {
    while (p < end) {
        if (*p != kEsc) {
            p = feedGroundRun(t, pen, p, end);
            continue;
        }
        uint8_t finalByte = 0;
        const uint8_t* q = feedWholeCsi(t, p, end, finalByte);
        if (q == nullptr) break;
        if (finalByte == 'm') pen.forget();
        p = q;
    }
    return p;
}

// Everything else, and sequences cut off by the end of the batch, goes to
// the byte machine.
const uint8_t* feedAnsi(Terminal& t, PenCache& pen, const uint8_t* p, const uint8_t* end) {
    if (t.parserState == kApcString) {
        const uint8_t* q = collectApcRun(t, p, end);
        if (q != p) return q;
    }
    t.dirty = 1;
    if (t.parserState == kGround) {
        const uint8_t* q = feedGround(t, pen, p, end);
        if (q != p) return q;
    }
    // Any sequence might change the pen (SGR, the full reset).
    pen.forget();
    return feedSequenceRun(t, p, end);
}

}  // namespace

void feed(Terminal& t, const uint8_t* bytes, size_t count) {
    const uint8_t* p = bytes;
    const uint8_t* const end = bytes + count;
    PenCache pen;
    while (p < end) {
        switch (t.displayMode) {
        case kModeAnsi: p = feedAnsi(t, pen, p, end); continue;
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
