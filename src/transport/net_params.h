#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orvane {

// One row of the local interface table; both fields in network byte order.
struct InterfaceAddress {
    uint32_t address;
    uint32_t mask;
};

// Whether an IPv4 address (network byte order) is a broadcast target: the
// limited broadcast address, or the directed broadcast address of one of
// `interfaces` (rows with a zero mask do not count).
bool isBroadcastTarget(uint32_t address, std::span<const InterfaceAddress> interfaces);

// Whether the answer depends on the interface table at all.
bool needsInterfaceTable(uint32_t address);

// What the network reader does with the result of one receive: `result` is
// the byte count, or negative for a failure with the Winsock error `error`.
enum class ReceiveOutcome { Deliver, Ignore, LinkLost };
ReceiveOutcome classifyReceive(bool udp, int result, int error);

// Failure texts of the network session.
std::wstring socketErrorTextFor(std::wstring_view step, int errorCode);
std::wstring cannotResolveText(std::wstring_view host);
std::wstring connectFailedText(std::wstring_view host, uint16_t port);
std::wstring udpBindFailedText(uint16_t port);

}  // namespace orvane
