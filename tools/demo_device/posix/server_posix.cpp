// The socket layer on Linux and other POSIX systems.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "../listen_report.h"
#include "../server.h"
#include "../flood.h"
#include "../session.h"

namespace orvane::demo {

namespace {

class SocketLink : public Link {
public:
    explicit SocketLink(int fd) : fd_(fd) {}

    ReadStatus read(std::string& out, int timeoutMs) override {
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready < 0) return errno == EINTR ? ReadStatus::Timeout : ReadStatus::Closed;
        if (ready == 0) return ReadStatus::Timeout;
        char buffer[4096];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0) return ReadStatus::Closed;
        out.append(buffer, size_t(n));
        return ReadStatus::Data;
    }

    bool write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            bytes.remove_prefix(size_t(n));
        }
        return true;
    }

private:
    int fd_;
};

int listenOn(const sockaddr* address, socklen_t length, int family) {
    const int fd = ::socket(family, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (family == AF_INET6) ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    if (::bind(fd, address, length) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int listenIpv4(uint16_t& port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int fd = listenOn(reinterpret_cast<const sockaddr*>(&a), sizeof a, AF_INET);
    socklen_t length = sizeof a;
    if (fd >= 0 && ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) == 0) port = ntohs(a.sin_port);
    return fd;
}

int listenIpv6(uint16_t port) {
    sockaddr_in6 a{};
    a.sin6_family = AF_INET6;
    a.sin6_port = htons(port);
    a.sin6_addr = in6addr_loopback;
    return listenOn(reinterpret_cast<const sockaddr*>(&a), sizeof a, AF_INET6);
}

int serveClient(int client, const Options& options) {
    const int on = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    reportClient("connected");
    SocketLink link(client);
    const int code = serveLink(link, options);
    ::close(client);
    reportClient("disconnected");
    return code;
}

}  // namespace

int runServer(const Options& options) {
    uint16_t port = options.port;
    const int v4 = listenIpv4(port);
    if (v4 < 0) {
        std::fprintf(stderr, "orvane_demo_device: cannot listen on 127.0.0.1 port %u: %s\n", unsigned(options.port),
                     std::strerror(errno));
        return 1;
    }
    const int v6 = listenIpv6(port);  // optional: not every machine has ::1
    std::vector<pollfd> listeners{{v4, POLLIN, 0}};
    if (v6 >= 0) listeners.push_back({v6, POLLIN, 0});
    reportListening(port, v6 >= 0);

    for (;;) {
        if (::poll(listeners.data(), listeners.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (pollfd& l : listeners) {
            if (!(l.revents & POLLIN)) continue;
            const int client = ::accept(l.fd, nullptr, nullptr);
            if (client < 0) continue;
            const int code = serveClient(client, options);
            if (servesOneClient(options)) {
                for (const pollfd& each : listeners) ::close(each.fd);
                return code;
            }
        }
    }
    for (const pollfd& each : listeners) ::close(each.fd);
    return 1;
}

}  // namespace orvane::demo
