#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pictel/decoded_image_cache.h"
#include "pictel/glass_layer.h"
#include "pictel/media_platform.h"
#include "terminal/cell.h"
#include "terminal/palette.h"

namespace orvane {

// Values of Terminal::parserState.
enum ParserState : int32_t {
    kGround = 0,
    kEscape = 1,
    kCsiParam = 2,
    kCsiIntermediate = 3,
    kDesignate = 4,
    kApcString = 5,
    kApcEscape = 6,
    kOscString = 7,
    kOscEscape = 8,
};

// Values of Terminal::displayMode.
enum DisplayMode : int32_t { kModeAnsi = 0, kModeAscii = 1, kModeHex = 2 };

// Values of Terminal::charset.
enum Charset : int32_t { kCharsetAscii = 0, kCharsetDecGraphics = 1 };

// Longest OSC string kept; the byte past it discards the string.
inline constexpr size_t kOscLimit = 4096;
// Longest APC (Pictel) string kept: room for a large inline image.
inline constexpr size_t kApcLimit = 0x2000000;
// Parameters kept per CSI sequence. Real sequences use a handful; the cap
// stops a device streaming ";" from growing memory without bound.
inline constexpr size_t kMaxCsiParams = 1024;

// A measurement bracket set by the device, taken by the receive pump.
struct StatMark {
    int32_t kind = 0;  // 0 none, 1 start, 2 mark, 3 stop
    std::string label;
    int32_t gridColumns = 0;
    int32_t gridRows = 0;
};

struct CellPos {
    int32_t row = 0;
    int32_t col = 0;
    friend bool operator==(const CellPos&, const CellPos&) = default;
};

// The one terminal: grid, cursor, pen, modes, parser and the presentation
// state other subsystems read. Touched only by the user-interface thread.
struct Terminal {
    Terminal();

    // Screen model.
    int32_t cols = 80;
    int32_t rows = 25;
    std::vector<Row> grid;
    int32_t cursorRow = 0;
    int32_t cursorCol = 0;
    int32_t savedRow = 0;
    int32_t savedCol = 0;
    uint8_t cursorVisible = 1;
    int32_t cursorStyle = 0;  // 0 block, 1 outline, 2 double underline
    uint8_t cursorBlink = 1;
    std::vector<bool> tabStops;
    int32_t scrollTop = 0;
    int32_t scrollBottom = 24;
    uint8_t autoWrap = 1;
    uint8_t originMode = 0;
    uint8_t altScreen = 0;
    std::vector<Row> savedMainRows;
    int32_t altSavedRow = 0;
    int32_t altSavedCol = 0;

    // The pen: what the next glyph is written with.
    uint8_t penFg = 7;
    uint8_t penBg = 0;
    uint8_t penBold = 0;
    uint8_t penUnderline = 0;
    uint8_t penReverse = 0;
    uint8_t penDim = 0;
    uint8_t penItalic = 0;
    uint8_t penBlink = 0;
    uint8_t penStrike = 0;
    uint8_t penFgDirect = 0;
    uint8_t penBgDirect = 0;
    uint32_t penFgRgb = 0;
    uint32_t penBgRgb = 0;

    uint8_t blinkPhase = 1;
    int32_t charset = kCharsetAscii;
    uint8_t pendingWrap = 0;
    uint64_t layerGeneration = 0;

    // Parser.
    int32_t parserState = kGround;
    std::vector<uint32_t> params;
    uint32_t paramValue = 0;
    uint8_t paramEmpty = 1;
    uint8_t privateMark = 0;
    uint16_t prefix = 0;
    uint16_t intermediate = 0;
    std::string oscText;
    std::string apcText;
    std::vector<uint8_t> replies;

    int32_t displayMode = kModeAnsi;
    const Palette* palette = &kVgaPalette;

    // Repaint and bell.
    uint8_t dirty = 1;
    uint8_t bellPending = 0;
    uint32_t bellFlashUntil = 0;

