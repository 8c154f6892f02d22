// Paint time per frame of the terminal window's renderer with GDI: a full
// re-render against the shortcuts (scroll by one line, two changed rows)
// and, with a background image and a glass placement, the under-text
// layers drawn afresh against their cached picture. Frames go to a memory
// bitmap and then to a 1600 x 900 window on the display.
//   paint_bench [--quick]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bench_main.h"
#include "win32/gdi_test_support.h"

namespace orvane::bench {
namespace {

using orvane::testing::PaintedTerminal;

constexpr int32_t kWidth = 1600;
constexpr int32_t kHeight = 900;

// A screen full of coloured text, as a busy device leaves it.
std::string colouredLine(int32_t cols, int n) {
    std::string s;
    for (int32_t c = 0; c < cols - 8; c += 8) {
        s += "\x1b[3" + std::to_string((n + c / 8) % 8) + "m" + std::to_string(100000 + n * 7 + c).substr(0, 7) + " ";
    }
    return s + "\x1b[0m";
}

void fillScreen(PaintedTerminal& p) {
    for (int32_t row = 0; row < p.t.rows; ++row) {
        p.feedText("\x1b[" + std::to_string(row + 1) + ";1H" + colouredLine(p.t.cols, row));
    }
}

double microseconds(LONGLONG ticks) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(ticks) * 1e6 / double(f.QuadPart);
}

enum class Change { kNone, kScroll, kTwoRows };

// Microseconds per paint, whole and by phase (under-text layers or the
// in-buffer scroll, rows, copy to the target and overlays).
struct PaintTime {
    double total = 0;
    double composite = 0;
    double render = 0;
    double blit = 0;
};

// Average per paint over frames, after one warm-up paint. Only the paint is
// timed; the bytes that change the screen are fed before.
PaintTime timePaints(PaintedTerminal& p, int frames, Change change, bool fastPaths, bool forceFull) {
    p.paint(fastPaths);
    LONGLONG total = 0;
    PhaseTicks phases;
    int fast = 0;
    for (int i = 0; i < frames; ++i) {
        if (change == Change::kScroll) p.feedText("\x1b[25;1H\r\n" + colouredLine(p.t.cols, i));
        if (change == Change::kTwoRows) {
            p.feedText("\x1b[5;10H" + std::to_string(i) + "\x1b[17;30H" + std::to_string(i * 3));
        }
        if (forceFull) invalidateShadow(p.renderer.cache);
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        const PaintOutcome outcome = p.paint(fastPaths);
        QueryPerformanceCounter(&b);
        total += b.QuadPart - a.QuadPart;
        fast += outcome.fast();
        phases.composite += outcome.ticks.composite;
        phases.render += outcome.ticks.render;
        phases.blit += outcome.ticks.blit;
    }
    if (change != Change::kNone && fast != frames) std::printf("  (only %d of %d paints took a shortcut)\n", fast, frames);
    return {microseconds(total) / frames, microseconds(phases.composite) / frames, microseconds(phases.render) / frames,
            microseconds(phases.blit) / frames};
}

void printTime(const char* what, const PaintTime& t) {
    std::printf("  %-28s %9.1f   (layers/scroll %7.1f, rows %7.1f, copy out %7.1f)\n", what, t.total, t.composite,
                t.render, t.blit);
}

// A 256 x 256 picture and a canvas placed over a third of the grid.
void addLayers(PaintedTerminal& p) {
    Canvas image;
    image.width = image.height = 256;
    image.valid = true;
    for (int i = 0; i < 256 * 256; ++i) image.pixels.push_back(0xFF000000u | uint32_t(i * 2654435761u >> 8));
    p.renderer.background.image = image;
    setBackgroundFit(p.t, p.renderer.background, "stretch");
    setBackgroundOpacity(p.t, p.renderer.background, 40);
    Canvas canvas = image;
    canvas.width = canvas.height = 128;
    canvas.pixels.resize(128 * 128);
    p.t.glass.canvases[1] = canvas;
    p.t.glass.placements = {{1, 5, 0, 10, 0, p.t.cols / 3, 0, true}};
    ++p.t.layerGeneration;
}

// A borderless top-level window of the paint size; null without a display.
HWND makeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OrvanePaintBench";
    RegisterClassW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"paint_bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                           kHeight, nullptr, nullptr, wc.hInstance, nullptr);
}

void benchGrid(int32_t cols, int frames, HDC window) {
    PaintedTerminal p(cols, 25, kWidth, kHeight);
    p.windowDc = window;
    fillScreen(p);
    const PaintTime full = timePaints(p, frames, Change::kNone, false, true);
    const PaintTime scroll = timePaints(p, frames, Change::kScroll, true, false);
    const PaintTime dirty = timePaints(p, frames, Change::kTwoRows, true, false);
    PaintedTerminal layered(cols, 25, kWidth, kHeight);
    layered.windowDc = window;
    fillScreen(layered);
    addLayers(layered);
    const PaintTime layersDirect = timePaints(layered, frames, Change::kNone, false, true);
    const PaintTime layersCached = timePaints(layered, frames, Change::kNone, true, true);
    std::printf("%dx25 in %dx%d to %s, cell %dx%d, %d frames each (microseconds per paint)\n", cols, kWidth,
                kHeight, window ? "a window" : "a memory bitmap", p.renderer.cache.cellWidth,
                p.renderer.cache.cellHeight, frames);
    printTime("full re-render", full);
    printTime("scroll by one line", scroll);
    printTime("two dirty rows", dirty);
    printTime("full, layers drawn afresh", layersDirect);
    printTime("full, layers from the cache", layersCached);
    std::printf("  ratios: full/scroll %.1fx, full/dirty rows %.1fx, layers afresh/cached %.1fx\n",
                full.total / scroll.total, full.total / dirty.total, layersDirect.total / layersCached.total);
}

int run(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const int frames = quick ? 5 : 200;
    for (int32_t cols : {80, 132}) benchGrid(cols, frames, nullptr);
    HWND window = makeWindow();
    if (!window) {
        std::printf("no window could be made: the window rows are left out\n");
        return 0;
    }
    HDC dc = GetDC(window);
    for (int32_t cols : {80, 132}) benchGrid(cols, frames, dc);
    ReleaseDC(window, dc);
    DestroyWindow(window);
    return 0;
}

}  // namespace
}  // namespace orvane::bench

int main(int argc, char** argv) { return orvane::bench::runReportingErrors("paint_bench", orvane::bench::run, argc, argv); }
