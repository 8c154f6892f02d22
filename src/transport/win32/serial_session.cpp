#include "transport/win32/serial_session.h"

#include "transport/serial_params.h"
#include "transport/win32/post_message.h"
#include "transport/win32/serial_config.h"

#include <algorithm>

namespace orvane {

namespace {

// Driver queues large enough to absorb a burst while the reader is busy.
constexpr DWORD kDriverQueueBytes = 16384;
// One read, and so one chunk, holds at most this much.
constexpr DWORD kSerialReadBytes = 256;

}  // namespace

SerialSession::SerialSession(SerialPortCalls portCalls) : SessionBase(postToWindow), calls(portCalls) {}

SerialSession::~SerialSession() {
    close();
}

bool SerialSession::isOpen() const {
    std::lock_guard lock(ioLock);
    return handle != INVALID_HANDLE_VALUE;
}

bool SerialSession::open(const std::wstring& portName, uint32_t baud, const std::string& framing) {
    close();
    const std::optional<LineFraming> line = findFraming(framing);
    if (!line) {
        setLastError(unknownFramingText(framing));
        return false;
    }
    const HANDLE port = CreateFileW(serialDevicePath(portName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        setLastError(L"CreateFileW failed for " + portName);
        return false;
    }
    {
        std::lock_guard lock(ioLock);
        handle = port;
    }
    if (!SetupComm(port, kDriverQueueBytes, kDriverQueueBytes)) {
        OutputDebugStringW(L"Orvane: SetupComm(16K) declined; using driver default RX buffer\n");
    }
    if (const wchar_t* failure = configurePort(port, baud, *line)) {
        setLastError(failure);
        close();
        return false;
    }
    PurgeComm(port, PURGE_TXCLEAR | PURGE_RXCLEAR);
    driveModemLines();
    if (!startReader([this, port] { readLoop(port); })) {
        close();
        return false;
    }
    return true;
}

void SerialSession::readLoop(HANDLE port) {
    uint8_t buffer[kSerialReadBytes];
    while (!stopRequested() && waitForQueueRoom()) {
        DWORD got = 0;
        if (!calls.readFile(port, buffer, kSerialReadBytes, &got, nullptr)) {
            reportLinkLost();
            return;
        }
        if (got > 0) deliver(buffer, std::min(got, kSerialReadBytes));
    }
}

void SerialSession::close() {
    // The reader is joined before the handle goes, so no read is under way.
    stopReader();
    {
        std::lock_guard lock(ioLock);
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
    clearQueue();
}

void SerialSession::write(const uint8_t* bytes, size_t length) {
    std::lock_guard lock(ioLock);
    if (handle == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    const DWORD count = static_cast<DWORD>(std::min<size_t>(length, MAXDWORD));
    WriteFile(handle, bytes, count, &written, nullptr);
    if (written > 0) noteTransmitted();
}

void SerialSession::discardReceived() {
    // Bytes still in the driver would otherwise arrive after the discard.
    const HANDLE port = handle;
    if (port != INVALID_HANDLE_VALUE) PurgeComm(port, PURGE_RXCLEAR);
    SessionBase::discardReceived();
}

void SerialSession::driveModemLines() {
    std::lock_guard lock(ioLock);
    calls.escapeCommFunction(handle, dtrLevel ? SETDTR : CLRDTR);
    calls.escapeCommFunction(handle, rtsLevel ? SETRTS : CLRRTS);
}

void SerialSession::setLine(bool& level, bool on, DWORD setFunction, DWORD clearFunction) {
    std::lock_guard lock(ioLock);
    level = on;
    if (handle != INVALID_HANDLE_VALUE) calls.escapeCommFunction(handle, on ? setFunction : clearFunction);
}

void SerialSession::setRts(bool on) {
    setLine(rtsLevel, on, SETRTS, CLRRTS);
}

void SerialSession::setDtr(bool on) {
    setLine(dtrLevel, on, SETDTR, CLRDTR);
}

bool SerialSession::rtsOn() const {
    std::lock_guard lock(ioLock);
    return rtsLevel;
}

bool SerialSession::dtrOn() const {
    std::lock_guard lock(ioLock);
    return dtrLevel;
}

uint32_t SerialSession::modemStatus() const {
    std::lock_guard lock(ioLock);
    DWORD status = 0;
    if (handle == INVALID_HANDLE_VALUE || !calls.getCommModemStatus(handle, &status)) return 0;
    return status;
}

}  // namespace orvane
