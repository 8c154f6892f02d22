#include "../threadless_session.h"
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
using Clock = std::chrono::steady_clock;

struct TcpFamily {
    int family;
    const wchar_t* host;
};

class TcpSessionFamilies : public ::testing::TestWithParam<TcpFamily> {};

TEST_P(TcpSessionFamilies, BytesTravelBothWaysAndArriveAsPostedChunks) {
    uint16_t port = 0;
    Socket listener = test::listenTcp(GetParam().family, port);
    ASSERT_TRUE(listener.valid());
    MessageWindow window;
    NetSession session;
    session.setNotifyTarget(window.target(), WM_SESSION_DATA, WM_SESSION_CLOSED);
    ASSERT_TRUE(session.connectTcp(GetParam().host, port));
    Socket peer = test::acceptWithin(listener.get(), 5s);
    ASSERT_TRUE(peer.valid());
    EXPECT_TRUE(session.isOpen());
    EXPECT_NE(NetSessionProbe::option(session, IPPROTO_TCP, TCP_NODELAY), 0);

    ASSERT_TRUE(test::sendAll(peer.get(), "ping", 4));
    ASSERT_TRUE(window.waitForCount(WM_SESSION_DATA, 1, 5s));
    EXPECT_EQ(test::drainedText(session), "ping");
    EXPECT_TRUE(session.takeRxActivity());
    session.write(reinterpret_cast<const uint8_t*>("pong"), 4);
    EXPECT_TRUE(session.takeTxActivity());
    EXPECT_EQ(test::textOf(test::receiveBytes(peer.get(), 4, 5s)), "pong");

    // The peer closes: reported once, and the session stays open until closed.
    ASSERT_TRUE(test::sendAll(peer.get(), "bye", 3));
    peer.reset();
    test::expectLinkLostOnce(window, session, "bye");
}

INSTANTIATE_TEST_SUITE_P(Loopback, TcpSessionFamilies,
                         ::testing::Values(TcpFamily{AF_INET, L"127.0.0.1"}, TcpFamily{AF_INET6, L"::1"},
                                           TcpFamily{AF_INET, L"localhost"}));

TEST(TcpSession, TheFirstAddressThatAcceptsIsTakenAfterOneThatRefuses) {
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port);
    ASSERT_TRUE(listener.valid());
    // ::1 on the same port refuses: only the IPv4 address listens.
    test::Endpoint endpoints[] = {test::loopback(AF_INET6, port), test::loopback(AF_INET, port)};
    ADDRINFOW addresses[2] = {};
    for (int i = 0; i < 2; ++i) {
        addresses[i].ai_family = endpoints[i].address.ss_family;
        addresses[i].ai_socktype = SOCK_STREAM;
        addresses[i].ai_protocol = IPPROTO_TCP;
        addresses[i].ai_addrlen = static_cast<size_t>(endpoints[i].length);
        addresses[i].ai_addr = reinterpret_cast<sockaddr*>(&endpoints[i].address);
    }
    addresses[0].ai_next = &addresses[1];
    Socket connected(connectFirstReachable(&addresses[0]));
    ASSERT_TRUE(connected.valid());
    sockaddr_storage peerAddress{};
    int length = sizeof(peerAddress);
    ASSERT_EQ(getpeername(connected.get(), reinterpret_cast<sockaddr*>(&peerAddress), &length), 0);
    EXPECT_EQ(peerAddress.ss_family, AF_INET);

    addresses[0].ai_next = nullptr;
    EXPECT_EQ(connectFirstReachable(&addresses[0]), INVALID_SOCKET);
}

TEST(TcpSession, CloseStopsTheReaderWithoutAClosedMessage) {
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port);
    MessageWindow window;
    NetSession session;
    session.setNotifyTarget(window.target(), WM_SESSION_DATA, WM_SESSION_CLOSED);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(session.connectTcp(L"127.0.0.1", port));
        Socket peer = test::acceptWithin(listener.get(), 5s);
        window.pumpFor(20ms);
        // The reader waits in select; it notices the request within 200 ms.
        const auto start = Clock::now();
        session.close();
        EXPECT_LT(Clock::now() - start, 600ms);
        EXPECT_FALSE(session.isOpen());
    }
    window.pumpFor(100ms);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 0u);
}

TEST(TcpSession, FailuresToConnectAreNamedAndAClosedSessionIgnoresWrites) {
    NetSession session;
    EXPECT_FALSE(session.connectTcp(L"", 5000));
    EXPECT_EQ(session.lastError(), L"no address specified");
    // No label may be empty, so this fails before any name server is asked.
    EXPECT_FALSE(session.connectTcp(L"x..y", 5000));
    EXPECT_EQ(session.lastError(), L"cannot resolve x..y");
    const uint16_t closed = test::unusedPort(SOCK_STREAM);
    EXPECT_FALSE(session.connectTcp(L"127.0.0.1", closed));
    EXPECT_EQ(session.lastError(), L"connect to 127.0.0.1:" + std::to_wstring(closed) + L" failed");
    EXPECT_FALSE(session.isOpen());
    session.write(reinterpret_cast<const uint8_t*>("x"), 1);
    EXPECT_FALSE(session.takeTxActivity());
}

TEST(TcpSession, ConnectingGivesUpAfterFiveSecondsWithoutAnswer) {
    // A listener whose backlog is full drops further handshakes unanswered.
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port, 0);
    std::vector<Socket> fillers;
    const test::Endpoint target = test::loopback(AF_INET, port);
    for (bool answered = true; answered && fillers.size() < 8;) {
        Socket filler(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        u_long nonBlocking = 1;
        ioctlsocket(filler.get(), FIONBIO, &nonBlocking);
        connect(filler.get(), reinterpret_cast<const sockaddr*>(&target.address), target.length);
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(filler.get(), &writable);
        timeval wait{0, 300000};
        answered = select(0, nullptr, &writable, nullptr, &wait) > 0;
        fillers.push_back(std::move(filler));
    }
    NetSession session;
    const auto start = Clock::now();
    EXPECT_FALSE(session.connectTcp(L"127.0.0.1", port));
    const auto took = Clock::now() - start;
    EXPECT_EQ(session.lastError(), L"connect to 127.0.0.1:" + std::to_wstring(port) + L" failed");
    EXPECT_GE(took, 4900ms);
    EXPECT_LT(took, 7s);
}

TEST(TcpSession, AReaderThatCannotStartFailsTheConnectAndReleasesTheSocket) {
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port);
    test::ThreadlessSession<NetSession> session;
    EXPECT_FALSE(session.connectTcp(L"127.0.0.1", port));
    EXPECT_EQ(session.lastError(), L"cannot start reader thread");
    EXPECT_FALSE(session.isOpen());
    // The peer sees the connection closed again.
    Socket peer = test::acceptWithin(listener.get(), 5s);
    ASSERT_TRUE(peer.valid());
    EXPECT_TRUE(test::receiveBytes(peer.get(), 1, 2s).empty());
}

}  // namespace
}  // namespace orvane
