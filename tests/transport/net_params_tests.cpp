#include "transport/net_params.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace orvane {
namespace {

// a.b.c.d as it lies in memory in network byte order, on any host.
uint32_t ipv4(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    const uint8_t bytes[4] = {a, b, c, d};
    uint32_t value;
    std::memcpy(&value, bytes, sizeof(value));
    return value;
}

const std::array<InterfaceAddress, 3> kInterfaces{{
    {ipv4(192, 168, 1, 20), ipv4(255, 255, 255, 0)},
    {ipv4(10, 1, 2, 3), ipv4(255, 255, 0, 0)},
    {ipv4(127, 0, 0, 1), ipv4(255, 0, 0, 0)},
}};

TEST(BroadcastTarget, TheLimitedBroadcastAddressAlwaysIsOneAndTheAnyAddressNever) {
    EXPECT_TRUE(isBroadcastTarget(ipv4(255, 255, 255, 255), {}));
    EXPECT_FALSE(isBroadcastTarget(ipv4(0, 0, 0, 0), kInterfaces));
    EXPECT_FALSE(needsInterfaceTable(ipv4(255, 255, 255, 255)));
    EXPECT_FALSE(needsInterfaceTable(ipv4(0, 0, 0, 0)));
    EXPECT_TRUE(needsInterfaceTable(ipv4(10, 1, 255, 255)));
}

TEST(BroadcastTarget, DirectedBroadcastAddressesOfLocalInterfacesAreTargets) {
    EXPECT_TRUE(isBroadcastTarget(ipv4(192, 168, 1, 255), kInterfaces));
    EXPECT_TRUE(isBroadcastTarget(ipv4(10, 1, 255, 255), kInterfaces));
    EXPECT_TRUE(isBroadcastTarget(ipv4(127, 255, 255, 255), kInterfaces));
}

TEST(BroadcastTarget, UnicastAndForeignSubnetBroadcastsAreNot) {
    EXPECT_FALSE(isBroadcastTarget(ipv4(192, 168, 1, 20), kInterfaces));
    EXPECT_FALSE(isBroadcastTarget(ipv4(192, 168, 2, 255), kInterfaces));
    EXPECT_FALSE(isBroadcastTarget(ipv4(10, 1, 2, 255), kInterfaces));  // /16, not /24
    EXPECT_FALSE(isBroadcastTarget(ipv4(192, 168, 1, 255), {}));
}

TEST(BroadcastTarget, RowsWithoutAMaskAreIgnored) {
    const std::array<InterfaceAddress, 1> unmasked{{{ipv4(192, 168, 1, 20), 0}}};
    // With a zero mask every address would equal (address & 0) | ~0.
    EXPECT_FALSE(isBroadcastTarget(ipv4(255, 255, 255, 254), unmasked));
}

TEST(ReceiveOutcome, TcpEndsOnAnEmptyReadOrAnyFailure) {
    EXPECT_EQ(classifyReceive(false, 2048, 0), ReceiveOutcome::Deliver);
    EXPECT_EQ(classifyReceive(false, 1, 0), ReceiveOutcome::Deliver);
    EXPECT_EQ(classifyReceive(false, 0, 0), ReceiveOutcome::LinkLost);
    EXPECT_EQ(classifyReceive(false, -1, 10054), ReceiveOutcome::LinkLost);
    EXPECT_EQ(classifyReceive(false, -1, 10060), ReceiveOutcome::LinkLost);
}

TEST(ReceiveOutcome, UdpIgnoresEmptyDatagramsAndPortUnreachableEchoes) {
    EXPECT_EQ(classifyReceive(true, 5, 0), ReceiveOutcome::Deliver);
    EXPECT_EQ(classifyReceive(true, 0, 0), ReceiveOutcome::Ignore);
    EXPECT_EQ(classifyReceive(true, -1, 10054), ReceiveOutcome::Ignore);  // WSAECONNRESET
    EXPECT_EQ(classifyReceive(true, -1, 10038), ReceiveOutcome::LinkLost);  // WSAENOTSOCK
    EXPECT_EQ(classifyReceive(true, -1, 10050), ReceiveOutcome::LinkLost);  // WSAENETDOWN
}

TEST(NetworkTexts, FailureTextsNameTheStepHostAndPort) {
    EXPECT_EQ(socketErrorTextFor(L"socket", 10047), L"socket failed (10047)");
    EXPECT_EQ(socketErrorTextFor(L"socket", -1), L"socket failed (-1)");
    EXPECT_EQ(cannotResolveText(L"x..y"), L"cannot resolve x..y");
    EXPECT_EQ(connectFailedText(L"::1", 65535), L"connect to ::1:65535 failed");
    EXPECT_EQ(udpBindFailedText(5000), L"bind to UDP port 5000 failed");
}

}  // namespace
}  // namespace orvane
