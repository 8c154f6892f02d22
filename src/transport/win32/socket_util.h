#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orvane {

// The step's description, " failed (", the calling thread's Winsock error
// code and ")".
std::wstring socketErrorText(std::wstring_view step);

struct AddressListDeleter {
    void operator()(ADDRINFOW* list) const { FreeAddrInfoW(list); }
};
using AddressList = std::unique_ptr<ADDRINFOW, AddressListDeleter>;

// Resolves host and port for one family, socket type and protocol; null
// when resolution fails or yields nothing.
AddressList resolveAddress(const std::wstring& host, uint16_t port, int family, int type, int protocol);

// Tries the addresses in order, each with a non-blocking connect that may
// take up to 5 s. Returns the first connected socket, switched back to
// blocking, or INVALID_SOCKET.
SOCKET connectFirstReachable(const ADDRINFOW* addresses);

// Whether the IPv4 address (network byte order) is the limited broadcast
// address or the directed broadcast address of a local interface.
bool isBroadcastTarget(uint32_t address);

}  // namespace orvane
