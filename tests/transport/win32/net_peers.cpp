#include "net_peers.h"

#include <cstring>

namespace orvane::test {

namespace {

bool waitReadable(SOCKET s, std::chrono::milliseconds timeout) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    const long long us = std::chrono::duration_cast<std::chrono::microseconds>(timeout).count();
    timeval wait{static_cast<long>(us / 1000000), static_cast<long>(us % 1000000)};
    return select(0, &readable, nullptr, nullptr, &wait) > 0;
}

// The port sits at the same place in IPv4 and IPv6 addresses.
uint16_t boundPort(SOCKET s) {
    sockaddr_storage address{};
    int length = sizeof(address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
}

}  // namespace

Endpoint loopback(int family, uint16_t port) {
    Endpoint endpoint;
    if (family == AF_INET6) {
        auto& v6 = reinterpret_cast<sockaddr_in6&>(endpoint.address);
        v6.sin6_family = AF_INET6;
        v6.sin6_addr = in6addr_loopback;
        v6.sin6_port = htons(port);
        endpoint.length = sizeof(sockaddr_in6);
    } else {
        auto& v4 = reinterpret_cast<sockaddr_in&>(endpoint.address);
        v4.sin_family = AF_INET;
        v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        v4.sin_port = htons(port);
        endpoint.length = sizeof(sockaddr_in);
    }
    return endpoint;
}

Socket listenTcp(int family, uint16_t& port, int backlog) {
    Socket s(socket(family, SOCK_STREAM, IPPROTO_TCP));
    const Endpoint endpoint = loopback(family, 0);
    if (!s.valid() || bind(s.get(), reinterpret_cast<const sockaddr*>(&endpoint.address), endpoint.length) != 0 ||
        listen(s.get(), backlog) != 0) {
        return Socket();
    }
    port = boundPort(s.get());
    return s;
}

Socket acceptWithin(SOCKET listener, std::chrono::milliseconds timeout) {
    if (!waitReadable(listener, timeout)) return Socket();
    return Socket(accept(listener, nullptr, nullptr));
}

Socket bindUdp(uint16_t& port) {
    Socket s(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    const Endpoint endpoint = loopback(AF_INET, 0);
    if (!s.valid() || bind(s.get(), reinterpret_cast<const sockaddr*>(&endpoint.address), endpoint.length) != 0) {
        return Socket();
    }
    port = boundPort(s.get());
    return s;
}

uint16_t unusedPort(int type) {
    Socket s(socket(AF_INET, type, 0));
    const Endpoint endpoint = loopback(AF_INET, 0);
    bind(s.get(), reinterpret_cast<const sockaddr*>(&endpoint.address), endpoint.length);
    return boundPort(s.get());
}

bool sendAll(SOCKET s, const void* bytes, size_t length) {
    const char* next = static_cast<const char*>(bytes);
    while (length > 0) {
        const int sent = send(s, next, static_cast<int>(std::min<size_t>(length, 1 << 20)), 0);
        if (sent <= 0) return false;
        next += sent;
        length -= static_cast<size_t>(sent);
    }
    return true;
}

std::vector<uint8_t> receiveBytes(SOCKET s, size_t length, std::chrono::milliseconds timeout) {
    std::vector<uint8_t> bytes;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char buffer[4096];
    while (bytes.size() < length) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !waitReadable(s, left)) break;
        const int got = recv(s, buffer, static_cast<int>(std::min(sizeof(buffer), length - bytes.size())), 0);
        if (got <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

std::optional<Datagram> receiveDatagram(SOCKET s, std::chrono::milliseconds timeout) {
    if (!waitReadable(s, timeout)) return std::nullopt;
    char buffer[65536];
    sockaddr_in from{};
    int fromLength = sizeof(from);
    const int got = recvfrom(s, buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got < 0) return std::nullopt;
    return Datagram{std::vector<uint8_t>(buffer, buffer + got), ntohs(from.sin_port)};
}

bool sendDatagram(SOCKET s, const std::string& text, uint16_t toPort) {
    const Endpoint to = loopback(AF_INET, toPort);
    return sendto(s, text.data(), static_cast<int>(text.size()), 0, reinterpret_cast<const sockaddr*>(&to.address),
                  to.length) == static_cast<int>(text.size());
}

std::string textOf(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

void fillPattern(uint8_t* out, size_t length, uint64_t offset) {
    for (size_t i = 0; i < length; ++i) out[i] = patternByte(offset + i);
}

bool matchesPattern(const uint8_t* bytes, size_t length, uint64_t offset) {
    for (size_t i = 0; i < length; ++i) {
        if (bytes[i] != patternByte(offset + i)) return false;
    }
    return true;
}

PatternSender::PatternSender(SOCKET listener, uint64_t total) : worker([this, listener, total] { run(listener, total); }) {}

PatternSender::~PatternSender() {
    stop = true;
    worker.join();
}

void PatternSender::run(SOCKET listener, uint64_t total) {
    Socket peer = acceptWithin(listener, std::chrono::seconds(10));
    std::vector<uint8_t> block(64 * 1024);
    while (peer.valid() && !stop.load() && sentBytes.load() < total) {
        const size_t length = static_cast<size_t>(std::min<uint64_t>(block.size(), total - sentBytes.load()));
        fillPattern(block.data(), length, sentBytes.load());
        if (!sendAll(peer.get(), block.data(), length)) break;
        sentBytes += length;
    }
    // Let the receiver read the tail before the connection goes.
    while (!stop.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

}  // namespace orvane::test
