#include "terminal_invariants.h"

#include <cstddef>
#include <cstdint>

namespace orvane {
namespace {

// Colours are 0x00BBGGRR: nothing may sit in the top byte.
constexpr uint32_t kRgbMask = 0x00FFFFFFu;
constexpr uint8_t kPaletteSize = 16;

bool within(int64_t value, int64_t low, int64_t high) {
    return value >= low && value <= high;
}

bool isFlag(uint8_t value) { return value <= 1; }

std::string outside(const char* name, int64_t value, int64_t low, int64_t high) {
    return std::string(name) + " " + std::to_string(value) + " outside " +
           std::to_string(low) + ".." + std::to_string(high);
}

std::string wrongSize(const std::string& what, size_t actual, int32_t expected) {
    return what + " has " + std::to_string(actual) + " entries, expected " +
           std::to_string(expected);
}

std::string checkShape(const std::vector<Row>& rows, const char* name, const Terminal& t) {
    if (rows.size() != static_cast<size_t>(t.rows)) {
        return wrongSize(name, rows.size(), t.rows);
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].size() != static_cast<size_t>(t.cols)) {
            return wrongSize(std::string(name) + " row " + std::to_string(r), rows[r].size(),
                             t.cols);
        }
    }
    return {};
}

std::string checkGeometry(const Terminal& t) {
    if (t.cols != 80 && t.cols != 132) {
        return "cols " + std::to_string(t.cols) + " is neither 80 nor 132";
    }
    if (t.rows != 24 && t.rows != 25) {
        return "rows " + std::to_string(t.rows) + " is neither 24 nor 25";
    }
    if (t.tabStops.size() != static_cast<size_t>(t.cols)) {
        return wrongSize("tabStops", t.tabStops.size(), t.cols);
    }
    return checkShape(t.grid, "grid", t);
}

std::string checkCursorAndRegion(const Terminal& t) {
    if (!within(t.cursorRow, 0, t.rows - 1)) return outside("cursorRow", t.cursorRow, 0, t.rows - 1);
    if (!within(t.cursorCol, 0, t.cols - 1)) return outside("cursorCol", t.cursorCol, 0, t.cols - 1);
    if (!within(t.scrollTop, 0, t.rows - 2)) return outside("scrollTop", t.scrollTop, 0, t.rows - 2);
    if (!within(t.scrollBottom, t.scrollTop + 1, t.rows - 1)) {
        return outside("scrollBottom", t.scrollBottom, t.scrollTop + 1, t.rows - 1);
    }
    return {};
}

std::string checkAltScreen(const Terminal& t) {
    if (!isFlag(t.altScreen)) return outside("altScreen", t.altScreen, 0, 1);
    if (t.altScreen == 0) {
        if (t.savedMainRows.empty()) return {};
        return wrongSize("savedMainRows on the main screen", t.savedMainRows.size(), 0);
    }
    // Every resize leaves the alternate screen, so the saved copy always
    // matches the current shape while it is shown.
    return checkShape(t.savedMainRows, "savedMainRows", t);
}

std::string checkModes(const Terminal& t) {
    if (!within(t.displayMode, kModeAnsi, kModeHex)) {
        return outside("displayMode", t.displayMode, kModeAnsi, kModeHex);
    }
    if (!within(t.charset, kCharsetAscii, kCharsetDecGraphics)) {
        return outside("charset", t.charset, kCharsetAscii, kCharsetDecGraphics);
    }
    if (!isFlag(t.autoWrap)) return outside("autoWrap", t.autoWrap, 0, 1);
    if (!isFlag(t.originMode)) return outside("originMode", t.originMode, 0, 1);
    if (!isFlag(t.cursorVisible)) return outside("cursorVisible", t.cursorVisible, 0, 1);
    if (!isFlag(t.pendingWrap)) return outside("pendingWrap", t.pendingWrap, 0, 1);
    return {};
}

std::string checkPen(const Terminal& t) {
    if (t.penFg >= kPaletteSize) return outside("penFg", t.penFg, 0, kPaletteSize - 1);
    if (t.penBg >= kPaletteSize) return outside("penBg", t.penBg, 0, kPaletteSize - 1);
    if (t.penFgRgb > kRgbMask) return "penFgRgb " + std::to_string(t.penFgRgb) + " has a top byte";
    if (t.penBgRgb > kRgbMask) return "penBgRgb " + std::to_string(t.penBgRgb) + " has a top byte";
    return {};
}

bool cellIsSound(const Cell& c) {
    return c.fg < kPaletteSize && c.bg < kPaletteSize && isFlag(c.bold) &&
           isFlag(c.underline) && isFlag(c.dim) && isFlag(c.italic) && isFlag(c.blink) &&
           isFlag(c.strike) && isFlag(c.fgDirect) && isFlag(c.bgDirect) &&
           c.fgRgb <= kRgbMask && c.bgRgb <= kRgbMask;
}

std::string checkCells(const std::vector<Row>& rows, const char* name) {
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            if (cellIsSound(rows[r][c])) continue;
            const Cell& bad = rows[r][c];
            return std::string(name) + " cell (" + std::to_string(r) + ", " +
                   std::to_string(c) + ") is malformed: fg " + std::to_string(bad.fg) +
                   " bg " + std::to_string(bad.bg);
        }
    }
    return {};
}

