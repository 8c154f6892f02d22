#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "render/win32/gdi_paint_host.h"
#include "render/win32/dib_section.h"
#include "terminal/terminal.h"

namespace orvane::testing {

// A window stand-in: a memory context with a DIB section the paint goes to.
struct PaintTarget {
    PaintTarget(int32_t width, int32_t height);
    Colour pixel(int32_t x, int32_t y) const;  // as 0x00BBGGRR
    DibSection dib;
    MemoryContext context;
    RECT rect;
};

// A terminal of cols x rows with its renderer, fed and painted for tests.
struct PaintedTerminal {
    PaintedTerminal(int32_t cols, int32_t rows, int32_t width, int32_t height);
    void feedText(const std::string& bytes);
    PaintOutcome paint(bool fastPathAllowed = true);
    // Back buffer pixel as 0x00BBGGRR.
    Colour pixel(int32_t x, int32_t y) const;
    GridLayout layout() const;

    Terminal t;
    GdiRenderer renderer{t};
    PaintTarget target;
    HDC windowDc = nullptr;  // when set, frames go to this window instead of target
};

}  // namespace orvane::testing
