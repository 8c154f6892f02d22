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
using test::Socket;

class UdpSessionTest : public ::testing::Test {
protected:
    void SetUp() override { session.setNotifyTarget(window.target(), WM_SESSION_DATA, WM_SESSION_CLOSED); }

    void write(const std::string& text) { session.write(reinterpret_cast<const uint8_t*>(text.data()), text.size()); }
    // A peer datagram, waited for until the session has queued it.
    void deliverFrom(const Socket& peer, const std::string& text) {
        const size_t before = window.count(WM_SESSION_DATA);
        ASSERT_TRUE(test::sendDatagram(peer.get(), text, port));
        ASSERT_TRUE(window.waitForCount(WM_SESSION_DATA, before + 1, 5s));
    }
    // The next datagram the peer gets, as text.
    static std::string answerTo(const Socket& peer, std::chrono::milliseconds timeout = 5s) {
        const std::optional<test::Datagram> got = test::receiveDatagram(peer.get(), timeout);
        return got ? test::textOf(got->bytes) : "<none>";
    }

    test::MessageWindow window;
    NetSession session;
    const uint16_t port = test::unusedPort(SOCK_DGRAM);
    uint16_t peerPorts[2] = {};
    Socket peers[2] = {test::bindUdp(peerPorts[0]), test::bindUdp(peerPorts[1])};
};

TEST_F(UdpSessionTest, WithoutATargetItListensAndThenAnswersWhoeverSentLast) {
    ASSERT_TRUE(session.openUdp(L"", port));
    write("nobody");
    EXPECT_FALSE(session.takeTxActivity());  // dropped: no target yet

    deliverFrom(peers[0], "from a");
    EXPECT_EQ(test::drainedText(session), "from a");
    EXPECT_TRUE(session.takeRxActivity());
    write("to a");
    EXPECT_TRUE(session.takeTxActivity());
    const std::optional<test::Datagram> got = test::receiveDatagram(peers[0].get(), 5s);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(test::textOf(got->bytes), "to a");
    EXPECT_EQ(got->fromPort, port);  // sent from the listening port

    // An empty datagram changes nothing but the target.
    ASSERT_TRUE(test::sendDatagram(peers[1].get(), "", port));
    window.pumpFor(400ms);
    EXPECT_EQ(session.queuedBytes(), 0u);
    EXPECT_FALSE(session.takeRxActivity());
    write("to b");
    EXPECT_EQ(answerTo(peers[1]), "to b");
    EXPECT_EQ(answerTo(peers[0], 100ms), "<none>");
    EXPECT_EQ(window.count(WM_SESSION_DATA), 1u);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 0u);
}

TEST_F(UdpSessionTest, AGivenTargetReceivesFromTheStart) {
    // The port is both the local one and the target's: the session hears itself.
    ASSERT_TRUE(session.openUdp(L"127.0.0.1", port));
    write("loop");
    ASSERT_TRUE(window.waitForCount(WM_SESSION_DATA, 1, 5s));
    EXPECT_EQ(test::drainedText(session), "loop");
}

TEST_F(UdpSessionTest, NeitherAPortUnreachableAnswerNorAnOversizedDatagramEndsTheSession) {
    ASSERT_TRUE(session.openUdp(L"", port));
    uint16_t gonePort = 0;
    Socket gone = test::bindUdp(gonePort);
    deliverFrom(gone, "hello");
    gone.reset();
    write("into the void");  // answered with ICMP port unreachable
    write("and again");

    std::string big(3000, 'x');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(test::patternByte(i));
    deliverFrom(peers[0], big);
    window.pumpFor(400ms);
    EXPECT_EQ(test::drainedText(session), "hello" + big.substr(0, 2048));  // cut to the buffer
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 0u);
    EXPECT_TRUE(session.isOpen());
    deliverFrom(peers[1], "still here");
    EXPECT_EQ(test::drainedText(session), "still here");
}

TEST_F(UdpSessionTest, BroadcastTargetsAlsoAllowSharingThePort) {
    // 127.255.255.255 is the directed broadcast address of the loopback
    // interface; nothing is sent in this test.
    for (const auto& [host, shared] : {std::pair{L"255.255.255.255", true}, {L"127.255.255.255", true},
                                       {L"127.0.0.1", false}, {L"", false}, {L"x..y", false}}) {
        ASSERT_TRUE(session.openUdp(host, port));
        EXPECT_NE(NetSessionProbe::option(session, SOL_SOCKET, SO_BROADCAST), 0);
        EXPECT_EQ(NetSessionProbe::option(session, SOL_SOCKET, SO_REUSEADDR) != 0, shared) << host;
        session.close();
    }
}

TEST(BroadcastTarget, TheInterfaceTableOfThisMachineIsConsulted) {
    for (const auto& [text, broadcast] : {std::pair{"255.255.255.255", true}, {"127.255.255.255", true},
                                          {"127.0.0.1", false}, {"127.0.0.255", false}, {"0.0.0.0", false}}) {
        in_addr address{};
        inet_pton(AF_INET, text, &address);
        EXPECT_EQ(isBroadcastTarget(address.s_addr), broadcast) << text;
    }
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
}

}  // namespace
}  // namespace orvane
