#include "message_window.h"
#include "net_peers.h"
#include "net_session_probe.h"

#include "transport/win32/net_session.h"
#include "transport/win32/socket_util.h"

#include <gtest/gtest.h>

#include <chrono>

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::MessageWindow;
using test::Socket;

uint32_t ipv4(const char* text) {
    in_addr address{};
    inet_pton(AF_INET, text, &address);
    return address.s_addr;
}

class UdpSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        session.setNotifyTarget(window.target(), WM_SESSION_DATA, WM_SESSION_CLOSED);
        port = test::unusedPort(SOCK_DGRAM);
    }

    void write(const std::string& text) {
        session.write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    }
    std::string drain() {
        std::vector<uint8_t> out;
        session.drainReceived(out);
        return test::textOf(out);
    }
    // A peer datagram, waited for until the session has queued it.
    void deliverFrom(const Socket& peer, const std::string& text) {
        const size_t before = window.count(WM_SESSION_DATA);
        ASSERT_TRUE(test::sendDatagram(peer.get(), text, port));
        ASSERT_TRUE(window.waitForCount(WM_SESSION_DATA, before + 1, 5s));
    }

    MessageWindow window;
    NetSession session;
    uint16_t port = 0;
};

TEST_F(UdpSessionTest, WithoutATargetItListensAndThenAnswersWhoeverSentLast) {
    ASSERT_TRUE(session.openUdp(L"", port));
    write("nobody");
    EXPECT_FALSE(session.takeTxActivity());  // dropped: no target yet

    uint16_t portA = 0;
    uint16_t portB = 0;
    Socket peerA = test::bindUdp(portA);
    Socket peerB = test::bindUdp(portB);
    deliverFrom(peerA, "from a");
    EXPECT_EQ(drain(), "from a");
    write("to a");
    EXPECT_TRUE(session.takeTxActivity());
    std::optional<test::Datagram> got = test::receiveDatagram(peerA.get(), 5s);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(test::textOf(got->bytes), "to a");
    EXPECT_EQ(got->fromPort, port);  // sent from the listening port

    deliverFrom(peerB, "from b");
    write("to b");
    got = test::receiveDatagram(peerB.get(), 5s);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(test::textOf(got->bytes), "to b");
    EXPECT_FALSE(test::receiveDatagram(peerA.get(), 100ms).has_value());
}

TEST_F(UdpSessionTest, AGivenTargetReceivesFromTheStart) {
    // The port is both the local one and the target's.
    ASSERT_TRUE(session.openUdp(L"127.0.0.1", port));
    write("loop");
    // Sent to 127.0.0.1 on its own port: the session hears itself.
    ASSERT_TRUE(window.waitForCount(WM_SESSION_DATA, 1, 5s));
    EXPECT_EQ(drain(), "loop");
}

TEST_F(UdpSessionTest, AnEmptyDatagramOnlyUpdatesTheTarget) {
    ASSERT_TRUE(session.openUdp(L"", port));
    uint16_t peerPort = 0;
    Socket peer = test::bindUdp(peerPort);
    ASSERT_TRUE(test::sendDatagram(peer.get(), "", port));
    window.pumpFor(400ms);
    EXPECT_EQ(window.count(WM_SESSION_DATA), 0u);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 0u);
    EXPECT_EQ(session.queuedBytes(), 0u);
    EXPECT_FALSE(session.takeRxActivity());
    write("answer");
    const std::optional<test::Datagram> got = test::receiveDatagram(peer.get(), 5s);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(test::textOf(got->bytes), "answer");
}

TEST_F(UdpSessionTest, APortUnreachableAnswerDoesNotEndTheSession) {
    ASSERT_TRUE(session.openUdp(L"", port));
    uint16_t gonePort = 0;
    Socket gone = test::bindUdp(gonePort);
    deliverFrom(gone, "hello");
    gone.reset();
    write("into the void");  // answered with ICMP port unreachable
    write("and again");
    window.pumpFor(400ms);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 0u);
    EXPECT_TRUE(session.isOpen());

    uint16_t peerPort = 0;
    Socket peer = test::bindUdp(peerPort);
    drain();
    deliverFrom(peer, "still here");
    EXPECT_EQ(drain(), "still here");
}

TEST_F(UdpSessionTest, ADatagramLargerThanTheBufferArrivesCutAndKeepsTheLink) {
    ASSERT_TRUE(session.openUdp(L"", port));
    uint16_t peerPort = 0;
    Socket peer = test::bindUdp(peerPort);
    std::string big(3000, 'x');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(test::patternByte(i));
    deliverFrom(peer, big);
    const std::string got = drain();
    EXPECT_EQ(got, big.substr(0, 2048));
    window.pumpFor(300ms);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 0u);
    deliverFrom(peer, "next");
    EXPECT_EQ(drain(), "next");
}

TEST_F(UdpSessionTest, BroadcastTargetsAlsoAllowSharingThePort) {
    struct Case {
        const wchar_t* host;
        bool shared;
    };
    // 127.255.255.255 is the directed broadcast address of the loopback
    // interface; nothing is sent in this test.
    for (const Case& c : {Case{L"255.255.255.255", true}, Case{L"127.255.255.255", true},
                          Case{L"127.0.0.1", false}, Case{L"", false}, Case{L"x..y", false}}) {
        SCOPED_TRACE(std::string(c.host, c.host + wcslen(c.host)));
        ASSERT_TRUE(session.openUdp(c.host, port));
        EXPECT_NE(NetSessionProbe::option(session, SOL_SOCKET, SO_BROADCAST), 0);
        EXPECT_EQ(NetSessionProbe::option(session, SOL_SOCKET, SO_REUSEADDR) != 0, c.shared);
        session.close();
    }
}

TEST(BroadcastTarget, TheInterfaceTableOfThisMachineIsConsulted) {
    EXPECT_TRUE(isBroadcastTarget(ipv4("255.255.255.255")));
    EXPECT_TRUE(isBroadcastTarget(ipv4("127.255.255.255")));
    EXPECT_FALSE(isBroadcastTarget(ipv4("127.0.0.1")));
    EXPECT_FALSE(isBroadcastTarget(ipv4("127.0.0.255")));
    EXPECT_FALSE(isBroadcastTarget(ipv4("0.0.0.0")));
}

TEST_F(UdpSessionTest, ABusyPortCannotBeBound) {
    Socket everywhere(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(port);
    ASSERT_EQ(bind(everywhere.get(), reinterpret_cast<const sockaddr*>(&any), sizeof(any)), 0);
    EXPECT_FALSE(session.openUdp(L"", port));
    EXPECT_EQ(session.lastError(), L"bind to UDP port " + std::to_wstring(port) + L" failed");
    EXPECT_FALSE(session.isOpen());
}

TEST(SocketErrorText, NamesTheStepAndTheThreadsWinsockError) {
    WSASetLastError(WSAEAFNOSUPPORT);
    EXPECT_EQ(socketErrorText(L"socket"), L"socket failed (10047)");
    WSASetLastError(0);
    EXPECT_EQ(socketErrorText(L"bind"), L"bind failed (0)");
}

}  // namespace
}  // namespace orvane
