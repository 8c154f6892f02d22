#pragma once

#include "transport/session_base.h"

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

namespace orvane {

// The calls whose outcome depends on real modem lines or on the device
// staying present. A session uses the system's; tests hand in their own to
// watch the lines and to unplug a device.
struct SerialPortCalls {
    BOOL(WINAPI* readFile)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED) = ReadFile;
    BOOL(WINAPI* escapeCommFunction)(HANDLE, DWORD) = EscapeCommFunction;
    BOOL(WINAPI* getCommModemStatus)(HANDLE, LPDWORD) = GetCommModemStatus;
};

// A session on a COM port.
class SerialSession : public SessionBase {
public:
    explicit SerialSession(SerialPortCalls portCalls = {});
    ~SerialSession() override;

    SerialSession(const SerialSession&) = delete;
    SerialSession& operator=(const SerialSession&) = delete;

    bool isOpen() const override;
    void close() override;
    void write(const uint8_t* bytes, size_t length) override;
    void discardReceived() override;

    // Opens and configures the port (closing whatever was open) and starts
    // the reader. On failure lastError() tells why.
    bool open(const std::wstring& portName, uint32_t baud, const std::string& framing);

    // Stores the level and drives the line at once when open.
    void setRts(bool on);
    void setDtr(bool on);
    bool rtsOn() const;
    bool dtrOn() const;

    // GetCommModemStatus bits (0x10 CTS, 0x20 DSR, 0x40 ring, 0x80 carrier
    // detect); 0 when closed.
    uint32_t modemStatus() const;

private:
    void readLoop(HANDLE port);
    void driveModemLines();
    void setLine(bool& level, bool on, DWORD setFunction, DWORD clearFunction);

    const SerialPortCalls calls;
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool rtsLevel = true;
    bool dtrLevel = true;
    // Serialises writes, line changes, status reads and closing the handle.
    mutable std::mutex ioLock;
};

}  // namespace orvane
