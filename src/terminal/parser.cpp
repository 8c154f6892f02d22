// The byte machine: one small function per state, each taking a byte and
// leaving the machine in its next state. Meaning lives in csi.cpp and the
// grid operations; this file is only grammar.
#include "pictel/pictel_hooks.h"
#include "terminal/charsets.h"
#include "terminal/feed_paths.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {


void ground(Terminal& t, uint8_t b) {
    if (b == kEsc) {
        t.pendingWrap = 0;
        t.parserState = kEscape;
    } else if (isPrintableByte(b)) {
        putGlyph(t, glyphTable(t.charset)[b]);
    } else if (b != kDel) {
        groundControl(t, b, [&] { index(t); });
    }
}

void beginCsi(Terminal& t) {
    t.params.clear();
    t.paramEmpty = 1;
    t.privateMark = 0;
    t.prefix = 0;
    t.paramValue = 0;
    t.intermediate = 0;
    t.parserState = kCsiParam;
}

void escape(Terminal& t, uint8_t b) {
    t.parserState = kGround;
    switch (b) {
    case '[': beginCsi(t); break;
    case ']':
        t.oscText.clear();
        t.parserState = kOscString;
        break;
    case '_':
        t.apcText.clear();
        t.parserState = kApcString;
        break;
    case '(': t.parserState = kDesignate; break;
    case 'c': fullReset(t); break;
    case 'D': index(t); break;
    case 'E':
        t.cursorCol = 0;
        index(t);
        break;
    case 'M': reverseIndex(t); break;
    case 'H': setTabStopAtCursor(t, true); break;
    case '7':
        t.savedRow = t.cursorRow;
        t.savedCol = t.cursorCol;
        break;
    case '8': setCursor(t, t.savedRow, t.savedCol); break;
    default: break;
    }
}

void designate(Terminal& t, uint8_t b) {
    t.charset = b == '0' ? kCharsetDecGraphics : kCharsetAscii;
    t.parserState = kGround;
}

void finishCsi(Terminal& t, uint8_t finalByte) {
    if (!(t.paramEmpty && !t.params.empty()) && t.params.size() < kMaxCsiParams) {
        t.params.push_back(t.paramValue);
    }
    t.parserState = kGround;
    dispatchCsi(t, finalByte);
}

bool atParamStart(const Terminal& t) { return t.params.empty() && t.paramEmpty; }

void csiPrefix(Terminal& t, uint8_t b) {
    const bool accepted = atParamStart(t) && (b == '?' || t.prefix == 0);
    if (!accepted) {
        abortSequence(t);
        return;
    }
    if (b == '?') t.privateMark = 1;
    t.prefix = b;
}

void csiParam(Terminal& t, uint8_t b) {
    if (b >= '0' && b <= '9') {
        t.paramValue = t.paramValue * 10u + uint32_t(b - '0');
        t.paramEmpty = 0;
    } else if (b == ';') {
        // Past the cap the parameters are read and dropped.
        if (t.params.size() < kMaxCsiParams) t.params.push_back(t.paramValue);
        t.paramEmpty = 1;
        t.paramValue = 0;
    } else if (b == '?' || b == '=' || b == '<' || b == '>') {
        csiPrefix(t, b);
    } else if (b >= 0x20 && b <= 0x2F) {
        t.intermediate = b;
        t.parserState = kCsiIntermediate;
    } else if (b >= 0x40 && b <= 0x7E) {
        finishCsi(t, b);
    } else {
        abortSequence(t);
    }
}

void csiIntermediate(Terminal& t, uint8_t b) {
    if (b >= 0x40 && b <= 0x7E) {
        finishCsi(t, b);
    } else if (b >= 0x20 && b <= 0x2F) {
        t.intermediate = b;
    } else {
        abortSequence(t);
    }
}

void endApc(Terminal& t) {
    dispatchPictelApc(t);
    t.apcText.clear();
    t.parserState = kGround;
}

void apcString(Terminal& t, uint8_t b) {
    if (b == kEsc) {
        t.parserState = kApcEscape;
    } else if (b == kBel) {
        endApc(t);
    } else if (t.apcText.size() < kApcLimit) {
        t.apcText.push_back(char(b));
    } else {
        abortSequence(t);
    }
}

void apcEscape(Terminal& t, uint8_t b) {
    if (b == '\\') {
        endApc(t);
    } else if (b != kEsc) {
        abortSequence(t);
    }
}

void endOsc(Terminal& t) {
    t.oscText.clear();
    t.parserState = kGround;
}

void oscString(Terminal& t, uint8_t b) {
    if (b == kEsc) {
        t.parserState = kOscEscape;
    } else if (b == kBel) {
        endOsc(t);
    } else if (t.oscText.size() < kOscLimit) {
        t.oscText.push_back(char(b));
    } else {
        t.oscText.clear();
        abortSequence(t);
    }
}

void oscEscape(Terminal& t, uint8_t b) {
    if (b == '\\') {
        endOsc(t);
    } else if (b != kEsc) {
        t.oscText.clear();
        abortSequence(t);
    }
}

}  // namespace

// A switch rather than a table of pointers: the state functions are inlined
// and parameter digits do not pay for an indirect call each.
void feedByte(Terminal& t, uint8_t byte) {
    switch (t.parserState) {
    case kGround: ground(t, byte); break;
    case kEscape: escape(t, byte); break;
    case kCsiParam: csiParam(t, byte); break;
    case kCsiIntermediate: csiIntermediate(t, byte); break;
    case kDesignate: designate(t, byte); break;
    case kApcString: apcString(t, byte); break;
    case kApcEscape: apcEscape(t, byte); break;
    case kOscString: oscString(t, byte); break;
    case kOscEscape: oscEscape(t, byte); break;
    default: abortSequence(t); break;
    }
}

const uint8_t* feedSequenceRun(Terminal& t, const uint8_t* p, const uint8_t* end) {
    do {
        feedByte(t, *p++);
    } while (p < end && t.parserState != kApcString && t.parserState != kGround);
    return p;
}

void abortSequence(Terminal& t) {
    t.parserState = kGround;
    t.params.clear();
    t.paramValue = 0;
    t.paramEmpty = 1;
    t.privateMark = 0;
    t.prefix = 0;
    t.intermediate = 0;
    t.apcText.clear();
}

bool takeReplies(Terminal& t, std::vector<uint8_t>& out) {
    if (t.replies.empty()) return false;
    out = std::move(t.replies);
    t.replies.clear();
    return true;
}

}  // namespace orvane
