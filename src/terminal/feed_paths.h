#pragma once

// The fast paths of the ANSI feed and what they share with the byte
// machine. Internal to the terminal; each path leaves the terminal exactly
// as feeding the same bytes one at a time through feedByte would.
#include <cstdint>

#include "terminal/cell_fill.h"
#include "terminal/terminal.h"

namespace orvane {

inline constexpr uint8_t kEsc = 0x1B;
inline constexpr uint8_t kBel = 0x07;
inline constexpr uint8_t kBs = 0x08;
inline constexpr uint8_t kHt = 0x09;
inline constexpr uint8_t kLf = 0x0A;
inline constexpr uint8_t kCr = 0x0D;
inline constexpr uint8_t kDel = 0x7F;

// The cell the pen writes, kept for one feed call and rebuilt only after
// something may have changed the pen.
class PenCache {
public:
    const Cell& cell(const Terminal& t) {
        if (!valid_) {
            cell_ = penCell(t, u' ');
            valid_ = true;
        }
        return cell_;
    }

    void forget() { valid_ = false; }

private:
    Cell cell_;
    bool valid_ = false;
};

// What Ground does with a C0 control other than ESC; `lineFeed` is the row
// step of LF (the byte machine indexes, a text run may defer the scroll).
template <typename LineFeed>
void groundControl(Terminal& t, uint8_t b, LineFeed lineFeed) {
    t.pendingWrap = 0;
    switch (b) {
    case kBel: t.bellPending = 1; break;
    case kBs:
        if (t.cursorCol >= 1) --t.cursorCol;
        break;
    case kHt: nextTabStop(t); break;
    case kLf: lineFeed(); break;
    case kCr: t.cursorCol = 0; break;
    default: break;
    }
}

// Ground-state bytes from p up to the next ESC or the end: text and
// controls in one loop. The parser must be in Ground.
const uint8_t* feedGroundRun(Terminal& t, PenCache& pen, const uint8_t* p, const uint8_t* end);

// A whole CSI sequence of the common form (ESC [, an optional "?", digits
// and ";", a final byte) at p, dispatched in one go. Returns the byte after
// it, or nullptr when the bytes there are left to the byte machine (another
// form, or a sequence that is cut off). The parser must be in Ground.
const uint8_t* feedWholeCsi(Terminal& t, const uint8_t* p, const uint8_t* end, uint8_t& finalByte);

}  // namespace orvane