bool isKnownPrefix(uint16_t prefix) {
    return prefix == 0 || prefix == '?' || prefix == '=' || prefix == '<' || prefix == '>';
}

std::string checkParser(const Terminal& t) {
    if (!within(t.parserState, kGround, kOscEscape)) {
        return outside("parserState", t.parserState, kGround, kOscEscape);
    }
    if (t.params.size() > kMaxCsiParams) {
        return "params holds " + std::to_string(t.params.size()) + " values, limit " +
               std::to_string(kMaxCsiParams);
    }
    if (t.oscText.size() > kOscLimit) {
        return "oscText holds " + std::to_string(t.oscText.size()) + " bytes, limit " +
               std::to_string(kOscLimit);
    }
    if (t.apcText.size() > kApcLimit) {
        return "apcText holds " + std::to_string(t.apcText.size()) + " bytes, limit " +
               std::to_string(kApcLimit);
    }
    if (!isFlag(t.paramEmpty)) return outside("paramEmpty", t.paramEmpty, 0, 1);
    if (!isKnownPrefix(t.prefix)) return "prefix " + std::to_string(t.prefix) + " is unknown";
    // "?" is the only prefix that also sets the private mark.
    if ((t.privateMark != 0) != (t.prefix == '?')) {
        return "privateMark " + std::to_string(t.privateMark) + " disagrees with prefix " +
               std::to_string(t.prefix);
    }
    if (t.intermediate != 0 && !within(t.intermediate, 0x20, 0x2F)) {
        return outside("intermediate", t.intermediate, 0x20, 0x2F);
    }
    return {};
}

}  // namespace

std::string findInvariantViolation(const Terminal& t) {
    // Shape first: the later checks index the grid by rows and cols.
    for (auto check : {checkGeometry, checkCursorAndRegion, checkAltScreen, checkModes, checkPen,
                       checkParser}) {
        std::string violation = check(t);
        if (!violation.empty()) return violation;
    }
    std::string violation = checkCells(t.grid, "grid");
    if (violation.empty()) violation = checkCells(t.savedMainRows, "savedMainRows");
    return violation;
}

std::string findStateDifference(const Terminal& a, const Terminal& b) {
    std::string difference;
    auto compare = [&]<typename Field>(const char* name, Field Terminal::*field) {
        if (difference.empty() && !(a.*field == b.*field)) difference = name;
    };
    compare("cols", &Terminal::cols);
    compare("rows", &Terminal::rows);
    compare("grid", &Terminal::grid);
    compare("cursorRow", &Terminal::cursorRow);
    compare("cursorCol", &Terminal::cursorCol);
    compare("savedRow", &Terminal::savedRow);
    compare("savedCol", &Terminal::savedCol);
    compare("cursorVisible", &Terminal::cursorVisible);
    compare("tabStops", &Terminal::tabStops);
    compare("scrollTop", &Terminal::scrollTop);
    compare("scrollBottom", &Terminal::scrollBottom);
    compare("autoWrap", &Terminal::autoWrap);
    compare("originMode", &Terminal::originMode);
    compare("altScreen", &Terminal::altScreen);
    compare("savedMainRows", &Terminal::savedMainRows);
    compare("altSavedRow", &Terminal::altSavedRow);
    compare("altSavedCol", &Terminal::altSavedCol);
    compare("penFg", &Terminal::penFg);
    compare("penBg", &Terminal::penBg);
    compare("penBold", &Terminal::penBold);
    compare("penUnderline", &Terminal::penUnderline);
    compare("penReverse", &Terminal::penReverse);
    compare("penDim", &Terminal::penDim);
    compare("penItalic", &Terminal::penItalic);
    compare("penBlink", &Terminal::penBlink);
    compare("penStrike", &Terminal::penStrike);
    compare("penFgDirect", &Terminal::penFgDirect);
    compare("penBgDirect", &Terminal::penBgDirect);
    compare("penFgRgb", &Terminal::penFgRgb);
    compare("penBgRgb", &Terminal::penBgRgb);
    compare("charset", &Terminal::charset);
    compare("pendingWrap", &Terminal::pendingWrap);
    compare("layerGeneration", &Terminal::layerGeneration);
    compare("parserState", &Terminal::parserState);
    compare("params", &Terminal::params);
    compare("paramValue", &Terminal::paramValue);
    compare("paramEmpty", &Terminal::paramEmpty);
    compare("privateMark", &Terminal::privateMark);
    compare("prefix", &Terminal::prefix);
    compare("intermediate", &Terminal::intermediate);
    compare("oscText", &Terminal::oscText);
    compare("apcText", &Terminal::apcText);
    compare("replies", &Terminal::replies);
    compare("displayMode", &Terminal::displayMode);
    compare("dirty", &Terminal::dirty);
    compare("bellPending", &Terminal::bellPending);
    compare("geometryChanged", &Terminal::geometryChanged);
    compare("lineBuffer", &Terminal::lineBuffer);
    return difference;
}

}  // namespace orvane
