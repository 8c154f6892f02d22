#pragma once

#include "app/command_target.h"

#include <optional>
#include <span>
#include <string_view>

namespace orvane {

// A window rectangle as the settings keep it: "%dx%d+%d+%d", width x height
// + left + top.
struct WindowPlacement {
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// A monitor's rectangle in screen pixels, right and bottom exclusive.
struct MonitorRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// "WxH" read like "%dx%d"; text after the second number is ignored.
std::optional<WindowSize> parseWindowSize(std::wstring_view text);

// The saved window rectangle, read like "%dx%d+%d+%d".
std::optional<WindowPlacement> parseWindowGeom(std::wstring_view text);

// A saved rectangle is applied only when it has a size and overlaps one of
// the monitors, so a window is never restored where nobody can reach it.
bool liesOnAMonitor(const WindowPlacement& window, std::span<const MonitorRect> monitors);

}  // namespace orvane
