#include "transport/win32/socket_util.h"

#include "transport/net_params.h"

#include <iphlpapi.h>

#include <cstddef>
#include <new>
#include <vector>

namespace orvane {

namespace {

constexpr long kConnectWaitSeconds = 5;

bool setBlocking(SOCKET s, bool blocking) {
    u_long nonBlocking = blocking ? 0 : 1;
    return ioctlsocket(s, FIONBIO, &nonBlocking) == 0;
}

// Waits for a pending non-blocking connect and tells whether it succeeded.
bool connectCompleted(SOCKET s) {
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval wait{kConnectWaitSeconds, 0};
    if (select(0, nullptr, &writable, &failed, &wait) <= 0 || FD_ISSET(s, &failed)) return false;
    int pending = 0;
    int length = sizeof(pending);
    return getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&pending), &length) == 0 && pending == 0;
}

SOCKET tryConnect(const ADDRINFOW& entry) {
    const SOCKET s = socket(entry.ai_family, entry.ai_socktype, entry.ai_protocol);
    if (s == INVALID_SOCKET) return INVALID_SOCKET;
    if (setBlocking(s, false)) {
        const bool connected = connect(s, entry.ai_addr, static_cast<int>(entry.ai_addrlen)) == 0 ||
                               (WSAGetLastError() == WSAEWOULDBLOCK && connectCompleted(s));
        if (connected) {
            setBlocking(s, true);
            return s;
        }
    }
    closesocket(s);
    return INVALID_SOCKET;
}

std::vector<InterfaceAddress> localInterfaceAddresses() {
    ULONG size = 0;
    if (GetIpAddrTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER || size < sizeof(MIB_IPADDRTABLE)) return {};
    try {
        std::vector<std::byte> buffer(size);
        auto* table = reinterpret_cast<MIB_IPADDRTABLE*>(buffer.data());
        if (GetIpAddrTable(table, &size, FALSE) != NO_ERROR) return {};
        const size_t fitting = (buffer.size() - offsetof(MIB_IPADDRTABLE, table)) / sizeof(MIB_IPADDRROW);
        std::vector<InterfaceAddress> rows;
        for (size_t i = 0; i < table->dwNumEntries && i < fitting; ++i) {
            rows.push_back({table->table[i].dwAddr, table->table[i].dwMask});
        }
        return rows;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace

std::wstring socketErrorText(std::wstring_view step) {
    return socketErrorTextFor(step, WSAGetLastError());
}

AddressList resolveAddress(const std::wstring& host, uint16_t port, int family, int type, int protocol) {
    ADDRINFOW hints{};
    hints.ai_flags = 0;
    hints.ai_family = family;
    hints.ai_socktype = type;
    hints.ai_protocol = protocol;
    ADDRINFOW* list = nullptr;
    if (GetAddrInfoW(host.c_str(), std::to_wstring(port).c_str(), &hints, &list) != 0) return nullptr;
    return AddressList(list);
}

SOCKET connectFirstReachable(const ADDRINFOW* addresses) {
    for (const ADDRINFOW* entry = addresses; entry != nullptr; entry = entry->ai_next) {
        const SOCKET s = tryConnect(*entry);
        if (s != INVALID_SOCKET) return s;
    }
    return INVALID_SOCKET;
}

bool isBroadcastTarget(uint32_t address) {
    if (!needsInterfaceTable(address)) return isBroadcastTarget(address, {});
    const std::vector<InterfaceAddress> interfaces = localInterfaceAddresses();
    return isBroadcastTarget(address, interfaces);
}

}  // namespace orvane