    // Selection.
    uint8_t selecting = 0;
    uint8_t selectionPresent = 0;
    CellPos selectionAnchor;
    CellPos selectionCaret;

    // Keyboard input.
    uint8_t localEcho = 0;
    uint8_t lineMode = 0;
    std::u16string lineBuffer;
    std::string lineTerminator = "\r";

    // Pictel: canvases and placements under the text, and the statistics
    // marker a device set last.
    GlassLayer glass;
    StatMark statMark;

    // Media: inline transfers, media cache, repository, sounds.
    bool mediaCacheEnabled = true;
    bool mediaRepoEnabled = true;
    bool soundsEnabled = true;
    // Full folder paths without a trailing backslash; empty when not located.
    std::wstring mediaCacheDir;
    std::wstring mediaRepoDir;
    DecodedImageCache decodedImages;
    MediaPlatform* mediaPlatform = nullptr;  // files, decoder, player; none without a window
    // (end of media)

    // Presentation read by the window layer.
    uint8_t fontValid = 0;  // the renderer re-fits its font when clear
    uint8_t geometryChanged = 0;
    uint8_t autoScroll = 1;

    // Notice box over the grid (slim mode): the text and the tick it ends
    // at, 0 for none. Set by the main window, drawn by the renderer.
    std::u16string noticeText;
    uint32_t noticeUntil = 0;
};

// Grid operations (screen model).
void setGeometry(Terminal& t, int32_t cols, int32_t rows);
void resizeGrid(Terminal& t);
void putGlyph(Terminal& t, char16_t ch);
void putText(Terminal& t, const char16_t* text);
void index(Terminal& t);
void reverseIndex(Terminal& t);
void scrollUp(Terminal& t);
void scrollDown(Terminal& t);
void setCursor(Terminal& t, int32_t row, int32_t col);
void eraseInDisplay(Terminal& t, int32_t mode);
void eraseInLine(Terminal& t, int32_t mode);
void eraseChars(Terminal& t, int32_t count);
void insertChars(Terminal& t, int32_t count);
void deleteChars(Terminal& t, int32_t count);
void insertLines(Terminal& t, int32_t count);
void deleteLines(Terminal& t, int32_t count);
void resetTabStops(Terminal& t);
void nextTabStop(Terminal& t);
void previousTabStop(Terminal& t);
void setTabStopAtCursor(Terminal& t, bool on);
void setAltScreen(Terminal& t, bool on, bool withCursor);
void fullReset(Terminal& t);
void clearScreen(Terminal& t);
void setCursorStyle(Terminal& t, const std::string& style);
void setCursorBlink(Terminal& t, bool on);

// The cell a glyph written now would get (pen with reverse video applied),
// and the blank that erasing fills with (the same colours, no attributes).
Cell penCell(const Terminal& t, char16_t ch);
Cell eraseBlank(const Terminal& t);

// Parser.
void feedByte(Terminal& t, uint8_t byte);
void abortSequence(Terminal& t);
void dispatchCsi(Terminal& t, uint8_t finalByte);
void applySgr(Terminal& t, const std::vector<uint32_t>& params);
bool takeReplies(Terminal& t, std::vector<uint8_t>& out);

// Feeds bytes from p (at least one) one at a time until the parser is back
// in Ground, enters an APC string, or the bytes run out.
const uint8_t* feedSequenceRun(Terminal& t, const uint8_t* p, const uint8_t* end);

// Bytes Ground writes as glyphs: everything but C0 controls and DEL.
inline bool isPrintableByte(uint8_t b) { return b >= 0x20 && b != 0x7F; }

// Byte feed and display modes.
void feed(Terminal& t, const uint8_t* bytes, size_t count);
void setDisplayMode(Terminal& t, const std::string& mode);

// Palettes.
void setPalette(Terminal& t, const std::string& name);

}  // namespace orvane
