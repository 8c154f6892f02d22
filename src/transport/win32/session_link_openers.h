#pragma once

#include "transport/connection_view.h"
#include "transport/win32/net_session.h"
#include "transport/win32/serial_session.h"

namespace orvane {

// Connection control's way to the two sessions and the port enumeration.
class SessionLinkOpeners : public LinkOpeners {
public:
    SessionLinkOpeners(SerialSession& serial, NetSession& net);

    bool openSerial(const std::wstring& portName, uint32_t baud, const std::string& framing) override;
    bool connectTcp(const std::wstring& host, uint16_t port) override;
    bool openUdp(const std::wstring& host, uint16_t port) override;
    std::vector<PortInfo> enumeratePorts() override;

private:
    SerialSession& serialSession;
    NetSession& netSession;
};

}  // namespace orvane
