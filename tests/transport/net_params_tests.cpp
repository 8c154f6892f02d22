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

TEST(BroadcastTarget, TheLimitedAndTheDirectedBroadcastAddressesOfLocalInterfaces) {
    EXPECT_TRUE(isBroadcastTarget(ipv4(255, 255, 255, 255), {}));
    for (const uint32_t address : {ipv4(192, 168, 1, 255), ipv4(10, 1, 255, 255), ipv4(127, 255, 255, 255)}) {
        EXPECT_TRUE(isBroadcastTarget(address, kInterfaces));
        EXPECT_TRUE(needsInterfaceTable(address));
        EXPECT_FALSE(isBroadcastTarget(address, {}));
    }
    // Unicast, a foreign subnet, the wrong prefix length, a network address.
    for (const uint32_t address : {ipv4(192, 168, 1, 20), ipv4(192, 168, 2, 255), ipv4(10, 1, 2, 255),
                                   ipv4(192, 168, 1, 0), ipv4(255, 255, 255, 254), ipv4(0, 0, 0, 0)}) {
        EXPECT_FALSE(isBroadcastTarget(address, kInterfaces));
    }
    EXPECT_FALSE(needsInterfaceTable(ipv4(255, 255, 255, 255)));
    EXPECT_FALSE(needsInterfaceTable(ipv4(0, 0, 0, 0)));
}

TEST(ReceiveOutcome, TcpEndsOnAnEmptyReadOrAnyFailureAndUdpIgnoresEmptyDatagramsAndEchoes) {
    using enum ReceiveOutcome;
    struct Case {
        bool udp;
        int result;
        int error;
        ReceiveOutcome outcome;
    };
    // 10054 WSAECONNRESET (a port-unreachable echo on UDP), 10038 WSAENOTSOCK, 10050 WSAENETDOWN.
    for (const Case& c : {Case{false, 2048, 0, Deliver}, {false, 1, 0, Deliver}, {false, 0, 0, LinkLost},
                          {false, -1, 10054, LinkLost}, {false, -1, 10060, LinkLost}, {true, 5, 0, Deliver},
                          {true, 0, 0, Ignore}, {true, -1, 10054, Ignore}, {true, -1, 10038, LinkLost},
                          {true, -1, 10050, LinkLost}}) {
        EXPECT_EQ(classifyReceive(c.udp, c.result, c.error), c.outcome) << c.udp << " " << c.result << " " << c.error;
    }
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
