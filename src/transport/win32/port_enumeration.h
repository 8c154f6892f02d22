#pragma once

#include "transport/port_list.h"

#include <vector>

namespace orvane {

// The serial ports present, sorted. Ports come from the device setup class
// Ports; when that yields no COM port, from the SERIALCOMM device map, so
// that virtual port drivers outside the class still show up.
std::vector<PortInfo> enumerateSerialPorts();

// The two sources on their own, unsorted.
std::vector<PortInfo> portsOfPortsClass();
std::vector<PortInfo> portsOfSerialCommMap();

}  // namespace orvane
