#include "transport/win32/serial_config.h"

namespace orvane {

namespace {

constexpr DWORD kReadIntervalMs = 1;
constexpr DWORD kReadTotalMs = 10;
constexpr DWORD kWriteTotalMs = 1000;

}  // namespace

void applyLineSettings(DCB& dcb, uint32_t baud, const LineFraming& framing) {
    dcb.BaudRate = baud;
    dcb.ByteSize = framing.byteSize;
    dcb.Parity = framing.parity;
    dcb.StopBits = framing.stopBits;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fBinary = TRUE;
}

COMMTIMEOUTS serialTimeouts() {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadIntervalMs;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kReadTotalMs;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = kWriteTotalMs;
    return timeouts;
}

const wchar_t* configurePort(HANDLE port, uint32_t baud, const LineFraming& framing) {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!GetCommState(port, &dcb)) return L"GetCommState failed";
    applyLineSettings(dcb, baud, framing);
    if (!SetCommState(port, &dcb)) return L"SetCommState failed";
    COMMTIMEOUTS timeouts = serialTimeouts();
    if (!SetCommTimeouts(port, &timeouts)) return L"SetCommTimeouts failed";
    return nullptr;
}

}  // namespace orvane
