#include "app/window_geometry.h"

#include "app/number_text.h"

#include <algorithm>

namespace orvane {

namespace {

// Reads numbers and separators one after the other, as scanf does.
class FieldReader {
public:
    explicit FieldReader(std::wstring_view source) : text(source) {}

    bool number(int& value) {
        const NumberText read = readNumber(text);
        if (!read.hasDigits) return false;
        value = read.value;
        text.remove_prefix(read.consumed);
        return true;
    }

    bool separator(wchar_t expected) {
        if (text.empty() || text.front() != expected) return false;
        text.remove_prefix(1);
        return true;
    }

private:
    std::wstring_view text;
};

}  // namespace

std::optional<WindowSize> parseWindowSize(std::wstring_view text) {
    FieldReader reader(text);
    WindowSize size;
    if (reader.number(size.width) && reader.separator(L'x') && reader.number(size.height)) return size;
    return std::nullopt;
}

std::optional<WindowPlacement> parseWindowGeom(std::wstring_view text) {
    FieldReader reader(text);
    WindowPlacement place;
    if (reader.number(place.width) && reader.separator(L'x') && reader.number(place.height) &&
        reader.separator(L'+') && reader.number(place.left) && reader.separator(L'+') && reader.number(place.top)) {
        return place;
    }
    return std::nullopt;
}

bool liesOnAMonitor(const WindowPlacement& window, std::span<const MonitorRect> monitors) {
    if (window.width < 1 || window.height < 1) return false;
    // In 64 bits: a saturated left plus a large width must not wrap.
    const long long left = window.left;
    const long long top = window.top;
    const long long right = left + window.width;
    const long long bottom = top + window.height;
    return std::any_of(monitors.begin(), monitors.end(), [&](const MonitorRect& monitor) {
        return std::max<long long>(left, monitor.left) < std::min<long long>(right, monitor.right) &&
               std::max<long long>(top, monitor.top) < std::min<long long>(bottom, monitor.bottom);
    });
}

}  // namespace orvane
