#include "transport/win32/net_session.h"

#include "transport/net_params.h"
#include "transport/win32/post_message.h"
#include "transport/win32/socket_util.h"

#include <mswsock.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace orvane {

namespace {

// One read, and so one chunk, holds at most this much.
constexpr int kNetReadBytes = 2048;
// How often a waiting reader looks at a stop request.
constexpr long kReaderWakeMicroseconds = 200000;

void setIntOption(SOCKET s, int level, int option, int value) {
    setsockopt(s, level, option, reinterpret_cast<const char*>(&value), sizeof(value));
}

void requestNoDelay(SOCKET s) {
    const int on = 1;
    if (setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof(on)) != 0) {
        OutputDebugStringW(L"Orvane: TCP_NODELAY declined; Nagle stays enabled\n");
    }
}

// Without this an ICMP port-unreachable answer to an earlier send makes the
// next receive fail.
void ignoreConnectionReset(SOCKET s) {
    BOOL report = FALSE;
    DWORD returned = 0;
    WSAIoctl(s, SIO_UDP_CONNRESET, &report, sizeof(report), nullptr, 0, &returned, nullptr, nullptr);
}

// 1 when readable, 0 after the wait, SOCKET_ERROR when the socket failed.
int waitReadable(SOCKET s) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval wait{0, kReaderWakeMicroseconds};
    return select(0, &readable, nullptr, nullptr, &wait);
}

}  // namespace

NetSession::NetSession() : SessionBase(postToWindow) {}

NetSession::~NetSession() {
    close();
}

bool NetSession::isOpen() const {
    std::lock_guard lock(ioLock);
    return socketHandle != INVALID_SOCKET;
}

bool NetSession::connectTcp(const std::wstring& host, uint16_t port) {
    close();
    if (host.empty()) {
        setLastError(L"no address specified");
        return false;
    }
    const AddressList addresses = resolveAddress(host, port, AF_UNSPEC, SOCK_STREAM, IPPROTO_TCP);
    if (!addresses) {
        setLastError(cannotResolveText(host));
        return false;
    }
    const SOCKET s = connectFirstReachable(addresses.get());
    if (s == INVALID_SOCKET) {
        setLastError(connectFailedText(host, port));
        return false;
    }
    requestNoDelay(s);
    return adopt(s, false);
}

bool NetSession::openUdp(const std::wstring& host, uint16_t port) {
    close();
    // An unresolvable host is no error: the session then waits for a sender.
    if (!host.empty()) rememberTarget(resolveAddress(host, port, AF_INET, SOCK_DGRAM, IPPROTO_UDP).get());
    const bool broadcast = targetIsBroadcast();
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) {
        setLastError(socketErrorText(L"socket"));
        return false;
    }
    ignoreConnectionReset(s);
    setIntOption(s, SOL_SOCKET, SO_BROADCAST, 1);
    if (broadcast) setIntOption(s, SOL_SOCKET, SO_REUSEADDR, 1);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(port);
    if (bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0) {
        setLastError(udpBindFailedText(port));
        closesocket(s);
        return false;
    }
    return adopt(s, true);
}

bool NetSession::adopt(SOCKET s, bool udp) {
    {
        std::lock_guard lock(ioLock);
        socketHandle = s;
        udpMode = udp;
    }
    if (startReader([this, s, udp] { readLoop(s, udp); })) return true;
    close();
    return false;
}

void NetSession::readLoop(SOCKET s, bool udp) {
    char buffer[kNetReadBytes];
    while (!stopRequested() && waitForQueueRoom()) {
        const int ready = waitReadable(s);
        if (stopRequested()) return;
        if (ready == SOCKET_ERROR) break;
        if (ready == 0) continue;
        const int got = udp ? receiveDatagram(s, buffer, kNetReadBytes) : recv(s, buffer, kNetReadBytes, 0);
        const ReceiveOutcome outcome = classifyReceive(udp, got, got < 0 ? WSAGetLastError() : 0);
        if (outcome == ReceiveOutcome::LinkLost) break;
        if (outcome == ReceiveOutcome::Deliver) deliver(reinterpret_cast<const uint8_t*>(buffer), static_cast<size_t>(got));
    }
    reportLinkLost();
}

int NetSession::receiveDatagram(SOCKET s, char* buffer, int size) {
    std::array<uint8_t, kMaxAddressBytes> sender{};
    int senderLength = kMaxAddressBytes;
    int got = recvfrom(s, buffer, size, 0, reinterpret_cast<sockaddr*>(sender.data()), &senderLength);
    // A datagram larger than the buffer arrives cut to the buffer; it is no
    // reason to drop the link.
    if (got == SOCKET_ERROR && WSAGetLastError() == WSAEMSGSIZE) got = size;
    if (got >= 0) rememberPeer(sender.data(), senderLength);
    return got;
}

void NetSession::rememberTarget(const ADDRINFOW* addresses) {
    if (addresses != nullptr && addresses->ai_addrlen <= kMaxAddressBytes) {
        rememberPeer(addresses->ai_addr, static_cast<int>(addresses->ai_addrlen));
    }
}

void NetSession::rememberPeer(const void* address, int length) {
    if (length < 1 || length > kMaxAddressBytes) return;
    std::lock_guard lock(ioLock);
    std::memcpy(peerAddress.data(), address, static_cast<size_t>(length));
    peerAddressLength = length;
}

bool NetSession::targetIsBroadcast() const {
    sockaddr_in target{};
    {
        std::lock_guard lock(ioLock);
        if (peerAddressLength < static_cast<int32_t>(sizeof(sockaddr_in))) return false;
        std::memcpy(&target, peerAddress.data(), sizeof(target));
    }
    return isBroadcastTarget(target.sin_addr.s_addr);
}

void NetSession::write(const uint8_t* bytes, size_t length) {
    std::lock_guard lock(ioLock);
    if (socketHandle == INVALID_SOCKET) return;
    const char* data = reinterpret_cast<const char*>(bytes);
    const int count = static_cast<int>(std::min<size_t>(length, INT_MAX));
    int sent = 0;
    if (!udpMode) {
        sent = send(socketHandle, data, count, 0);
    } else if (peerAddressLength >= 1) {
        sent = sendto(socketHandle, data, count, 0, reinterpret_cast<const sockaddr*>(peerAddress.data()),
                      peerAddressLength);
    }
    if (sent > 0) noteTransmitted();
}

void NetSession::close() {
    stopReader();
    {
        std::lock_guard lock(ioLock);
        if (socketHandle != INVALID_SOCKET) closesocket(socketHandle);
        socketHandle = INVALID_SOCKET;
        peerAddressLength = 0;
    }
    clearQueue();
}

}  // namespace orvane
