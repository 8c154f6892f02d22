#include "pictel_writer.h"

#include <cstdio>

#include "encoding.h"

namespace orvane::demo::pictel {

std::string command(char finalByte, std::initializer_list<int> params) { return csi(finalByte, params, "="); }

std::string apc(std::string_view body) {
    std::string out = "\x1b_G";
    out += body;
    out += "\x1b\\";
    return out;
}

std::string resetGlass() { return command('Z', {}); }
std::string keyColour(Rgb c) { return command('T', {c.r, c.g, c.b}); }
std::string createCanvas(int id, int width, int height) { return command('I', {id, width, height}); }
std::string place(int id, int row, int col, int widthCells) { return command('D', {id, row, 0, col, 0, widthCells, 0}); }
std::string showAll(bool visible) { return command('S', {visible ? 1 : 0}); }
std::string fill(Rgb c) { return command('F', {c.r, c.g, c.b}); }
std::string noFill() { return command('F', {}); }
std::string stroke(Rgb c) { return command('R', {c.r, c.g, c.b}); }

std::string rectangle(int id, int x, int y, int w, int h, int thickness) {
    return command('B', {id, x, y, w, h, thickness});
}
std::string circle(int id, int cx, int cy, int r, int thickness) { return command('C', {id, cx, cy, r, thickness}); }
std::string ellipse(int id, int cx, int cy, int rx, int ry, int thickness) {
    return command('E', {id, cx, cy, rx, ry, thickness});
}
std::string line(int id, int x1, int y1, int x2, int y2, int thickness) {
    return command('L', {id, x1, y1, x2, y2, thickness});
}
std::string arrow(int id, int x, int y, int size, int angle, int thickness) {
    return command('M', {id, x, y, size, angle, thickness});
}
std::string hand(int id, int x, int y, int size, int angle, int thickness) {
    return command('N', {id, x, y, size, angle, thickness});
}

std::string inlineImage(int id, std::string_view fileBytes, std::string_view format, size_t chunkChars) {
    char offer[96];
    std::snprintf(offer, sizeof offer, "i=%d,op=off,crc=%08X,len=%zu,f=", id, unsigned(crc32(fileBytes)),
                  fileBytes.size());
    std::string out = apc(std::string(offer) + std::string(format));

    const std::string text = encodeBase64(fileBytes);
    const size_t step = chunkChars == 0 ? 1 : chunkChars;
    int chunk = 1;
    for (size_t at = 0; at < text.size(); at += step, ++chunk) {
        const bool last = at + step >= text.size();
        std::string keys = "i=" + std::to_string(id);
        if (at == 0) keys += ",f=" + std::string(format);  // starts a new transfer
        keys += last ? ",m=0" : ",m=1";
        keys += ",n=" + std::to_string(chunk);
        out += apc(keys + ";" + text.substr(at, step));
    }
    return out;
}

}  // namespace orvane::demo::pictel
