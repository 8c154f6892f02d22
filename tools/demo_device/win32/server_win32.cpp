// The socket layer on Windows (Winsock).
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <vector>

#include "../listen_report.h"
#include "../server.h"
#include "../flood.h"
#include "../session.h"

namespace orvane::demo {

namespace {

class SocketLink : public Link {
public:
    explicit SocketLink(SOCKET s) : socket_(s) {}

    ReadStatus read(std::string& out, int timeoutMs) override {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket_, &readable);
        timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        const int ready = ::select(0, &readable, nullptr, nullptr, timeoutMs < 0 ? nullptr : &wait);
        if (ready < 0) return ReadStatus::Closed;
        if (ready == 0) return ReadStatus::Timeout;
        char buffer[4096];
        const int n = ::recv(socket_, buffer, int(sizeof buffer), 0);
        if (n <= 0) return ReadStatus::Closed;
        out.append(buffer, size_t(n));
        return ReadStatus::Data;
    }

    bool write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const int chunk = bytes.size() > 0x10000 ? 0x10000 : int(bytes.size());
            const int n = ::send(socket_, bytes.data(), chunk, 0);
            if (n <= 0) return false;
            bytes.remove_prefix(size_t(n));
        }
        return true;
    }

private:
    SOCKET socket_;
};

SOCKET listenOn(const sockaddr* address, int length, int family) {
    const SOCKET s = ::socket(family, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    const DWORD on = 1;
    // A second device on the same port must fail, not share it.
    ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
    if (family == AF_INET6) ::setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&on), sizeof on);
    if (::bind(s, address, length) != 0 || ::listen(s, 4) != 0) {
        ::closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

SOCKET listenIpv4(uint16_t& port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const SOCKET s = listenOn(reinterpret_cast<const sockaddr*>(&a), int(sizeof a), AF_INET);
    int length = int(sizeof a);
    if (s != INVALID_SOCKET && ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &length) == 0) port = ntohs(a.sin_port);
    return s;
}

SOCKET listenIpv6(uint16_t port) {
    sockaddr_in6 a{};
    a.sin6_family = AF_INET6;
    a.sin6_port = htons(port);
    a.sin6_addr = in6addr_loopback;
    return listenOn(reinterpret_cast<const sockaddr*>(&a), int(sizeof a), AF_INET6);
}

int serveClient(SOCKET client, const Options& options) {
    const DWORD on = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    reportClient("connected");
    SocketLink link(client);
    const int code = serveLink(link, options);
    ::closesocket(client);
    reportClient("disconnected");
    return code;
}

int serve(const Options& options) {
    uint16_t port = options.port;
    const SOCKET v4 = listenIpv4(port);
    if (v4 == INVALID_SOCKET) {
        std::fprintf(stderr, "orvane_demo_device: cannot listen on 127.0.0.1 port %u (error %d)\n",
                     unsigned(options.port), ::WSAGetLastError());
        return 1;
    }
    std::vector<SOCKET> listeners{v4};
    const SOCKET v6 = listenIpv6(port);  // optional: not every machine has ::1
    if (v6 != INVALID_SOCKET) listeners.push_back(v6);
    reportListening(port, v6 != INVALID_SOCKET);

    for (;;) {
        fd_set readable;
        FD_ZERO(&readable);
        for (const SOCKET s : listeners) FD_SET(s, &readable);
        if (::select(0, &readable, nullptr, nullptr, nullptr) <= 0) break;
        for (const SOCKET s : listeners) {
            if (!FD_ISSET(s, &readable)) continue;
            const SOCKET client = ::accept(s, nullptr, nullptr);
            if (client == INVALID_SOCKET) continue;
            const int code = serveClient(client, options);
            if (servesOneClient(options)) {
                for (const SOCKET each : listeners) ::closesocket(each);
                return code;
            }
        }
    }
    for (const SOCKET each : listeners) ::closesocket(each);
    return 1;
}

}  // namespace

int runServer(const Options& options) {
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::fputs("orvane_demo_device: Winsock did not start\n", stderr);
        return 1;
    }
    const int code = serve(options);
    ::WSACleanup();
    return code;
}

}  // namespace orvane::demo
