#pragma once

#include "transport/serial_params.h"

#include <windows.h>

#include <cstdint>

namespace orvane {

// Puts baud rate and framing into a DCB the driver reported, switches off
// hardware-driven DTR and RTS (the program drives them) and sets binary
// mode; every other field, flow control included, stays as it was.
void applyLineSettings(DCB& dcb, uint32_t baud, const LineFraming& framing);

// A read returns when its buffer is full, 1 ms after the line goes quiet,
// or after 10 ms in all; a write gives up after 1 s.
COMMTIMEOUTS serialTimeouts();

// Reads the port's DCB, applies the line settings and the timeouts. Returns
// null, or the text of the step that failed.
const wchar_t* configurePort(HANDLE port, uint32_t baud, const LineFraming& framing);

}  // namespace orvane
