#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace orvane::test {

// A socket closed when it goes out of scope.
class Socket {
public:
    Socket() = default;
    explicit Socket(SOCKET s) : handle(s) {}
    ~Socket() { reset(); }
    Socket(Socket&& other) noexcept : handle(std::exchange(other.handle, INVALID_SOCKET)) {}
    Socket& operator=(Socket&& other) noexcept {
        std::swap(handle, other.handle);  // the other closes what this held
        return *this;
    }
    SOCKET get() const { return handle; }
    bool valid() const { return handle != INVALID_SOCKET; }
    void reset() {
        if (valid()) closesocket(handle);
        handle = INVALID_SOCKET;
    }

private:
    SOCKET handle = INVALID_SOCKET;
};

// A loopback endpoint: 127.0.0.1 for AF_INET, ::1 for AF_INET6.
struct Endpoint {
    sockaddr_storage address{};
    int length = 0;
};
Endpoint loopback(int family, uint16_t port);

// A listening TCP socket on the loopback address of `family`, on a free port.
Socket listenTcp(int family, uint16_t& port, int backlog = 8);
Socket acceptWithin(SOCKET listener, std::chrono::milliseconds timeout);

// A UDP socket bound to 127.0.0.1 on a free port.
Socket bindUdp(uint16_t& port);

// A port nobody listens on right now (bound once, then released).
uint16_t unusedPort(int type);

bool sendAll(SOCKET s, const void* bytes, size_t length);
// Receives exactly `length` bytes, or what came before the time ran out.
std::vector<uint8_t> receiveBytes(SOCKET s, size_t length, std::chrono::milliseconds timeout);

struct Datagram {
    std::vector<uint8_t> bytes;
    uint16_t fromPort = 0;
};
std::optional<Datagram> receiveDatagram(SOCKET s, std::chrono::milliseconds timeout);
bool sendDatagram(SOCKET s, const std::string& text, uint16_t toPort);

std::string textOf(const std::vector<uint8_t>& bytes);

// A byte sequence in which a lost, doubled or reordered block shows.
inline uint8_t patternByte(uint64_t offset) {
    return static_cast<uint8_t>(offset ^ (offset >> 8) ^ (offset >> 16) ^ (offset >> 24));
}
void fillPattern(uint8_t* out, size_t length, uint64_t offset);
// Whether the bytes are the pattern from `offset` on.
bool matchesPattern(const uint8_t* bytes, size_t length, uint64_t offset);

// A peer thread that accepts one connection and sends `total` pattern bytes
// through it, as fast as the connection takes them.
class PatternSender {
public:
    PatternSender(SOCKET listener, uint64_t total);
    ~PatternSender();
    uint64_t sent() const { return sentBytes.load(); }

private:
    void run(SOCKET listener, uint64_t total);

    std::atomic<uint64_t> sentBytes{0};
    std::atomic<bool> stop{false};
    std::thread worker;
};

}  // namespace orvane::test
