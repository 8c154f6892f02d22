#include "transport/net_params.h"

namespace orvane {

namespace {

constexpr uint32_t kLimitedBroadcast = 0xFFFFFFFFu;
constexpr uint32_t kAnyAddress = 0;
// WSAECONNRESET: on UDP, an ICMP port-unreachable answer to an earlier send.
constexpr int kConnectionReset = 10054;

}  // namespace

bool needsInterfaceTable(uint32_t address) {
    return address != kLimitedBroadcast && address != kAnyAddress;
}

bool isBroadcastTarget(uint32_t address, std::span<const InterfaceAddress> interfaces) {
    if (!needsInterfaceTable(address)) return address == kLimitedBroadcast;
    for (const InterfaceAddress& row : interfaces) {
        if (row.mask != 0 && address == ((row.address & row.mask) | ~row.mask)) return true;
    }
    return false;
}

ReceiveOutcome classifyReceive(bool udp, int result, int error) {
    if (result > 0) return ReceiveOutcome::Deliver;
    // TCP: the peer closed (0) or the connection failed.
    if (!udp) return ReceiveOutcome::LinkLost;
    // UDP: an empty datagram, or an echo of an earlier send, changes nothing.
    if (result == 0 || error == kConnectionReset) return ReceiveOutcome::Ignore;
    return ReceiveOutcome::LinkLost;
}

std::wstring socketErrorTextFor(std::wstring_view step, int errorCode) {
    return std::wstring(step) + L" failed (" + std::to_wstring(errorCode) + L")";
}

std::wstring cannotResolveText(std::wstring_view host) {
    return L"cannot resolve " + std::wstring(host);
}

std::wstring connectFailedText(std::wstring_view host, uint16_t port) {
    return L"connect to " + std::wstring(host) + L":" + std::to_wstring(port) + L" failed";
}

std::wstring udpBindFailedText(uint16_t port) {
    return L"bind to UDP port " + std::to_wstring(port) + L" failed";
}

}  // namespace orvane
