// The showcase and the Pictel transfers, read by the real terminal core.
#include <gtest/gtest.h>

#include "demo_picture.h"
#include "encoding.h"
#include "pictel/base64.h"
#include "pictel/crc32.h"
#include "pictel_writer.h"
#include "png_writer.h"
#include "shell.h"
#include "showcase.h"
#include "terminal_probe.h"

namespace orvane::demo::testing {
namespace {

std::string reply(int code, int id, int value) {
    return "\x1b[=" + std::to_string(code) + ";" + std::to_string(id) + ";" + std::to_string(value) + "w";
}

// What the terminal answers to an offered transfer of chunkCount chunks that arrived intact.
std::string offeredTransferReplies(int id, size_t chunkCount) {
    std::string out = reply(2, id, 0);
    for (size_t n = 1; n < chunkCount; ++n) out += reply(3, id, int(n));
    return out + reply(4, id, 0);
}

size_t chunksFor(size_t fileBytes, size_t chunkChars) {
    const size_t text = (fileBytes + 2) / 3 * 4;
    return (text + chunkChars - 1) / chunkChars;
}

TEST(Showcase, FillsOneScreenWithoutScrolling) {
    Screen s;
    s.feed(DemoShell().greet());
    const Terminal& t = s.terminal;
    EXPECT_EQ(t.parserState, kGround);
    EXPECT_TRUE(t.apcText.empty());
    EXPECT_EQ(t.charset, kCharsetAscii);
    EXPECT_EQ(s.rowText(0).rfind(" Orvane demo device", 0), 0u);
    EXPECT_NE(s.rowText(1).find("black"), std::string::npos);
    EXPECT_NE(s.rowText(9).find("bold dim italic underline blink reverse strike"), std::string::npos);
    EXPECT_NE(s.rowText(23).find("help colours graphics clock flood N bell quit"), std::string::npos);
    EXPECT_EQ(s.rowText(24), "demo> " + std::string(74, ' '));
    EXPECT_EQ((CellPos{t.cursorRow, t.cursorCol}), (CellPos{24, 6}));
}

TEST(Showcase, ColoursAttributesAndCharacterSets) {
    Screen s;
    s.feed(DemoShell().greet());
    const auto& g = s.terminal.grid;
    EXPECT_EQ(g[1][8].bg, 0);
    EXPECT_EQ(g[2][8 + 9 * 7].bg, 15);
    EXPECT_TRUE(g[3][8 + 35].bgDirect);  // cube index 51: no red, full green and blue
    EXPECT_EQ(g[3][8 + 35].bgRgb, 0xFFFF00u);
    EXPECT_EQ(g[6][8 + 3 * 23].bgRgb, 0xEEEEEEu);  // the last grey, 238
    EXPECT_EQ(g[7][8].ch, u'\u2580');
    EXPECT_TRUE(g[7][8].fgDirect && g[7][8].bgDirect);
    EXPECT_EQ(g[7][8].fgRgb, 0x4040FFu);  // the rainbow starts at red

    const std::pair<int, uint8_t Cell::*> attributes[] = {
        {8, &Cell::bold}, {13, &Cell::dim}, {17, &Cell::italic}, {24, &Cell::underline},
        {34, &Cell::blink}, {48, &Cell::strike},
    };
    for (const auto& [col, flag] : attributes) EXPECT_EQ(g[9][size_t(col)].*flag, 1) << col;
    EXPECT_EQ(g[9][40].bg, 7);  // reverse swaps the pen's colours

    const std::pair<CellPos, char16_t> glyphs[] = {
        {{11, 0}, u'\u250C'}, {{11, 25}, u'\u2510'}, {{12, 2}, u'\u25C6'}, {{12, 4}, u'\u2592'},
        {{13, 12}, u'\u252C'}, {{16, 0}, u'\u2514'}, {{17, 0}, u'\u2554'}, {{17, 25}, u'\u2557'},
        {{18, 2}, u'\u2591'}, {{18, 9}, u'\u2588'}, {{19, 2}, u'\u00C7'}, {{20, 0}, u'\u2560'},
        {{21, 2}, u'\u03C0'}, {{22, 25}, u'\u255D'},
    };
    for (const auto& [at, ch] : glyphs) EXPECT_EQ(g[size_t(at.row)][size_t(at.col)].ch, ch) << at.row << "," << at.col;
    EXPECT_EQ(g[14][2].ch, u'E');  // text inside the line-drawing box is back in ASCII
}

TEST(Showcase, ShapesAndPictureOnTheGlass) {
    Screen s;
    s.feed(DemoShell().greet());
    const Terminal& t = s.terminal;
    const GlassLayer& glass = t.glass;
    ASSERT_EQ(glass.canvases.size(), 2u);
    ASSERT_TRUE(glass.keyColourSet);
    EXPECT_EQ(glass.canvasBackground, 0x030201u);

    const Canvas& shapes = glass.canvases.at(kShapesCanvas);
    ASSERT_EQ(shapes.width, 240);
    ASSERT_EQ(shapes.height, 192);
    const std::pair<CellPos, uint32_t> pixels[] = {
        {{56, 176}, 0xFF1E8CFF},   // circle fill
        {{40, 50}, 0xFFDC3C28},    // rectangle fill
        {{140, 66}, 0xFF32BE5A},   // ellipse fill
        {{100, 5}, 0xFF010203},    // untouched: the key colour, so transparent
        {{1, 100}, 0xFF5A5A82},    // frame
    };
    for (const auto& [at, argb] : pixels) EXPECT_EQ(shapes.at(at.col, at.row), argb) << at.col << "," << at.row;

    // The picture arrived whole: the terminal checked its length and CRC-32.
    ASSERT_EQ(s.decoder.files.size(), 1u);
    const std::string png = encodePng(mandelbrotPicture(128, 100));
    EXPECT_EQ(s.decoder.files[0], png);
    EXPECT_EQ(s.takeReplies(), offeredTransferReplies(kPictureCanvas, chunksFor(png.size(), 4096)));
    EXPECT_EQ(glass.canvases.at(kPictureCanvas).width, 128);

    ASSERT_EQ(glass.placements.size(), 2u);
    const std::tuple<int32_t, int32_t, int32_t> expected[] = {std::tuple(kShapesCanvas, 27, 27),
                                                             std::tuple(kPictureCanvas, 55, 25)};
    for (size_t i = 0; i < 2; ++i) {
        const Placement& p = glass.placements[i];
        EXPECT_EQ(std::tuple(p.canvasId, p.col, p.widthCells), expected[i]);
        EXPECT_EQ(p.row, 11);
        EXPECT_TRUE(p.visible);
    }
    // The cells over the pictures let them show through.
    for (const CellPos at : {CellPos{11, 27}, CellPos{22, 79}, CellPos{16, 54}}) {
        const Cell& c = t.grid[size_t(at.row)][size_t(at.col)];
        EXPECT_TRUE(c.bgDirect && c.bgRgb == glass.canvasBackground) << at.row << "," << at.col;
    }
}

TEST(InlineImage, ChunkedTransfersAreAcknowledgedAndStored) {
    const std::string png = encodePng(mandelbrotPicture(7, 5));
    for (const size_t chunkChars : {size_t(1), size_t(7), size_t(64), size_t(100000)}) {
        Screen s;
        s.feed(pictel::inlineImage(9, png, "png", chunkChars));
        EXPECT_EQ(s.takeReplies(), offeredTransferReplies(9, chunksFor(png.size(), chunkChars))) << chunkChars;
        ASSERT_EQ(s.decoder.files.size(), 1u);
        EXPECT_EQ(s.decoder.files[0], png);
        EXPECT_EQ(s.terminal.glass.canvases.count(9), 1u);
    }
}

// The PNG, read back by hand: chunk CRCs, the stored deflate blocks, Adler-32,
// filter bytes and pixels.
RgbImage readStoredPng(const std::string& png) {
    const auto big32 = [&](size_t at) {
        return uint32_t(uint8_t(png[at])) << 24 | uint32_t(uint8_t(png[at + 1])) << 16 |
               uint32_t(uint8_t(png[at + 2])) << 8 | uint8_t(png[at + 3]);
    };
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n"));
    RgbImage image;
    std::string zlib;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = big32(at);
        const std::string type = png.substr(at + 4, 4);
        const auto* typed = reinterpret_cast<const uint8_t*>(png.data() + at + 4);
        EXPECT_EQ(big32(at + 8 + length), orvane::crc32(typed, length + 4)) << type;
        if (type == "IHDR") {
            image.width = big32(at + 8);
            image.height = big32(at + 12);
            EXPECT_EQ(png.substr(at + 16, 5), std::string("\x08\x02\x00\x00\x00", 5));
        } else if (type == "IDAT") {
            zlib += png.substr(at + 8, length);
        }
        at += 12 + length;
    }
    EXPECT_EQ((uint8_t(zlib[0]) * 256 + uint8_t(zlib[1])) % 31, 0);
    std::string raw;
    size_t at = 2;
    for (bool last = false; !last && at + 5 <= zlib.size();) {
        last = zlib[at] & 1;
        const size_t n = uint8_t(zlib[at + 1]) | size_t(uint8_t(zlib[at + 2])) << 8;
        EXPECT_EQ(n ^ (uint8_t(zlib[at + 3]) | size_t(uint8_t(zlib[at + 4])) << 8), 0xFFFFu);
        raw += zlib.substr(at + 5, n);
        at += 5 + n;
    }
    uint32_t a = 1, b = 0;
    for (const char c : raw) a = (a + uint8_t(c)) % 65521, b = (b + a) % 65521;
    EXPECT_EQ(zlib.substr(at), std::string({char(b >> 8), char(b), char(a >> 8), char(a)}));
    const size_t stride = size_t(image.width) * 3 + 1;
    EXPECT_EQ(raw.size(), stride * image.height);
    for (size_t y = 0; y < image.height && (y + 1) * stride <= raw.size(); ++y) {
        EXPECT_EQ(raw[y * stride], 0);
        image.pixels += raw.substr(y * stride + 1, stride - 1);
    }
    return image;
}

TEST(PngWriter, StoredBlocksDecodeToThePixels) {
    // 200 x 120 needs two stored blocks.
    for (const auto& [w, h] : {std::pair(1u, 1u), std::pair(3u, 2u), std::pair(200u, 120u)}) {
        const RgbImage picture = mandelbrotPicture(w, h);
        const RgbImage back = readStoredPng(encodePng(picture));
        EXPECT_EQ(std::tuple(back.width, back.height), std::tuple(w, h));
        EXPECT_TRUE(back.pixels == picture.pixels) << w << "x" << h;
    }
}

TEST(Encoding, Base64AndCrcAgreeWithTheTerminal) {
    EXPECT_EQ(encodeBase64("Man"), "TWFu");
    EXPECT_EQ(encodeBase64("Ma"), "TWE=");
    EXPECT_EQ(encodeBase64("M"), "TQ==");
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
    std::string bytes;
    for (int n = 1; n <= 8; ++n) {
        bytes.push_back(char(n % 2 ? 0xFF - n : n * 37));
        std::vector<uint8_t> decoded;
        ASSERT_TRUE(decodeBase64(encodeBase64(bytes), decoded)) << n;
        EXPECT_EQ(std::string(decoded.begin(), decoded.end()), bytes);
        EXPECT_EQ(crc32(bytes), orvane::crc32(decoded.data(), decoded.size()));
    }
}

}  // namespace
}  // namespace orvane::demo::testing
