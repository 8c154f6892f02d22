#include "transport/win32/session_link_openers.h"

#include "transport/win32/port_enumeration.h"

namespace orvane {

SessionLinkOpeners::SessionLinkOpeners(SerialSession& serial, NetSession& net)
    : serialSession(serial), netSession(net) {}

bool SessionLinkOpeners::openSerial(const std::wstring& portName, uint32_t baud, const std::string& framing) {
    return serialSession.open(portName, baud, framing);
}

bool SessionLinkOpeners::connectTcp(const std::wstring& host, uint16_t port) {
    return netSession.connectTcp(host, port);
}

bool SessionLinkOpeners::openUdp(const std::wstring& host, uint16_t port) {
    return netSession.openUdp(host, port);
}

std::vector<PortInfo> SessionLinkOpeners::enumeratePorts() {
    return enumerateSerialPorts();
}

}  // namespace orvane
