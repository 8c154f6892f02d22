#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// One serial port as the port box shows it.
struct PortInfo {
    std::wstring portName;     // e.g. COM3
    std::wstring description;  // friendly name, else device description
    std::wstring hardwareId;   // first hardware id

    friend bool operator==(const PortInfo&, const PortInfo&) = default;
};

// Whether a registry port name is a COM port (any letter case); printer
// ports and the like are left out of the list.
bool isComPortName(std::wstring_view name);

// Value of the first run of decimal digits, 0 when there is none.
uint64_t portNumber(std::wstring_view name);

// Orders by port number, then by name, so COM2 comes before COM10.
void sortPorts(std::vector<PortInfo>& ports);

// Port name, and the description without the " (COMn)" suffix Windows
// appends to friendly names, separated by "  -  ".
std::wstring portDisplayText(const PortInfo& port);

// Index of the entry named exactly `portName`; otherwise 0, or -1 for an
// empty list.
int findPortIndex(const std::vector<PortInfo>& ports, std::wstring_view portName);

}  // namespace orvane
