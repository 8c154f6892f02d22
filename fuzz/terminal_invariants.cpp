#include "terminal_invariants.h"

#include <algorithm>
#include <cstdint>

namespace orvane {

namespace {

// Colours are 0x00BBGGRR: nothing may sit in the top byte.
constexpr uint32_t kRgbMask = 0x00FFFFFFu;
constexpr uint8_t kPaletteSize = 16;

// Keeps the first rule found broken.
struct Rules {
    std::string broken;
    void require(bool holds, const char* rule) {
        if (broken.empty() && !holds) broken = rule;
    }
};

bool within(int64_t value, int64_t low, int64_t high) { return value >= low && value <= high; }

bool isFlag(uint8_t value) { return value <= 1; }

bool hasGridShape(const std::vector<Row>& rows, const Terminal& t) {
    return rows.size() == size_t(t.rows) &&
           std::all_of(rows.begin(), rows.end(), [&](const Row& r) { return r.size() == size_t(t.cols); });
}

bool cellIsSound(const Cell& c) {
    return c.fg < kPaletteSize && c.bg < kPaletteSize && isFlag(c.bold) && isFlag(c.underline) &&
           isFlag(c.dim) && isFlag(c.italic) && isFlag(c.blink) && isFlag(c.strike) && isFlag(c.fgDirect) &&
           isFlag(c.bgDirect) && c.fgRgb <= kRgbMask && c.bgRgb <= kRgbMask;
}

bool cellsAreSound(const std::vector<Row>& rows) {
    return std::all_of(rows.begin(), rows.end(),
                       [](const Row& r) { return std::all_of(r.begin(), r.end(), cellIsSound); });
}

void checkScreen(const Terminal& t, Rules& r) {
    r.require(within(t.cursorRow, 0, t.rows - 1) && within(t.cursorCol, 0, t.cols - 1), "cursor outside the grid");
    r.require(within(t.scrollTop, 0, t.rows - 2), "scrollTop outside 0..rows-2");
    r.require(within(t.scrollBottom, t.scrollTop + 1, t.rows - 1), "scrollBottom outside scrollTop+1..rows-1");
    // Every resize leaves the alternate screen, so a saved copy always has the current shape.
    r.require(t.altScreen ? hasGridShape(t.savedMainRows, t) : t.savedMainRows.empty(),
              "saved main screen does not match the alternate-screen flag or the grid");
    r.require(within(t.displayMode, kModeAnsi, kModeHex), "displayMode unknown");
    r.require(within(t.charset, kCharsetAscii, kCharsetDecGraphics), "charset unknown");
    r.require(isFlag(t.altScreen) && isFlag(t.autoWrap) && isFlag(t.originMode) && isFlag(t.cursorVisible) &&
                  isFlag(t.pendingWrap),
              "a mode flag is neither 0 nor 1");
    r.require(t.penFg < kPaletteSize && t.penBg < kPaletteSize, "pen colour index outside the palette");
    r.require(t.penFgRgb <= kRgbMask && t.penBgRgb <= kRgbMask, "pen direct colour has a top byte");
    r.require(cellsAreSound(t.grid) && cellsAreSound(t.savedMainRows), "a cell is malformed");
}

void checkParser(const Terminal& t, Rules& r) {
    r.require(within(t.parserState, kGround, kOscEscape), "parserState unknown");
    r.require(t.params.size() <= kMaxCsiParams, "too many CSI parameters kept");
    r.require(t.oscText.size() <= kOscLimit && t.apcText.size() <= kApcLimit, "string past its limit");
    r.require(isFlag(t.paramEmpty), "paramEmpty is neither 0 nor 1");
    const uint16_t p = t.prefix;
    r.require(p == 0 || p == '?' || p == '=' || p == '<' || p == '>', "prefix unknown");
    // "?" is the only prefix that also sets the private mark.
    r.require((t.privateMark != 0) == (p == '?'), "privateMark disagrees with the prefix");
    r.require(t.intermediate == 0 || within(t.intermediate, 0x20, 0x2F), "intermediate outside 0x20..0x2F");
}

}  // namespace

std::string findInvariantViolation(const Terminal& t) {
    Rules r;
    r.require((t.cols == 80 || t.cols == 132) && (t.rows == 24 || t.rows == 25), "geometry is not a grid size");
    r.require(t.tabStops.size() == size_t(t.cols), "tab stops do not match the columns");
    r.require(hasGridShape(t.grid, t), "grid does not have rows x cols cells");
    // The other rules index the grid by rows and cols.
    if (!r.broken.empty()) return r.broken;
    checkScreen(t, r);
    checkParser(t, r);
    return r.broken;
}

std::string findStateDifference(const Terminal& a, const Terminal& b) {
    std::string difference;
    auto compare = [&]<typename Field>(const char* name, Field Terminal::*field) {
        if (difference.empty() && !(a.*field == b.*field)) difference = name;
    };
#define ORVANE_COMPARE(f) compare(#f, &Terminal::f)
    ORVANE_COMPARE(cols); ORVANE_COMPARE(rows); ORVANE_COMPARE(grid); ORVANE_COMPARE(cursorRow);
    ORVANE_COMPARE(cursorCol); ORVANE_COMPARE(savedRow); ORVANE_COMPARE(savedCol); ORVANE_COMPARE(cursorVisible);
    ORVANE_COMPARE(tabStops); ORVANE_COMPARE(scrollTop); ORVANE_COMPARE(scrollBottom); ORVANE_COMPARE(autoWrap);
    ORVANE_COMPARE(originMode); ORVANE_COMPARE(altScreen); ORVANE_COMPARE(savedMainRows);
    ORVANE_COMPARE(altSavedRow); ORVANE_COMPARE(altSavedCol); ORVANE_COMPARE(penFg); ORVANE_COMPARE(penBg);
    ORVANE_COMPARE(penBold); ORVANE_COMPARE(penUnderline); ORVANE_COMPARE(penReverse); ORVANE_COMPARE(penDim);
    ORVANE_COMPARE(penItalic); ORVANE_COMPARE(penBlink); ORVANE_COMPARE(penStrike); ORVANE_COMPARE(penFgDirect);
    ORVANE_COMPARE(penBgDirect); ORVANE_COMPARE(penFgRgb); ORVANE_COMPARE(penBgRgb); ORVANE_COMPARE(charset);
    ORVANE_COMPARE(pendingWrap); ORVANE_COMPARE(layerGeneration); ORVANE_COMPARE(parserState);
    ORVANE_COMPARE(params); ORVANE_COMPARE(paramValue); ORVANE_COMPARE(paramEmpty); ORVANE_COMPARE(privateMark);
    ORVANE_COMPARE(prefix); ORVANE_COMPARE(intermediate); ORVANE_COMPARE(oscText); ORVANE_COMPARE(apcText);
    ORVANE_COMPARE(replies); ORVANE_COMPARE(displayMode); ORVANE_COMPARE(dirty); ORVANE_COMPARE(bellPending);
    ORVANE_COMPARE(geometryChanged); ORVANE_COMPARE(lineBuffer);
#undef ORVANE_COMPARE
    return difference;
}

void feedByteMachine(Terminal& t, const uint8_t* bytes, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        const uint8_t b = bytes[i];
        if (t.displayMode != kModeAnsi) {
            feed(t, &b, 1);
            continue;
        }
        if (t.parserState != kApcString || b == 0x1B || b == 0x07 || t.apcText.size() >= kApcLimit) t.dirty = 1;
        feedByte(t, b);
    }
}

}  // namespace orvane
