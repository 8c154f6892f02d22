#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace orvane::demo {

inline constexpr char kEsc = '\x1b';
inline const std::string kCrLf = "\r\n";

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

// ESC [ p1 ; p2 ... final, with an optional private marker after the "[".
std::string csi(char finalByte, std::initializer_list<int> params, const char* marker = "");
// Select graphic rendition.
std::string sgr(std::initializer_list<int> params);
std::string sgrReset();
std::string foregroundRgb(Rgb c);
std::string backgroundRgb(Rgb c);
// Cursor to a 1-based row and column.
std::string moveTo(int row, int col);
std::string clearScreen();
std::string eraseToLineEnd();

}  // namespace orvane::demo
