#pragma once

#include "transport/session_base.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace orvane {

// A session on a TCP client connection or a UDP endpoint. Winsock must
// have been started.
class NetSession : public SessionBase {
public:
    NetSession();
    ~NetSession() override;

    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    bool isOpen() const override;
    void close() override;
    void write(const uint8_t* bytes, size_t length) override;

    // Connects to the first address of `host` that accepts, then starts the
    // reader. On failure lastError() tells why.
    bool connectTcp(const std::wstring& host, uint16_t port);

    // Listens on the local `port`; sends go to host:port when a host is
    // given and resolves, and then to whoever sent the last datagram.
    bool openUdp(const std::wstring& host, uint16_t port);

private:
    friend struct NetSessionProbe;  // tests read the socket's options

    static constexpr int kMaxAddressBytes = 128;

    // Takes the opened socket over and starts the reader.
    bool adopt(SOCKET s, bool udp);
    void readLoop(SOCKET s, bool udp);
    int receiveDatagram(SOCKET s, char* buffer, int size);
    void rememberTarget(const ADDRINFOW* addresses);
    void rememberPeer(const void* address, int length);
    bool targetIsBroadcast() const;

    SOCKET socketHandle = INVALID_SOCKET;
    bool udpMode = false;
    std::array<uint8_t, kMaxAddressBytes> peerAddress{};
    int32_t peerAddressLength = 0;
    // Guards socket use by write and close, and the peer address.
    mutable std::mutex ioLock;
};

}  // namespace orvane
