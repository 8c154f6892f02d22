#include "ansi.h"

namespace orvane::demo {

std::string csi(char finalByte, std::initializer_list<int> params, const char* marker) {
    std::string out = "\x1b[";
    out += marker;
    bool first = true;
    for (const int p : params) {
        if (!first) out += ';';
        out += std::to_string(p);
        first = false;
    }
    out += finalByte;
    return out;
}

std::string sgr(std::initializer_list<int> params) { return csi('m', params); }
std::string sgrReset() { return "\x1b[0m"; }
std::string foregroundRgb(Rgb c) { return csi('m', {38, 2, c.r, c.g, c.b}); }
std::string backgroundRgb(Rgb c) { return csi('m', {48, 2, c.r, c.g, c.b}); }
std::string moveTo(int row, int col) { return csi('H', {row, col}); }
std::string clearScreen() { return "\x1b[0m\x1b[2J\x1b[H"; }
std::string eraseToLineEnd() { return "\x1b[K"; }

}  // namespace orvane::demo
