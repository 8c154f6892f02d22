#include "serial_device.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace orvane::test {

namespace {

std::wstring portFromEnvironment(const char* variable) {
    const char* value = std::getenv(variable);
    return value == nullptr ? std::wstring() : std::wstring(value, value + std::strlen(value));
}

}  // namespace

SerialDevice::SerialDevice(const std::wstring& portName) {
    handle = CreateFileW((L"\\\\.\\" + portName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                         nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    GetCommState(handle, &dcb);
    dcb.BaudRate = 115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    SetCommState(handle, &dcb);
    COMMTIMEOUTS timeouts{5, 0, 50, 0, 1000};
    SetCommTimeouts(handle, &timeouts);
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
}

SerialDevice::~SerialDevice() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

bool SerialDevice::writeAll(const void* bytes, size_t length) {
    const auto* next = static_cast<const uint8_t*>(bytes);
    int idleWrites = 0;
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(handle, next, static_cast<DWORD>(std::min<size_t>(length, 4096)), &written, nullptr)) return false;
        if (written == 0 && ++idleWrites > 20) return false;  // nobody reads for 20 s
        next += written;
        length -= written;
    }
    return true;
}

std::vector<uint8_t> SerialDevice::read(size_t length, std::chrono::milliseconds timeout) {
    std::vector<uint8_t> bytes;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    uint8_t buffer[512];
    while (bytes.size() < length && std::chrono::steady_clock::now() < deadline) {
        DWORD got = 0;
        if (!ReadFile(handle, buffer, static_cast<DWORD>(std::min(sizeof(buffer), length - bytes.size())), &got, nullptr)) break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

std::wstring sessionPortName() {
    return portFromEnvironment("ORVANE_TEST_SESSION_PORT");
}

std::wstring devicePortName() {
    return portFromEnvironment("ORVANE_TEST_DEVICE_PORT");
}

}  // namespace orvane::test
