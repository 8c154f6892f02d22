#include "transport/serial_params.h"

#include <array>
#include <utility>

namespace orvane {

namespace {

constexpr uint8_t kNoParity = 0;
constexpr uint8_t kEvenParity = 2;
constexpr uint8_t kOneStopBit = 0;
constexpr uint8_t kTwoStopBits = 2;

constexpr std::array<std::pair<std::string_view, LineFraming>, 4> kFramings{{
    {"8N1", {8, kNoParity, kOneStopBit}},
    {"7E1", {7, kEvenParity, kOneStopBit}},
    {"8E1", {8, kEvenParity, kOneStopBit}},
    {"8N2", {8, kNoParity, kTwoStopBits}},
}};

constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";

}  // namespace

std::optional<LineFraming> findFraming(std::string_view name) {
    for (const auto& [framingName, framing] : kFramings) {
        if (framingName == name) return framing;
    }
    return std::nullopt;
}

std::wstring unknownFramingText(std::string_view name) {
    std::wstring text = L"unknown framing: ";
    for (const char byte : name) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
    return text;
}

std::wstring serialDevicePath(std::wstring_view portName) {
    // A name that already carries the prefix, or any other device path,
    // passes unchanged.
    const bool comName = portName.starts_with(L"COM") || portName.starts_with(L"com");
    return comName ? std::wstring(kDevicePrefix).append(portName) : std::wstring(portName);
}

}  // namespace orvane
