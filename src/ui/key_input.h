#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "terminal/terminal.h"

namespace orvane {

// Longest pending line in line mode, in UTF-16 code units. More typing beeps
// and is dropped, so a stuck key cannot grow memory without bound.
inline constexpr size_t kLineBufferLimit = 65536;

// A key press as the terminal window sees it. Shift plays no part.
struct Keystroke {
    uint32_t virtualKey = 0;
    bool ctrl = false;
    bool alt = false;
};

// What the window does with a key or a character.
struct InputResult {
    bool handled = false;        // false: default window handling
    std::vector<uint8_t> bytes;  // written to the session in one call when not empty
    bool repaint = false;
    bool beep = false;
};

// WM_KEYDOWN after the shortcuts.
InputResult translateKey(Terminal& t, bool sessionOpen, Keystroke key);

// WM_CHAR with one UTF-16 code unit.
InputResult translateChar(Terminal& t, bool sessionOpen, char16_t unit);

// The input mode switch; leaving line mode discards the pending line.
void setLineMode(Terminal& t, bool on);

}  // namespace orvane
