#include "ui/key_input.h"

#include <string_view>

namespace orvane {
namespace {

constexpr uint32_t kVkBack = 0x08;
constexpr uint32_t kVkTab = 0x09;
constexpr uint32_t kVkReturn = 0x0D;
constexpr uint32_t kVkEscape = 0x1B;
constexpr uint32_t kVkA = 0x41;
constexpr uint32_t kVkZ = 0x5A;

// Keys that send a fixed sequence whatever the mode.
struct KeySequence {
    uint32_t virtualKey;
    std::string_view bytes;
};
constexpr KeySequence kKeySequences[] = {
    {kVkBack, "\x08"},   {kVkTab, "\x09"},     {kVkEscape, "\x1b"},
    {0x23, "\x1b[F"},    {0x24, "\x1b[H"},     {0x25, "\x1b[D"},
    {0x26, "\x1b[A"},    {0x27, "\x1b[C"},     {0x28, "\x1b[B"},
};

InputResult sent(std::string_view bytes) {
    InputResult r;
    r.handled = true;
    r.repaint = true;
    r.bytes.assign(bytes.begin(), bytes.end());
    return r;
}

void cursorLeft(Terminal& t) {
    t.pendingWrap = 0;
    if (t.cursorCol > 0) --t.cursorCol;
}

void echoNewLine(Terminal& t) {
    t.pendingWrap = 0;
    t.cursorCol = 0;
    index(t);
    t.dirty = 1;
}

// Rubs out the echoed character left of the cursor: back, blank, back.
void echoRubout(Terminal& t) {
    if (t.cursorCol > 0) cursorLeft(t);
    putGlyph(t, u' ');
    if (t.cursorCol > 0) cursorLeft(t);
    t.dirty = 1;
}

void echoUnit(Terminal& t, char16_t unit) {
    putGlyph(t, unit);
    t.dirty = 1;
}

// Enter in line mode: the line as bytes (beyond ASCII as '?'), then the terminator.
InputResult sendLine(Terminal& t) {
    InputResult r = sent(t.lineTerminator);
    std::vector<uint8_t> line;
    line.reserve(t.lineBuffer.size() + r.bytes.size());
    for (char16_t unit : t.lineBuffer) line.push_back(unit < 0x80 ? uint8_t(unit) : uint8_t('?'));
    r.bytes.insert(r.bytes.begin(), line.begin(), line.end());
    t.lineBuffer.clear();
    if (t.localEcho) echoNewLine(t);
    return r;
}

InputResult eraseLast(Terminal& t) {
    InputResult r = sent({});
    if (t.lineBuffer.empty()) return r;
    t.lineBuffer.pop_back();
    if (t.localEcho) echoRubout(t);
    return r;
}

// Ctrl with a letter gives its control code. With Alt held too it is AltGr,
// whose character arrives as WM_CHAR.
InputResult translateCommonKey(const Terminal& t, Keystroke key) {
    if (key.ctrl && !key.alt && key.virtualKey >= kVkA && key.virtualKey <= kVkZ) {
        const char code = char(key.virtualKey - 0x40);
        return sent(std::string_view(&code, 1));
    }
    if (key.virtualKey == kVkReturn) return sent(t.lineTerminator);
    for (const KeySequence& k : kKeySequences) {
        if (k.virtualKey == key.virtualKey) return sent(k.bytes);
    }
    return {};
}

}  // namespace

InputResult translateKey(Terminal& t, bool sessionOpen, Keystroke key) {
    if (!sessionOpen) return {};
    if (t.lineMode && key.virtualKey == kVkReturn) return sendLine(t);
    if (t.lineMode && key.virtualKey == kVkBack) return eraseLast(t);
    return translateCommonKey(t, key);
}

InputResult translateChar(Terminal& t, bool sessionOpen, char16_t unit) {
    if (!sessionOpen || unit < 0x20) return {};
    InputResult r;
    if (t.lineMode) {
        r = sent({});
        if (t.lineBuffer.size() >= kLineBufferLimit) {
            r.beep = true;
            r.repaint = false;
            return r;
        }
        t.lineBuffer.push_back(unit);
    } else {
        if (unit >= 0x80) return {};
        const char byte = char(unit);
        r = sent(std::string_view(&byte, 1));
    }
    if (t.localEcho) echoUnit(t, unit);
    return r;
}

void setLineMode(Terminal& t, bool on) {
    t.lineMode = on ? 1 : 0;
    if (!on) t.lineBuffer.clear();
}

}  // namespace orvane
