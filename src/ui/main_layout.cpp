#include "ui/main_layout.h"

#include <algorithm>

namespace orvane {

namespace {

// Below this much room the baud box keeps its narrowest width.
constexpr int32_t kBaudGrowThreshold = 91;
// Cell size used for snapping before any font was fitted.
constexpr CellSize kDefaultCell{8, 16};
// Below this the terminal window is not worth snapping to.
constexpr int32_t kMinSnapTerminal = 16;

constexpr GridSize kMenuGrids[] = {{80, 24}, {80, 25}, {132, 24}, {132, 25}};

LayoutRect at(int32_t x, int32_t y, int32_t width, int32_t height) { return {x, y, width, height}; }

LayoutSize gridExtent(CellSize cell, int32_t cols, int32_t rows) {
    return {cols * cell.width + kGridMargins, rows * cell.height + kGridMargins};
}

}  // namespace

int32_t baudBoxWidth(int32_t w) {
    const int32_t room = w - 530;
    return room >= kBaudGrowThreshold ? 80 + room / 3 : 80;
}

int32_t portAnchor(int32_t w) { return w - 234 - baudBoxWidth(w); }

ToolbarLayout toolbarLayout(int32_t w, int32_t t) {
    const int32_t b = baudBoxWidth(w);
    const int32_t p = portAnchor(w);
    const int32_t r1 = t + 8, r2 = t + 42, r3 = t + 76;
    return {{
        // Row 1: mode, serial or LAN link choices, connect, clear.
        {1035, at(8, r1, 64, 240)},
        {1001, at(80, t + 13, 34, 26)},
        {1002, at(118, r1, std::max(p - 216, 60), 240)},
        {1003, at(p - 90, r1, 74, 26)},
        {1004, at(p - 8, r1, b, 240)},
        {1005, at(w - 234, r1, 60, 240)},
        {1036, at(80, t + 13, 34, 20)},
        {1037, at(116, t + 10, std::max(w - 464, 60), 22)},
        {1038, at(w - 340, t + 13, 34, 20)},
        {1039, at(w - 304, t + 10, 58, 22)},
        {1040, at(w - 238, r1, 64, 200)},
        {1006, at(w - 166, r1, 90, 26)},
        {1008, at(w - 68, r1, 60, 26)},
        // Row 2: capture and playback.
        {1016, at(8, r2, 66, 26)},
        {1017, at(82, r2, 70, 26)},
        {1023, at(160, r2, 50, 26)},
        {1024, at(226, t + 47, 48, 20)},
        {1025, at(276, t + 44, 40, 22)},
        {1026, at(316, t + 44, 15, 22)},
        {1032, at(347, t + 47, 30, 20)},
        {1027, at(379, r2, 56, 200)},
        {1028, at(451, t + 47, 48, 20)},
        {1029, at(501, t + 44, 40, 22)},
        {1030, at(541, t + 44, 15, 22)},
        {1031, at(572, t + 47, std::max(w - 580, 40), 20)},
        // Row 3: screenshot on the left; input and display choices and the LED bar on the right.
        {1042, at(8, r3, 84, 26)},
        {1033, at(w - 830, t + 81, 38, 20)},
        {1010, at(w - 790, r3, 66, 240)},
        {1034, at(w - 716, t + 81, 62, 20)},
        {1011, at(w - 652, r3, 66, 240)},
        {1012, at(w - 578, t + 80, 55, 22)},
        {1013, at(w - 515, t + 80, 85, 22)},
        {1014, at(w - 422, r3, 74, 240)},
        {1015, at(w - 340, r3, 84, 240)},
        {1020, at(w - 248, r3, 240, 26)},
    }};
}

int32_t scaleToDpi(int32_t v, uint32_t dpi) {
    const int64_t scaled = int64_t{v} * dpi;
    const int64_t half = kLayoutDpi / 2;
    return static_cast<int32_t>(scaled >= 0 ? (scaled + half) / kLayoutDpi : -((-scaled + half) / kLayoutDpi));
}

LayoutRect scaleRect(const LayoutRect& r, uint32_t dpi) {
    // Scale the edges, not the sizes, so neighbours that touch at 96 DPI still touch.
    const int32_t left = scaleToDpi(r.x, dpi), top = scaleToDpi(r.y, dpi);
    return {left, top, scaleToDpi(r.x + r.width, dpi) - left, scaleToDpi(r.y + r.height, dpi) - top};
}

ToolbarLayout scaledToolbarLayout(int32_t clientWidth, uint32_t dpi) {
    if (dpi == 0) dpi = kLayoutDpi;
    const int32_t logicalWidth = static_cast<int32_t>(int64_t{clientWidth} * kLayoutDpi / dpi);
    ToolbarLayout layout = toolbarLayout(logicalWidth, 0);
    for (ControlPlace& place : layout) place.rect = scaleRect(place.rect, dpi);
    return layout;
}

LayoutRect terminalRect(int32_t clientWidth, int32_t clientHeight, int32_t statusHeight, uint32_t dpi) {
    const int32_t margin = scaleToDpi(kTerminalMargin, dpi);
    const int32_t top = scaleToDpi(kToolbarHeight, dpi);
    return {margin, top, std::max(clientWidth - 2 * margin, 1),
            std::max(clientHeight - top - statusHeight - margin, 1)};
}

LayoutSize minTrackSize(uint32_t dpi) { return {scaleToDpi(kMinTrackWidth, dpi), scaleToDpi(kMinTrackHeight, dpi)}; }

std::optional<LayoutSize> snapWindowSize(const SnapInput& in, const SnugGrid& snugGrid) {
    if (in.minimised || in.maximised) return std::nullopt;
    if (in.terminal.width < kMinSnapTerminal || in.terminal.height < kMinSnapTerminal) return std::nullopt;
    const CellSize cell = in.cell.width > 0 && in.cell.height > 0 ? in.cell : kDefaultCell;
    const LayoutSize grid = gridExtent(cell, in.cols, in.rows);
    const LayoutSize candidate{std::min(in.terminal.width, grid.width), std::min(grid.height, in.terminal.height)};
    const LayoutSize snug = snugGrid(candidate);
    LayoutSize out{std::min(in.terminal.width, snug.width) + in.window.width - in.terminal.width,
                   std::min(in.terminal.height, snug.height) + in.window.height - in.terminal.height};
    const LayoutSize minimum = minTrackSize(in.dpi);
    if (in.slim) {
        out.width = std::max(out.width, in.slimFrameWidth + minimum.width);
        out.height = std::max(out.height, scaleToDpi(kMinSlimHeight, in.dpi));
    } else {
        out.width = std::max(out.width, minimum.width);
        out.height = std::max(out.height, minimum.height);
    }
    return out;
}

std::optional<GridSize> gridSizeFromName(std::wstring_view name) {
    for (const GridSize& size : kMenuGrids) {
        if (name == gridSizeName(size)) return size;
    }
    return std::nullopt;
}

int32_t gridMenuCommand(GridSize size) {
    const auto found = std::find(std::begin(kMenuGrids), std::end(kMenuGrids), size);
    const auto index = found == std::end(kMenuGrids) ? std::size(kMenuGrids) - 1 : found - std::begin(kMenuGrids);
    return kFirstGridCommand + static_cast<int32_t>(index);
}

std::wstring gridSizeName(GridSize size) { return std::to_wstring(size.cols) + L"x" + std::to_wstring(size.rows); }

std::wstring formatWindowGeom(const WindowGeom& geom) {
    return std::to_wstring(geom.width) + L"x" + std::to_wstring(geom.height) + L"+" + std::to_wstring(geom.left) +
           L"+" + std::to_wstring(geom.top);
}

}  // namespace orvane
