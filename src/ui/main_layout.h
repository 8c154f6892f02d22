#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Layout numbers are pixels at 96 DPI; the window scales them by its own DPI.
inline constexpr uint32_t kLayoutDpi = 96;
// Height of the three toolbar rows above the terminal.
inline constexpr int32_t kToolbarHeight = 110;
// Gap between the terminal window and the main window's edges.
inline constexpr int32_t kTerminalMargin = 8;
// Smallest main window in normal mode: all toolbar controls stay usable.
inline constexpr int32_t kMinTrackWidth = 950;
inline constexpr int32_t kMinTrackHeight = 420;
// Smallest slim-mode window height (its width minimum is the normal one plus the frame).
inline constexpr int32_t kMinSlimHeight = 64;
// The grid's margin on each side inside the terminal window, twice.
inline constexpr int32_t kGridMargins = 6;

struct LayoutSize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const LayoutSize&, const LayoutSize&) = default;
};

struct LayoutRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// One toolbar control: its id and where it goes.
struct ControlPlace {
    int32_t id = 0;
    LayoutRect rect;
};

inline constexpr size_t kToolbarControlCount = 35;
using ToolbarLayout = std::array<ControlPlace, kToolbarControlCount>;

// Width of the baud box for client width w (96 DPI).
int32_t baudBoxWidth(int32_t w);
// Left edge of the baud box's neighbourhood: the port box and Refresh end there.
int32_t portAnchor(int32_t w);
// Every toolbar control for client width w and toolbar top t, at 96 DPI.
// Combo-box heights include the drop-down list.
ToolbarLayout toolbarLayout(int32_t w, int32_t t);

// v pixels at 96 DPI in pixels at dpi, rounded to nearest (exact at 96).
int32_t scaleToDpi(int32_t v, uint32_t dpi);
LayoutRect scaleRect(const LayoutRect& r, uint32_t dpi);
// The toolbar for a client width in device pixels at dpi.
ToolbarLayout scaledToolbarLayout(int32_t clientWidth, uint32_t dpi);
// The terminal window's rectangle below the toolbar, above the status bar;
// its height is at least 1.
LayoutRect terminalRect(int32_t clientWidth, int32_t clientHeight, int32_t statusHeight, uint32_t dpi);
LayoutSize minTrackSize(uint32_t dpi);

// A cell size in pixels.
struct CellSize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const CellSize&, const CellSize&) = default;
};
// The smallest terminal size that shows the grid at the font size a
// candidate terminal size gives (the renderer's snug size).
using SnugGrid = std::function<LayoutSize(LayoutSize candidate)>;

struct SnapInput {
    LayoutSize window;    // outer window size now
    LayoutSize terminal;  // terminal window size now
    CellSize cell;        // current cell size; zero when none was fitted yet
    int32_t cols = 80;
    int32_t rows = 25;
    bool minimised = false;
    bool maximised = false;
    bool slim = false;
    int32_t slimFrameWidth = 0;  // slim style's non-client width
    uint32_t dpi = kLayoutDpi;
};
// The outer window size that hugs the grid, or nothing when snapping is
// skipped. Snapping only ever shrinks the terminal part of the window.
std::optional<LayoutSize> snapWindowSize(const SnapInput& in, const SnugGrid& snugGrid);

// The four grid sizes of the Terminal menu.
struct GridSize {
    int32_t cols = 0;
    int32_t rows = 0;
    friend bool operator==(const GridSize&, const GridSize&) = default;
};
inline constexpr int32_t kFirstGridCommand = 2020;
// "80x24", "80x25", "132x24", "132x25"; anything else is no size.
std::optional<GridSize> gridSizeFromName(std::wstring_view name);
// The menu command to mark for a grid size; a size not in the menu marks the last.
int32_t gridMenuCommand(GridSize size);
std::wstring gridSizeName(GridSize size);

// Saved window geometry "%dx%d+%d+%d": width x height + left + top.
struct WindowGeom {
    int32_t width = 0;
    int32_t height = 0;
    int32_t left = 0;
    int32_t top = 0;
    friend bool operator==(const WindowGeom&, const WindowGeom&) = default;
};
std::wstring formatWindowGeom(const WindowGeom& geom);

}  // namespace orvane
