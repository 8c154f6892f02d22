#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "ansi.h"

// The device side of the Pictel protocol: numeric commands as CSI "="
// sequences, data transfers as APC strings beginning with "G".
namespace orvane::demo::pictel {

std::string command(char finalByte, std::initializer_list<int> params);
std::string apc(std::string_view body);

std::string resetGlass();
// Canvas pixels of this colour and cells with it as background show what lies beneath.
std::string keyColour(Rgb c);
std::string createCanvas(int id, int width, int height);
// Top-left corner at a 0-based grid row and column, widthCells columns wide.
std::string place(int id, int row, int col, int widthCells);
std::string showAll(bool visible);
std::string fill(Rgb c);
std::string noFill();
std::string stroke(Rgb c);

std::string rectangle(int id, int x, int y, int w, int h, int thickness);
std::string circle(int id, int cx, int cy, int r, int thickness);
std::string ellipse(int id, int cx, int cy, int rx, int ry, int thickness);
std::string line(int id, int x1, int y1, int x2, int y2, int thickness);
// Pointer glyphs: angle in steps of 45 degrees clockwise.
std::string arrow(int id, int x, int y, int size, int angle, int thickness);
std::string hand(int id, int x, int y, int size, int angle, int thickness);

// An offered inline transfer: the offer (CRC-32 and length), then the
// base64 text in chunks of at most chunkChars, the last one marked final.
// The terminal acknowledges each chunk and reports the result.
std::string inlineImage(int id, std::string_view fileBytes, std::string_view format, size_t chunkChars);

}  // namespace orvane::demo::pictel
