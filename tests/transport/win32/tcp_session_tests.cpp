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

const uint8_t* bytesOf(const char* text) {
    return reinterpret_cast<const uint8_t*>(text);
}

std::string drainText(NetSession& session) {
    std::vector<uint8_t> out;
    session.drainReceived(out);
    return test::textOf(out);
}

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
    ASSERT_TRUE(session.connectTcp(GetParam().host, port)) << std::string(session.lastError().begin(), session.lastError().end());
    Socket peer = test::acceptWithin(listener.get(), 5s);
    ASSERT_TRUE(peer.valid());
    EXPECT_TRUE(session.isOpen());
    EXPECT_NE(NetSessionProbe::option(session, IPPROTO_TCP, TCP_NODELAY), 0);

    ASSERT_TRUE(test::sendAll(peer.get(), "ping", 4));
    ASSERT_TRUE(window.waitForCount(WM_SESSION_DATA, 1, 5s));
    EXPECT_EQ(drainText(session), "ping");
    EXPECT_TRUE(session.takeRxActivity());
    EXPECT_FALSE(session.takeRxActivity());

    session.write(bytesOf("pong"), 4);
    EXPECT_TRUE(session.takeTxActivity());
    EXPECT_EQ(test::textOf(test::receiveBytes(peer.get(), 4, 5s)), "pong");
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 0u);
}

INSTANTIATE_TEST_SUITE_P(Loopback, TcpSessionFamilies,
                         ::testing::Values(TcpFamily{AF_INET, L"127.0.0.1"}, TcpFamily{AF_INET6, L"::1"},
                                           TcpFamily{AF_INET, L"localhost"}));

TEST(TcpSession, TheFirstAddressThatAcceptsIsTakenAfterOneThatRefuses) {
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port);
    ASSERT_TRUE(listener.valid());
    // ::1 on the same port refuses: only the IPv4 address listens.
    test::Endpoint refusing = test::loopback(AF_INET6, port);
    test::Endpoint accepting = test::loopback(AF_INET, port);
    ADDRINFOW second{};
    second.ai_family = AF_INET;
    second.ai_socktype = SOCK_STREAM;
    second.ai_protocol = IPPROTO_TCP;
    second.ai_addrlen = static_cast<size_t>(accepting.length);
    second.ai_addr = reinterpret_cast<sockaddr*>(&accepting.address);
    ADDRINFOW first = second;
    first.ai_family = AF_INET6;
    first.ai_addrlen = static_cast<size_t>(refusing.length);
    first.ai_addr = reinterpret_cast<sockaddr*>(&refusing.address);
    first.ai_next = &second;

    Socket connected(connectFirstReachable(&first));
    ASSERT_TRUE(connected.valid());
    sockaddr_storage peerAddress{};
    int length = sizeof(peerAddress);
    ASSERT_EQ(getpeername(connected.get(), reinterpret_cast<sockaddr*>(&peerAddress), &length), 0);
    EXPECT_EQ(peerAddress.ss_family, AF_INET);

    first.ai_next = nullptr;
    EXPECT_EQ(connectFirstReachable(&first), INVALID_SOCKET);
}

TEST(TcpSession, TheLinkClosedByThePeerIsReportedOnceAndTheSessionStaysOpen) {
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port);
    MessageWindow window;
    NetSession session;
    session.setNotifyTarget(window.target(), WM_SESSION_DATA, WM_SESSION_CLOSED);
    ASSERT_TRUE(session.connectTcp(L"127.0.0.1", port));
    Socket peer = test::acceptWithin(listener.get(), 5s);
    ASSERT_TRUE(test::sendAll(peer.get(), "bye", 3));
    peer.reset();

    ASSERT_TRUE(window.waitForCount(WM_SESSION_CLOSED, 1, 5s));
    window.pumpFor(300ms);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 1u);
    EXPECT_TRUE(session.isOpen());
    EXPECT_EQ(drainText(session), "bye");
    session.close();
    EXPECT_FALSE(session.isOpen());
    window.pumpFor(50ms);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 1u);
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
        const auto took = Clock::now() - start;
        EXPECT_LT(took, 600ms);
        EXPECT_FALSE(session.isOpen());
    }
    window.pumpFor(100ms);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 0u);
}

TEST(TcpSession, FailuresToConnectAreNamed) {
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
}

TEST(TcpSession, ConnectingGivesUpAfterFiveSecondsWithoutAnswer) {
    // A listener whose backlog is full drops further handshakes unanswered.
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port, 0);
    std::vector<Socket> fillers;
    const test::Endpoint target = test::loopback(AF_INET, port);
    for (int i = 0; i < 8; ++i) {
        Socket filler(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        u_long nonBlocking = 1;
        ioctlsocket(filler.get(), FIONBIO, &nonBlocking);
        connect(filler.get(), reinterpret_cast<const sockaddr*>(&target.address), target.length);
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(filler.get(), &writable);
        timeval wait{0, 300000};
        const bool answered = select(0, nullptr, &writable, nullptr, &wait) > 0;
        fillers.push_back(std::move(filler));
        if (!answered) break;
    }
    NetSession session;
    const auto start = Clock::now();
    EXPECT_FALSE(session.connectTcp(L"127.0.0.1", port));
    const auto took = Clock::now() - start;
    EXPECT_EQ(session.lastError(), L"connect to 127.0.0.1:" + std::to_wstring(port) + L" failed");
    EXPECT_GE(took, 4900ms);
    EXPECT_LT(took, 7s);
}

TEST(TcpSession, TenMebibytesArriveCompleteAndInOrder) {
    constexpr uint64_t kTotal = 10u << 20;
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port);
    test::PatternSender sender(listener.get(), kTotal);
    MessageWindow window;
    NetSession session;
    session.setNotifyTarget(window.target(), WM_SESSION_DATA, WM_SESSION_CLOSED);

    uint64_t received = 0;
    bool inOrder = true;
    std::vector<uint8_t> out;
    window.onMessage = [&](UINT message) {
        if (message != WM_SESSION_DATA) return;
        const int n = session.drainReceived(out);
        inOrder = inOrder && test::matchesPattern(out.data(), out.size(), received);
        received += static_cast<uint64_t>(n);
    };
    ASSERT_TRUE(session.connectTcp(L"127.0.0.1", port));
    const auto start = Clock::now();
    EXPECT_TRUE(window.pumpUntil([&] { return received >= kTotal || !inOrder; }, 60s));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(received, kTotal);
    // One post per chunk, and a chunk holds at most 2048 bytes.
    EXPECT_GE(window.count(WM_SESSION_DATA), kTotal / 2048);
    RecordProperty("seconds", std::to_string(seconds));
    session.close();
}

TEST(TcpSession, WritingWhileClosedDoesNothing) {
    NetSession session;
    session.write(bytesOf("x"), 1);
    EXPECT_FALSE(session.takeTxActivity());
    EXPECT_FALSE(session.isOpen());
    std::vector<uint8_t> out{1, 2};
    EXPECT_EQ(session.drainReceived(out), 0);
    EXPECT_TRUE(out.empty());
    session.close();
    session.close();
}

class ThreadlessNetSession : public NetSession {
protected:
    std::thread spawnReaderThread(std::function<void()>) override {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};

TEST(TcpSession, AReaderThatCannotStartFailsTheConnectAndReleasesTheSocket) {
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port);
    ThreadlessNetSession session;
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
