#include "app/win32/window_placement.h"

#include <windows.h>

namespace orvane {

namespace {

BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT area, LPARAM found) {
    reinterpret_cast<std::vector<MonitorRect>*>(found)->push_back({area->left, area->top, area->right, area->bottom});
    return TRUE;
}

}  // namespace

std::vector<MonitorRect> monitorRects() {
    std::vector<MonitorRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

std::optional<WindowPlacement> savedPlacementToApply(std::wstring_view windowGeom) {
    const std::optional<WindowPlacement> placement = parseWindowGeom(windowGeom);
    if (!placement || !liesOnAMonitor(*placement, monitorRects())) return std::nullopt;
    return placement;
}

}  // namespace orvane
