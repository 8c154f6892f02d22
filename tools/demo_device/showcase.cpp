#include "showcase.h"

#include <cmath>
#include <string_view>

#include "ansi.h"
#include "demo_picture.h"
#include "pictel_writer.h"
#include "png_writer.h"

namespace orvane::demo {

namespace {

constexpr int kColumns = 80;
constexpr int kLabelWidth = 8;
constexpr int kPanelRows = 12;
constexpr int kBoxWidth = 26;
constexpr int kShapesColumn = 27;  // 0-based first column of the shapes placement
constexpr int kShapesWidth = 27;
constexpr int kPictureColumn = 55;
constexpr int kPictureWidth = 25;
constexpr int kShapesPixelsWide = 240;
constexpr int kShapesPixelsHigh = 192;
constexpr uint32_t kPicturePixelsWide = 128;
constexpr uint32_t kPicturePixelsHigh = 100;
constexpr size_t kChunkChars = 4096;
// Cells and canvas pixels of this colour let the glass show through. An odd
// shade nothing else on the screen uses.
constexpr Rgb kKey{1, 2, 3};

// Code page 437 bytes.
constexpr char kUpperHalf = char(0xDF);

std::string padded(std::string_view text, size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

std::string label(std::string_view text) { return sgr({2}) + padded(text, kLabelWidth) + sgrReset(); }

std::string titleRow() {
    return sgr({1, 97}) + backgroundRgb({24, 52, 112}) + " Orvane demo device" + sgr({22, 93}) +
           "   colours, line drawing, code page 437 and Pictel" + eraseToLineEnd() + sgrReset() +
           kCrLf;
}

std::string basicColourRow(int first) {
    static constexpr const char* kNames[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
    std::string out = label(first == 0 ? " 0-7" : " 8-15");
    for (int i = 0; i < 8; ++i) {
        const int index = first + i;
        const bool darkSwatch = index == 0 || index == 1 || index == 4 || index == 5 || index == 8;
        const int background = index < 8 ? 40 + index : 100 + index - 8;
        const std::string name = kNames[i];
        const size_t left = (9 - name.size()) / 2;
        out += sgr({background, darkSwatch ? 97 : 30}) + padded(std::string(left, ' ') + name, 9);
    }
    return out + sgrReset() + kCrLf;
}

// The 6 x 6 x 6 cube in three rows of two red levels each, then the greys.
std::string paletteRows() {
    std::string out;
    for (int row = 0; row < 3; ++row) {
        out += label(row == 0 ? " 256" : "");
        for (int red = 2 * row; red < 2 * row + 2; ++red)
            for (int green = 0; green < 6; ++green)
                for (int blue = 0; blue < 6; ++blue) out += csi('m', {48, 5, 16 + 36 * red + 6 * green + blue}) + " ";
        out += sgrReset() + kCrLf;
    }
    out += label(" greys");
    for (int grey = 232; grey < 256; ++grey) out += csi('m', {48, 5, grey}) + "   ";
    return out + sgrReset() + kCrLf;
}

Rgb hue(double h, double brightness) {
    const auto channel = [&](double offset) {
        const double v = 0.5 + 0.5 * std::cos(2 * 3.14159265358979 * (h - offset));
        return uint8_t(std::lround(255 * brightness * v));
    };
    return {channel(0.0), channel(1.0 / 3), channel(2.0 / 3)};
}

// Two gradients per row: the upper half block takes the top one as its
// foreground and the lower one as its background.
std::string gradientRows() {
    constexpr int kCells = kColumns - kLabelWidth;
    std::string out = label(" 24-bit");
    for (int x = 0; x < kCells; ++x) {
        const double h = double(x) / kCells;
        out += foregroundRgb(hue(h, 1.0)) + backgroundRgb(hue(h, 0.45)) + kUpperHalf;
    }
    out += sgrReset() + kCrLf + label("");
    for (int x = 0; x < kCells; ++x) {
        const uint8_t level = uint8_t(x * 255 / (kCells - 1));
        out += foregroundRgb({level, level, level}) + backgroundRgb({level, uint8_t(96), uint8_t(255 - level)}) +
               kUpperHalf;
    }
    return out + sgrReset() + kCrLf;
}

std::string attributeRow() {
    const std::pair<int, const char*> kAttributes[] = {{1, "bold"},  {2, "dim"},       {3, "italic"},
                                                       {4, "underline"}, {5, "blink"}, {7, "reverse"},
                                                       {9, "strike"}};
    std::string out = label(" attrs");
    for (const auto& [code, name] : kAttributes) out += sgr({code}) + name + sgrReset() + " ";
    return out + sgr({1, 4, 96}) + "bold+underline" + sgrReset() + kCrLf;
}

// One row of a box: the left character, the middle filled to the width, the right one.
std::string boxRow(std::string_view left, std::string_view middle, char filler, std::string_view right,
                   size_t middleWidth) {
    std::string row(left);
    row += middle;
    row.append(middleWidth > middle.size() ? middleWidth - middle.size() : 0, filler);
    return row + std::string(right);
}

// DEC special graphics: lower-case letters and a few symbols become line
// pieces after ESC ( 0; text inside goes back to ASCII with ESC ( B.
std::string decBoxRow(int index) {
    const std::string on = "\x1b(0";
    const std::string off = "\x1b(B";
    const size_t inner = kBoxWidth - 2;
    switch (index) {
        case 0: return on + "lqq" + off + " DEC special graphics " + on + "k" + off;
        case 1: return on + boxRow("x", " ` a f g y z { | } ~", ' ', "x", inner) + off;
        case 2: return on + "t" + std::string(11, 'q') + "w" + std::string(12, 'q') + "u" + off;
        case 3: return on + "x" + off + " ESC ( 0   " + on + "x" + off + " ESC ( B    " + on + "x" + off;
        case 4: return on + "x" + off + " lines on  " + on + "x" + off + " text again " + on + "x" + off;
        default: return on + "m" + std::string(11, 'q') + "v" + std::string(12, 'q') + "j" + off;
    }
}

// Code page 437: double lines, shades, blocks, accented letters and symbols.
std::string cp437BoxRow(int index) {
    const size_t inner = kBoxWidth - 2;
    const char h = char(0xCD);
    const std::string v(1, char(0xBA));
    switch (index) {
        case 0: return boxRow("\xC9\xCD\xCD", " Code page 437 ", h, "\xBB", inner - 2);
        case 1: return boxRow(v, " \xB0\xB0\xB1\xB1\xB2\xB2\xDB\xDB \xDC\xDF \xDD\xDE \xFE \xF9", ' ', v, inner);
        case 2: return boxRow(v, " \x80\x81\x82\x83\x84\x85\x86 \xA4 \xE1 \xE6 \xAB \xAC", ' ', v, inner);
        case 3: return boxRow("\xCC", "", h, "\xB9", inner);
        case 4: return boxRow(v, " \xE3 \xE4 \xEA \xF1 \xF2 \xF3 \xF6 \xF8 \xFB \xFD \xEC", ' ', v, inner);
        default: return boxRow("\xC8", "", h, "\xBC", inner);
    }
}

std::string shapesCanvas() {
    using namespace pictel;
    constexpr int id = kShapesCanvas;
    std::string out = createCanvas(id, kShapesPixelsWide, kShapesPixelsHigh);
    out += noFill() + stroke({90, 90, 130}) + rectangle(id, 1, 1, kShapesPixelsWide - 2, kShapesPixelsHigh - 2, 2);
    out += fill({220, 60, 40}) + stroke({255, 220, 200}) + rectangle(id, 14, 16, 84, 56, 2);
    out += fill({30, 140, 255}) + stroke({255, 255, 255}) + circle(id, 176, 56, 38, 3);
    out += fill({50, 190, 90}) + stroke({20, 100, 50}) + ellipse(id, 66, 140, 52, 30, 3);
    // A fan of lines in rainbow colours, thicker towards the outside.
    constexpr int kFan = 7;
    for (int k = 0; k < kFan; ++k) {
        const double angle = 3.14159265358979 * (0.05 + 0.9 * k / (kFan - 1));
        const int x = 178 + int(std::lround(56 * std::cos(angle)));
        const int y = 178 - int(std::lround(56 * std::sin(angle)));
        out += stroke(hue(double(k) / kFan, 1.0)) + line(id, 178, 178, x, y, 1 + k % 3);
    }
    out += fill({255, 210, 0}) + stroke({60, 40, 0}) + arrow(id, 118, 84, 44, 7, 2);
    return out;
}

std::string pictureTransfer() {
    const std::string png = encodePng(mandelbrotPicture(kPicturePixelsWide, kPicturePixelsHigh));
    return pictel::inlineImage(kPictureCanvas, png, "png", kChunkChars);
}

// Rows topRow .. topRow + 11 (1-based): the two boxes on the left, key-coloured
// cells on the right where the glass shows the shapes and the picture.
std::string graphicsPanel(int topRow) {
    std::string out = pictel::keyColour(kKey) + shapesCanvas() + pictureTransfer();
    for (int i = 0; i < kPanelRows; ++i) {
        out += moveTo(topRow + i, 1);
        out += i < 6 ? sgr({96}) + decBoxRow(i) : sgr({93}) + cp437BoxRow(i - 6);
        out += sgrReset() + " " + backgroundRgb(kKey) + std::string(kColumns - kShapesColumn, ' ') + sgrReset();
    }
    out += pictel::place(kShapesCanvas, topRow - 1, kShapesColumn, kShapesWidth);
    out += pictel::place(kPictureCanvas, topRow - 1, kPictureColumn, kPictureWidth);
    return out;
}

std::string hintRow(int row) {
    return moveTo(row, 1) + sgr({2}) + "Commands: " + sgrReset() + sgr({1}) +
           "help colours graphics clock flood N bell quit" + sgrReset();
}

}  // namespace

std::string colourLines() {
    return basicColourRow(0) + basicColourRow(8) + paletteRows() + gradientRows() + attributeRow();
}

std::string showcaseScreen() {
    constexpr int kPanelTop = 12;
    std::string out = clearScreen() + pictel::resetGlass() + titleRow() + colourLines();
    out += graphicsPanel(kPanelTop) + hintRow(kPanelTop + kPanelRows) + moveTo(25, 1);
    return out;
}

std::string graphicsPage() {
    constexpr int kPanelTop = 3;
    std::string out = clearScreen() + pictel::resetGlass() + titleRow();
    out += graphicsPanel(kPanelTop) + hintRow(kPanelTop + kPanelRows + 1) + moveTo(kPanelTop + kPanelRows + 3, 1);
    return out;
}

std::string hideGlass() { return pictel::showAll(false); }

}  // namespace orvane::demo
