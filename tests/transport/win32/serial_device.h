#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane::test {

// The far end of the test's serial link, opened as a COM port of its own.
class SerialDevice {
public:
    explicit SerialDevice(const std::wstring& portName);
    ~SerialDevice();

    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    bool valid() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle; }

    // Writes everything, however many driver writes that takes.
    bool writeAll(const void* bytes, size_t length);
    // Reads until `length` bytes came or the time ran out.
    std::vector<uint8_t> read(size_t length, std::chrono::milliseconds timeout);

private:
    HANDLE handle = INVALID_HANDLE_VALUE;
};

// The port names the wrapper script linked for this run.
std::wstring sessionPortName();
std::wstring devicePortName();

}  // namespace orvane::test
