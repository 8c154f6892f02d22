#include "demo_picture.h"

namespace orvane::demo {

namespace {

constexpr int kMaxIterations = 64;

int escapeTime(double cr, double ci) {
    double zr = 0;
    double zi = 0;
    for (int n = 0; n < kMaxIterations; ++n) {
        const double r2 = zr * zr;
        const double i2 = zi * zi;
        if (r2 + i2 > 4.0) return n;
        zi = 2 * zr * zi + ci;
        zr = r2 - i2 + cr;
    }
    return kMaxIterations;
}

// Deep blue far outside, through cyan and pale green near the edge, dark inside.
void shade(int n, char* rgb) {
    if (n >= kMaxIterations) {
        rgb[0] = char(40), rgb[1] = char(24), rgb[2] = char(0);
        return;
    }
    const double t = double(n) / kMaxIterations;
    const auto channel = [t](double a, double b, double c) {
        const double v = a * (1 - t) * (1 - t) + b * 2 * t * (1 - t) + c * t * t;
        return char(uint8_t(v < 0 ? 0 : v > 255 ? 255 : v));
    };
    rgb[0] = channel(10, 40, 255);
    rgb[1] = channel(10, 160, 220);
    rgb[2] = channel(60, 255, 120);
}

}  // namespace

RgbImage mandelbrotPicture(uint32_t width, uint32_t height) {
    RgbImage image{width, height, std::string(size_t(width) * height * 3, '\0')};
    // The whole set with a little room around it: -2.2..1.0 by -1.25..1.25.
    const double xStep = 3.2 / width;
    const double yStep = 2.5 / height;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const int n = escapeTime(-2.2 + x * xStep, -1.25 + y * yStep);
            shade(n, &image.pixels[(size_t(y) * width + x) * 3]);
        }
    }
    return image;
}

}  // namespace orvane::demo
