#pragma once

#include "app/window_geometry.h"

#include <optional>
#include <string_view>
#include <vector>

namespace orvane {

// The rectangles of the monitors attached now.
std::vector<MonitorRect> monitorRects();

// The saved window rectangle ("%dx%d+%d+%d") when it can be applied: it reads
// as four numbers and overlaps a monitor attached now.
std::optional<WindowPlacement> savedPlacementToApply(std::wstring_view windowGeom);

}  // namespace orvane
